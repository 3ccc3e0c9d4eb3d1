#include "view/SearchPanel.h"

#include "framework/AccessibleObject.h"
#include "framework/WindowText.h"
#include "res/MessageTexts.h"
#include "view/OrvikCalendarView.h"

#include <algorithm>

namespace {

// Short texts match much of a large diary: they wait for a pause in the typing.
const std::size_t kCharactersSearchedAtOnce = 3;
const UINT kPauseMs = 400;

std::size_t CharacterCount(const std::string& text) {
    // Every byte but the continuation bytes of UTF-8 begins a character.
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

RECT RectInParent(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

} // namespace

void CSearchPanel::Open(HWND frame) {
    if (!window) {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        if (!Create(frame))
            return;
        PlaceBesideFrame(frame);
    }
    ShowWindow(window, SW_SHOW);
    SetActiveWindow(window);
    // The dialog's way of focusing its text box with the text selected.
    SendMessageA(window, WM_NEXTDLGCTL,
                 reinterpret_cast<WPARAM>(GetDlgItem(window, IDC_SEARCH_TEXT)), TRUE);
}

HWND CSearchPanel::Shown() const {
    return window && IsWindowVisible(window) ? window : nullptr;
}

const SearchHit& CSearchPanel::HitOfRow(int row) const {
    return hits[rows[static_cast<std::size_t>(row)]];
}

bool CSearchPanel::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                        LRESULT& result) {
    result = 0;
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        result = TRUE;
        return true;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return true;
    case WM_NOTIFY:
        result = OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        return true;
    case WM_TIMER:
        if (wParam != kPauseTimer)
            return false;
        Search();
        return true;
    case WM_SIZE:
        Layout(LOWORD(lParam), HIWORD(lParam));
        return true;
    default:
        return false;
    }
}

void CSearchPanel::TakeViewFont() {
    // Borrowed from a cell: the view owns it, and frees it at the next DPI change.
    const WPARAM font = static_cast<WPARAM>(SendMessageA(view.cells[0].window, WM_GETFONT, 0, 0));
    if (!window || !font)
        return;
    SendMessageA(List(), WM_SETFONT, font, TRUE);
    SendDlgItemMessageA(window, IDC_SEARCH_TEXT, WM_SETFONT, font, TRUE);
}

void CSearchPanel::OnInitDialog() {
    HWND list = List();
    // Our notifications are read as UTF-8 texts, like every text of the program.
    ListView_SetUnicodeFormat(list, FALSE);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP);
    NameControl(list, ORVIK_NAME_SEARCH_HITS);
    TakeViewFont();
    RECT client;
    GetClientRect(list, &client);
    const char* titles[] = {ORVIK_COLUMN_DATE, ORVIK_COLUMN_LINE};
    for (int column = 0; column < 2; ++column) {
        LVCOLUMNA description{};
        description.mask = LVCF_TEXT | LVCF_WIDTH;
        description.pszText = const_cast<char*>(titles[column]);
        description.cx = column == 0 ? client.right * 2 / 5 : client.right * 3 / 5;
        ListView_InsertColumn(list, column, &description);
    }
    SortBy(newestFirst);
}

void CSearchPanel::OnCommand(WORD id, WORD notification) {
    switch (id) {
    case IDC_SEARCH_TEXT:
        if (notification == EN_CHANGE)
            OnTextChanged();
        break;
    case IDC_SEARCH_MATCH_CASE:
    case IDC_SEARCH_WHOLE_WORD:
        if (notification == BN_CLICKED)
            Search();
        break;
    case IDOK: {
        // Enter: the chosen row, else the first.
        const int chosen = ListView_GetNextItem(List(), -1, LVNI_SELECTED);
        ShowRow(chosen >= 0 ? chosen : 0);
        break;
    }
    case IDCANCEL:
        ShowWindow(window, SW_HIDE);
        break;
    default:
        break;
    }
}

LRESULT CSearchPanel::OnNotify(const NMHDR& header) {
    if (header.idFrom != IDC_SEARCH_HITS)
        return 0;
    switch (header.code) {
    case LVN_GETDISPINFOA:
        FillCell(*reinterpret_cast<NMLVDISPINFOA*>(const_cast<NMHDR*>(&header)));
        break;
    case NM_DBLCLK:
        ShowRow(reinterpret_cast<const NMITEMACTIVATE&>(header).iItem);
        break;
    case LVN_COLUMNCLICK:
        if (reinterpret_cast<const NMLISTVIEW&>(header).iSubItem == 0)
            SortBy(!newestFirst);
        break;
    default:
        break;
    }
    return 0;
}

void CSearchPanel::FollowDocument() {
    if (!Shown() || view.document->Edits() == searchedEdits)
        return;
    searchedEdits = view.document->Edits();
    SetTimer(window, kPauseTimer, kPauseMs, nullptr);
}

