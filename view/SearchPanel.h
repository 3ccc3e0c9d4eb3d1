#pragma once

#include "core/DiarySearch.h"
#include "framework/Dialog.h"
#include "res/resource.h"

#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

class COrvikCalendarView;

// Search All: a modeless window beside the main window with a text box, the
// Match case and Whole word boxes and a list of every line that holds the
// text, searched as the user types. Enter or a double click on a row shows
// its day with the match selected; the panel stays open. Closing only hides
// it, with its text and list.
class CSearchPanel : public CDialogImpl<CSearchPanel> {
  public:
    static constexpr int kDialogId = IDD_SEARCH_ALL;
    // The wait before a search: for a pause in the typing of a short text,
    // and after the document's last change.
    static const UINT_PTR kPauseTimer = 1;

    explicit CSearchPanel(COrvikCalendarView& view) : view(view) {}

    // Opens the panel, or brings it forward, with its text selected for typing over.
    void Open(HWND frame);
    // The panel's window while it is shown, else null.
    HWND Shown() const;
    // Takes the cells' font again, as after a change of the screen's DPI.
    void TakeViewFont();
    // Called when the program is idle: while shown, the list follows the
    // document, searched again a moment after its last change (each change
    // waits anew, so that typing in a cell stays instant).
    void FollowDocument();
    // The hits as the list shows them, top row first.
    const SearchHit& HitOfRow(int row) const;
    int RowCount() const { return static_cast<int>(hits.size()); }

    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  private:
    void OnInitDialog();
    void OnCommand(WORD id, WORD notification);
    LRESULT OnNotify(const NMHDR& header);
    void OnTextChanged();
    void Search();
    void ShowRow(int row);
    void FillCell(NMLVDISPINFOA& request) const;
    void SortBy(bool newest);
    void Layout(int width, int height);
    void PlaceBesideFrame(HWND frame);
    HWND List() const { return GetDlgItem(window, IDC_SEARCH_HITS); }

    COrvikCalendarView& view;
    DiarySearch search;
    std::vector<SearchHit> hits;   // oldest first
    std::vector<std::size_t> rows; // the hit of each row
    bool newestFirst = true;
    std::uint64_t searchedEdits = 0; // the document's, when the list was last made or waited for
};