void CSearchPanel::OnTextChanged() {
    KillTimer(window, kPauseTimer);
    const std::string text = WindowText(GetDlgItem(window, IDC_SEARCH_TEXT));
    if (text.empty() || CharacterCount(text) >= kCharactersSearchedAtOnce)
        Search();
    else
        SetTimer(window, kPauseTimer, kPauseMs, nullptr);
}

void CSearchPanel::Search() {
    KillTimer(window, kPauseTimer);
    FindRequest request;
    request.text = WindowText(GetDlgItem(window, IDC_SEARCH_TEXT));
    request.matchCase = IsDlgButtonChecked(window, IDC_SEARCH_MATCH_CASE) == BST_CHECKED;
    request.wholeWord = IsDlgButtonChecked(window, IDC_SEARCH_WHOLE_WORD) == BST_CHECKED;
    // What is still in a cell counts too.
    view.CollectCells();
    searchedEdits = view.document->Edits();
    hits = search.FindAll(view.document->Store(), request);
    rows = RowOrder(hits, newestFirst);
    ListView_SetItemCountEx(List(), static_cast<int>(hits.size()), 0);
    ListView_SetItemState(List(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    InvalidateRect(List(), nullptr, TRUE);
    const std::string caption = request.text.empty() ? std::string(ORVIK_SEARCH_ALL_CAPTION)
                                                     : std::string(ORVIK_SEARCH_ALL_CAPTION " - ") +
                                                           std::to_string(hits.size());
    SetWindowTextA(window, caption.c_str());
}

void CSearchPanel::ShowRow(int row) {
    if (row < 0 || row >= RowCount())
        return;
    // The diary may have changed since the list was made: the line is found
    // again where it stands now.
    const SearchHit chosen = HitOfRow(row);
    Search();
    int found = -1;
    for (int again = 0; again < RowCount(); ++again) {
        const SearchHit& hit = HitOfRow(again);
        if (hit.day == chosen.day && hit.line == chosen.line &&
            (found < 0 || hit.start == chosen.start))
            found = again;
    }
    if (found < 0) {
        SetWindowTextA(window, ORVIK_SEARCH_LINE_GONE);
        return;
    }
    ListView_SetItemState(List(), found, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(List(), found, FALSE);
    const SearchHit& hit = HitOfRow(found);
    view.ShowSelected(hit.day, hit.start, hit.start + hit.length);
}

void CSearchPanel::FillCell(NMLVDISPINFOA& request) const {
    if (!(request.item.mask & LVIF_TEXT) || request.item.iItem < 0 ||
        request.item.iItem >= RowCount())
        return;
    const SearchHit& hit = HitOfRow(request.item.iItem);
    const std::string text = request.item.iSubItem == 0 ? hit.day.Format(3) : hit.line;
    lstrcpynA(request.item.pszText, text.c_str(), request.item.cchTextMax);
}

void CSearchPanel::SortBy(bool newest) {
    newestFirst = newest;
    rows = RowOrder(hits, newestFirst);
    HWND header = ListView_GetHeader(List());
    HDITEMA column{};
    column.mask = HDI_FORMAT;
    Header_GetItem(header, 0, &column);
    column.fmt = (column.fmt & ~(HDF_SORTUP | HDF_SORTDOWN)) | (newest ? HDF_SORTDOWN : HDF_SORTUP);
    Header_SetItem(header, 0, &column);
    ListView_SetItemState(List(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    InvalidateRect(List(), nullptr, TRUE);
}

void CSearchPanel::Layout(int width, int height) {
    RECT margin{6, 6, 0, 0}; // dialog units, as in the template
    MapDialogRect(window, &margin);
    HWND text = GetDlgItem(window, IDC_SEARCH_TEXT);
    const RECT box = RectInParent(text);
    SetWindowPos(text, nullptr, 0, 0, std::max(0L, width - margin.left - box.left),
                 box.bottom - box.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT list = RectInParent(List());
    SetWindowPos(List(), nullptr, 0, 0, std::max(0L, width - margin.left - list.left),
                 std::max(0L, height - margin.top - list.top),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CSearchPanel::PlaceBesideFrame(HWND frame) {
    RECT main, own;
    GetWindowRect(frame, &main);
    GetWindowRect(window, &own);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(frame, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const int width = own.right - own.left, height = own.bottom - own.top;
    // At the right of the main window, else at its left, else inside the
    // work area's right edge.
    int x = main.right;
    if (x + width > work.right)
        x = main.left - width;
    if (x < work.left)
        x = work.right - width;
    const int y =
        std::max(static_cast<int>(work.top),
                 std::min(static_cast<int>(main.top), static_cast<int>(work.bottom) - height));
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
