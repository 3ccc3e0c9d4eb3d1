#include "shell/MainFrame.h"

#include "framework/AppModule.h"

#include "core/Dpi.h"
#include "core/Now.h"
#include "framework/Dpi.h"
#include "framework/RegisteredMessages.h"
#include "res/MessageTexts.h"
#include "res/RegistryNames.h"
#include "shell/AboutDlg.h"
#include "shell/AppFolders.h"
#include "shell/FrameImages.h"
#include "shell/InstanceMessage.h"
#include "shell/OptionsDialog.h"
#include "shell/Preview.h"
#include "shell/ShellOpen.h"
#include "shell/SyncDialog.h"
#include "shell/Texts.h"
#include "storage/Registry.h"
#include "storage/SettingsStore.h"
#include <windowsx.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

const ToolBarButton kToolBarButtons[] = {
    {ID_FILE_NEW},   {ID_FILE_OPEN},
    {ID_FILE_SAVE},  {0},
    {ID_EDIT_CUT},   {ID_EDIT_COPY},
    {ID_EDIT_PASTE}, {0},
    {ID_PREVIEW},    {0},
    {ID_OPTIONS},    {0},
    {ID_APP_ABOUT},
};

const int kToolBarBand = ID_FIRST_BAND + 1;

struct DayMoveCommand {
    int command;
    DayMove move;
};
const DayMoveCommand kDayMoveCommands[] = {
    {ID_GO_PREVIOUS_DAY, DayMove::PreviousDay},     {ID_GO_NEXT_DAY, DayMove::NextDay},
    {ID_GO_PREVIOUS_WEEK, DayMove::PreviousWeek},   {ID_GO_NEXT_WEEK, DayMove::NextWeek},
    {ID_GO_PREVIOUS_MONTH, DayMove::PreviousMonth}, {ID_GO_NEXT_MONTH, DayMove::NextMonth},
    {ID_GO_PREVIOUS_YEAR, DayMove::PreviousYear},   {ID_GO_NEXT_YEAR, DayMove::NextYear},
};

// Commands that edit text: in the find dialog its own text field takes
// these keys.
bool EditsText(int command) {
    switch (command) {
    case ID_EDIT_UNDO:
    case ID_EDIT_CUT:
    case ID_EDIT_COPY:
    case ID_EDIT_PASTE:
    case ID_EDIT_CLEAR:
    case ID_EDIT_SELECT_ALL:
        return true;
    default:
        return false;
    }
}

// The frame's keys without those that edit text.
HACCEL CreateFindDialogAccelerators(HACCEL frameKeys) {
    std::vector<ACCEL> keys(static_cast<std::size_t>(CopyAcceleratorTableA(frameKeys, nullptr, 0)));
    CopyAcceleratorTableA(frameKeys, keys.data(), static_cast<int>(keys.size()));
    keys.erase(std::remove_if(keys.begin(), keys.end(),
                              [](const ACCEL& key) { return EditsText(key.cmd); }),
               keys.end());
    return CreateAcceleratorTableA(keys.data(), static_cast<int>(keys.size()));
}
// Posted at creation, so that a report of a missing diary stands in front of
// the window that is shown by then.
const UINT kOpenLastDocumentMessage = WM_APP + 1;
// Posted at activation: the outside-change check runs once the activation
// is done and the focus is back in a cell, whose date would otherwise
// replace the status bar's report of a reload at once.
const UINT kTakeOutsideChangeMessage = WM_APP + 2;
const WPARAM kExitRequest = 1; // a close that MinimizeOnClose must not turn into hiding
// The recovery file is written this long after the last change: often
// enough that little is lost, not so often that typing waits for the disk.
const UINT kRecoveryDelayMs = 3000;

} // namespace

CMainFrame::~CMainFrame() {
    // The window and its children go while every member is still there.
    if (IsWindow())
        DestroyWindow(window);
    if (loop) {
        loop->RemoveIdleHandler(this);
        loop->RemoveMessageFilter(this);
    }
}

BOOL CMainFrame::PreTranslateMessage(MSG* message) {
    // The modeless find dialog and the search panel get their own keys (Tab,
    // Enter, Escape), and the frame's keys but those that edit their text
    // (Ctrl+S saves from there).
    for (HWND modeless : {view.find.Dialog(), searchPanel.window}) {
        if (modeless && (message->hwnd == modeless || IsChild(modeless, message->hwnd)))
            return (findDialogAccelerators &&
                    TranslateAcceleratorA(window, findDialogAccelerators.Get(), message)) ||
                   IsDialogMessageA(modeless, message);
    }
    if (commandBar.PreTranslateMessage(message))
        return TRUE;
    if (message->message == WM_MOUSEWHEEL && OnWheelInWindow(*message))
        return TRUE;
    if (accelerators && TranslateAcceleratorA(window, accelerators, message))
        return TRUE;
    // A middle click anywhere in the program shows today's month.
    if (message->message == WM_MBUTTONUP)
        selector.GoToday();
    return FALSE;
}

bool CMainFrame::OnWheelInWindow(const MSG& message) {
    if (message.hwnd != window && !IsChild(window, message.hwnd))
        return false;
    const POINT pointer{GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)};
    HWND under = WindowFromPoint(pointer);
    if (under != window && !IsChild(window, under))
        return false;
    // Over the focused cell whose text is taller than the cell, the wheel
    // scrolls that text.
    CMyEdit* cell = view.currentCell;
    if (cell && under == cell->window && GetFocus() == cell->window && cell->TextTallerThanCell()) {
        if (message.hwnd != under)
            PostMessageA(under, message.message, message.wParam, message.lParam);
        return message.hwnd != under;
    }
    OnMouseWheel(static_cast<short>(HIWORD(message.wParam)));
    return true;
}

BOOL CMainFrame::OnIdle() {
    // The first time the queue is empty the window is shown and painted,
    // and after the last diary was opened.
    if (!startFinished)
        FinishStart();
    UIEnable(ID_FILE_SAVE, document.IsModified());
    searchPanel.FollowDocument();
    sync.FollowDocument();
    // A change since the recovery file was kept: write it again a moment
    // after the typing stops (setting the timer again restarts it).
    if (document.Edits() != keptEdits)
        SetTimer(window, kRecoveryTimer, kRecoveryDelayMs, nullptr);
    UIUpdateToolBar();
    return FALSE;
}

bool CMainFrame::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (OnSystemMessage(message, wParam, lParam, result))
        return true;
    switch (message) {
    case kTakeOutsideChangeMessage:
        documents.WatchOutsideChange();
        return true;
    case kOpenLastDocumentMessage:
        documents.OpenLastDocument();
        return true;
    case CSyncController::kDoneMessage:
        sync.OnDone();
        return true;
    case WM_COMMAND:
        if (OnCommand(LOWORD(wParam), result))
            return true;
        break;
    case WM_CREATE:
        result = OnCreate();
        return true;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return true;
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
        // High contrast on or off, or other colours: the cells repaint.
        view.OnSystemColoursChanged();
        return false;
    case WM_ACTIVATE:
        OnActivate(LOWORD(wParam), reinterpret_cast<HWND>(lParam));
        return false; // the default handling gives the frame the focus
    case WM_SETFOCUS:
        view.RestoreFocus();
        return true;
    case WM_SHOWWINDOW:
        OnShowWindow(wParam != FALSE);
        return false;
    case WM_TIMER:
        if (OnTimer(wParam))
            return true;
        break;
    case WM_CLOSE:
        result = OnClose(wParam);
        return true;
    case WM_MOUSEWHEEL:
        OnMouseWheel(static_cast<short>(HIWORD(wParam)));
        return true;
    case WM_MBUTTONUP:
        selector.GoToday();
        return true;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_MINIMIZE) {
            tray.MinimiseToTray(window);
            return true;
        }
        // Without a window menu, Alt and Alt+letter reach the menu bar this way.
        if (commandBar.OnSysCommand(wParam, lParam))
            return true;
        break;
    case WM_INITMENUPOPUP:
        UIUpdateMenu(reinterpret_cast<HMENU>(wParam));
        return true;
    default:
        break;
    }
    return CFrameWindowImpl::ProcessWindowMessage(message, wParam, lParam, result);
}

bool CMainFrame::OnSystemMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == g_instanceMessage) {
        tray.MaximiseFromTray(window);
        result = static_cast<LRESULT>(g_instanceMessage); // the reply a starting copy waits for
        return true;
    }
    if (message == g_taskbarCreatedMessage) {
        tray.AddIconAgain();
        return true;
    }
    switch (message) {
    case CSystemTray::kCallbackMessage:
        OnTrayIcon(wParam, lParam);
        result = 0;
        return true;
    case WM_POWERBROADCAST:
        // Back from sleep: what fell due meanwhile is reminded at once.
        if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND)
            reminders.CheckNow();
        result = TRUE;
        return true;
    case WM_TIMECHANGE:
        reminders.CheckNow();
        return true;
    case WM_GETOBJECT:
        if (static_cast<LONG>(lParam) != CReminderController::kAlertObject)
            return false;
        result = reminders.AlertObject(wParam);
        return true;
    case WM_QUERYENDSESSION:
        // Never blocks the log-off: everything is kept first.
        OnEndSession();
        result = TRUE;
        return true;
    case WM_ENDSESSION:
        if (wParam)
            OnEndSession();
        return true;
    default:
        return false;
    }
}

void CMainFrame::OnTrayIcon(WPARAM id, LPARAM lParam) {
    // While a dialog of ours is modal, the icon brings that dialog forward
    // rather than acting behind it.
    const UINT mouse = LOWORD(lParam);
    if (!IsWindowEnabled(window) && (mouse == WM_LBUTTONUP || mouse == WM_RBUTTONUP)) {
        SetForegroundWindow(GetLastActivePopup(window));
        return;
    }
    tray.OnTrayNotification(id, lParam);
    if (id == CSystemTray::kIconId && mouse == WM_LBUTTONUP)
        reminders.OnIconClicked();
    if (id == CSystemTray::kIconId && mouse == NIN_BALLOONUSERCLICK)
        reminders.OnBalloonClicked();
}

bool CMainFrame::OnTimer(UINT_PTR timer) {
    switch (timer) {
    case CReminderController::kTimer:
        reminders.OnTimer();
        return true;
    case CSyncController::kTimer:
        sync.OnTimer();
        return true;
    case CDocumentCommands::kOutsideChangeTimer:
        documents.OnOutsideChangeTimer();
        return true;
    case kRecoveryTimer:
        KillTimer(window, kRecoveryTimer);
        KeepRecovery();
        return true;
    default:
        return false;
    }
}

bool CMainFrame::OnCommand(int command, LRESULT& result) {
    result = 0;
    if (reminders.OnCommand(command) || Forward(command))
        return true;
    if (command >= ID_FILE_MRU_FIRST && command <= ID_FILE_MRU_LAST) {
        documents.OpenRecent(command);
        return true;
    }
    for (const DayMoveCommand& go : kDayMoveCommands) {
        if (go.command == command) {
            view.MoveFocus(go.move);
            return true;
        }
    }
    switch (command) {
    // The two whose outcome a caller may ask for.
    case ID_FILE_SAVE_AS:
        result = documents.SaveAs();
        return true;
    case ID_FILE_SAVE:
        result = documents.Save();
        return true;
    default:
        return false;
    }
}

bool CMainFrame::Forward(int command) {
    using Run = void (*)(CMainFrame&);
    static const struct {
        int command;
        Run run;
    } forwards[] = {
        {ID_APP_EXIT, [](CMainFrame& frame) { frame.OnFileExit(); }},
        {ID_FILE_NEW, [](CMainFrame& frame) { frame.documents.New(); }},
        {ID_FILE_OPEN, [](CMainFrame& frame) { frame.documents.Open(); }},
        {ID_FILE_OPEN_BACKUPS, [](CMainFrame& frame) { frame.documents.OpenBackupsFolder(); }},
        {ID_FILE_EXPORT_EVENTS, [](CMainFrame& frame) { frame.events.Export(); }},
        {ID_FILE_IMPORT_EVENTS, [](CMainFrame& frame) { frame.events.Import(); }},
        {ID_FILE_SYNC, [](CMainFrame& frame) { frame.OnSyncSettings(); }},
        {ID_FILE_SYNC_NOW, [](CMainFrame& frame) { frame.sync.SyncNow(); }},
        {ID_EDIT_UNDO, [](CMainFrame& frame) { frame.SendToCurrentCell(EM_UNDO); }},
        {ID_EDIT_CUT, [](CMainFrame& frame) { frame.SendToCurrentCell(WM_CUT); }},
        {ID_EDIT_COPY, [](CMainFrame& frame) { frame.SendToCurrentCell(WM_COPY); }},
        {ID_EDIT_PASTE, [](CMainFrame& frame) { frame.SendToCurrentCell(WM_PASTE); }},
        {ID_EDIT_CLEAR, [](CMainFrame& frame) { frame.SendToCurrentCell(WM_CLEAR); }},
        {ID_EDIT_SELECT_ALL, [](CMainFrame& frame) { frame.OnEditSelectAll(); }},
        {ID_EDIT_FIND, [](CMainFrame& frame) { frame.view.find.Open(); }},
        {ID_EDIT_SEARCH_ALL, [](CMainFrame& frame) { frame.searchPanel.Open(frame.window); }},
        {ID_EDIT_REPEAT, [](CMainFrame& frame) { frame.view.find.Again(true); }},
        {ID_EDIT_FIND_PREVIOUS, [](CMainFrame& frame) { frame.view.find.Again(false); }},
        {ID_GO_TODAY, [](CMainFrame& frame) { frame.view.MoveFocusToToday(); }},
        {ID_VIEW_TOOLBAR, [](CMainFrame& frame) { frame.OnViewToolBar(); }},
        {ID_VIEW_STATUS_BAR, [](CMainFrame& frame) { frame.OnViewStatusBar(); }},
        {ID_APP_ABOUT, [](CMainFrame& frame) { frame.OnAppAbout(); }},
        {ID_HELP, [](CMainFrame& frame) { frame.OnHelp(); }},
        {ID_PREVIEW, [](CMainFrame& frame) { frame.OnPreview(); }},
        {ID_OPTIONS, [](CMainFrame& frame) { frame.OnOptions(); }},
    };
    for (const auto& forward : forwards) {
        if (forward.command == command) {
            forward.run(*this);
            return true;
        }
    }
    return false;
}

LRESULT CMainFrame::OnCreate() {
    // The last diary is read on a thread of its own while the windows are
    // made; the view takes it before its first month (BeforeFirstMonth).
    recentFiles.ReadFromRegistry();
    documents.StartReadingLastDocument();
    CreateBars();
    view.settings = &settings;
    view.commandBar = &commandBar;
    view.document = &document;
    view.host = this;
    documents.owner = window;
    events.owner = window;
    sync.owner = window;
    document.BackupCopies().SetRoot(UserDataFolder("Backups"));
    reminders.owner = window;
    recentFiles.SetMenu(GetSubMenu(commandBar.GetMenu(), 0));
    recentFiles.UpdateMenu();
    UpdateLayout(); // the bars first: the view is made in the rest, in one go
    view.Create(window, ClientArea());
    client = view.window;
    selector.navigation = &view;
    selector.SetMonthFont(view.Fonts().Bold());
    UIAddToolBar(toolbar);
    UISetCheck(ID_VIEW_TOOLBAR, true);
    UISetCheck(ID_VIEW_STATUS_BAR, true);
    loop = g_appModule.GetMessageLoop();
    if (loop) {
        loop->AddMessageFilter(this);
        loop->AddIdleHandler(this);
    }
    findDialogAccelerators.Reset(CreateFindDialogAccelerators(accelerators));
    // What reopening the last document has to tell or offer comes once the
    // window shows.
    PostMessageA(window, kOpenLastDocumentMessage, 0, 0);
    reminders.ResumeFromSettings();
    UpdateLayout();
    return 0;
}

void CMainFrame::FinishStart() {
    startFinished = true;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    tray.Create(instance, window, LoadSmallIcon(instance, IDR_MAINFRAME));
    tray.LoadAnimationIcons();
    reminders.Start();
}

void CMainFrame::CreateBars() {
    commandBar.Create(window);
    commandBar.AttachMenu(GetMenu(window));
    SetMenu(window, nullptr); // the command bar draws the menu now and owns it
    toolbarImages.Reset(LoadToolBarImages(WindowDpi(window)));
    toolbar = CreateToolBar(window, toolbarImages.Get(), kToolBarButtons,
                            static_cast<int>(sizeof kToolBarButtons / sizeof kToolBarButtons[0]));
    selector.Create(window);
    rebar = CreateReBar(window, ID_REBAR);
    if (rebar) {
        BandArgs buttons;
        buttons.chevron = buttons.fitButtons = true;
        AddReBarBand(rebar, commandBar.window, buttons);
        buttons.newRow = true;
        AddReBarBand(rebar, toolbar, buttons);
        AddReBarBand(rebar, selector.window, BandArgs{});
    }
    statusBar = CreateStatusBar(window, ID_STATUS_BAR, IDS_READY);
}

void CMainFrame::OnDpiChanged(UINT dpi, const RECT& suggested) {
    commandBar.SetDpi(dpi);
    SetImagesForDpi(dpi);
    view.SetDpi(dpi);
    selector.SetMonthFont(view.Fonts().Bold());
    searchPanel.TakeViewFont();
    if (rebar) {
        for (HWND bar : {commandBar.window, toolbar, selector.window})
            FitReBarBand(rebar, bar);
    }
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateLayout();
}

void CMainFrame::SetImagesForDpi(UINT dpi) {
    OwnedImageList images(LoadToolBarImages(dpi));
    if (images) {
        SetToolBarImages(toolbar, images.Get());
        toolbarImages = std::move(images); // the old list goes once the toolbar has the new one
    }
    SetWindowIconsForDpi(window, dpi);
}

void CMainFrame::OnShowWindow(bool shown) {
    // The find dialog and the search panel are owned by the frame but not
    // hidden with it.
    const std::pair<HWND, bool*> modeless[] = {{view.find.Dialog(), &findDialogHidden},
                                               {searchPanel.window, &searchPanelHidden}};
    for (const auto& [dialog, hidden] : modeless) {
        if (!dialog)
            continue;
        if (!shown && IsWindowVisible(dialog)) {
            ShowWindow(dialog, SW_HIDE);
            *hidden = true;
        } else if (shown && *hidden) {
            ShowWindow(dialog, SW_SHOWNA);
            *hidden = false;
        }
    }
}

void CMainFrame::SendToCurrentCell(UINT message, WPARAM wParam, LPARAM lParam) {
    // Before any day cell had the focus there is nothing to act on.
    if (view.currentCell)
        SendMessageA(view.currentCell->window, message, wParam, lParam);
}

void CMainFrame::OnEditSelectAll() {
    SendToCurrentCell(EM_SETSEL, 0, -1);
    SendToCurrentCell(EM_SCROLLCARET);
}

void CMainFrame::OnViewToolBar() {
    toolbarVisible = !toolbarVisible;
    ShowReBarBand(rebar, kToolBarBand, toolbarVisible);
    UISetCheck(ID_VIEW_TOOLBAR, toolbarVisible);
    UpdateLayout();
}

void CMainFrame::OnViewStatusBar() {
    const bool visible = !IsWindowVisible(statusBar);
    ShowWindow(statusBar, visible ? SW_SHOWNOACTIVATE : SW_HIDE);
    UISetCheck(ID_VIEW_STATUS_BAR, visible);
    UpdateLayout();
}

void CMainFrame::OnAppAbout() {
    // Owned by the frame even while it is hidden in the notification area,
    // so that the frame is disabled and the icon cannot open a second one.
    CAboutDlg about;
    about.DoModal(window);
}

void CMainFrame::OnMouseWheel(short distance) {
    // A wheel notch is WHEEL_DELTA; touchpads send it in small parts, which
    // add up to one month each.
    wheelDistance += distance;
    for (; wheelDistance >= WHEEL_DELTA; wheelDistance -= WHEEL_DELTA)
        selector.GoNextMonth();
    for (; wheelDistance <= -WHEEL_DELTA; wheelDistance += WHEEL_DELTA)
        selector.GoPreviousMonth();
}

void CMainFrame::OnPreview() {
    ShowPreview(window, statusBar, view.CurrentMonth());
}

void CMainFrame::OnHelp() {
    ShellOpen((ProgramFolder() + "ReadMe.txt").c_str());
}

void CMainFrame::OnActivate(UINT state, HWND previous) {
    // Only a return from another program can bring outside changes; our own
    // dialogs and message boxes are owned by the frame.
    if (state != WA_ACTIVE && state != WA_CLICKACTIVE)
        return;
    const HWND previousOwner = previous ? GetParent(previous) : nullptr;
    if (previousOwner != window)
        PostMessageA(window, kTakeOutsideChangeMessage, 0, 0);
}

void CMainFrame::OnOptions() {
    const std::int32_t remindedBefore = settings.UseReminder;
    const std::int32_t sundayFirst = settings.SundayFirst;
    if (!ShowOptions(window, settings))
        return;
    if ((settings.SundayFirst != 0) != (sundayFirst != 0)) {
        view.CollectCells();
        view.NameWeekdays();
        view.ShowMonth();
    }
    reminders.SettingsChanged(remindedBefore != 0);
}

void CMainFrame::OnSyncSettings() {
    CSyncDlg dialog(settings, document.Name());
    if (dialog.DoModal(window) != IDOK)
        return;
    settings = dialog.settings;
    sync.SettingsChanged();
}

void CMainFrame::OnFileExit() {
    PostMessageA(window, WM_CLOSE, kExitRequest, 0);
}

LRESULT CMainFrame::OnClose(WPARAM request) {
    if (settings.MinimizeOnClose && request != kExitRequest) {
        tray.MinimiseToTray(window);
        return 0;
    }
    if (!documents.AskToKeepChanges())
        return 0;
    sync.Stop();
    // Saved, or not wanted: nothing is left to recover.
    recovery.Remove();
    WriteRegistryAtClose();
    DestroyWindow(window);
    return 0;
}

void CMainFrame::KeepRecovery() {
    view.CollectCells(); // a text that has not left its cell counts too
    recovery.Keep(document);
    keptEdits = document.Edits();
}

void CMainFrame::OnEndSession() {
    KeepRecovery();
    WriteRegistryAtClose();
}

void CMainFrame::WriteRegistryAtClose() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    const bool placed = GetWindowPlacement(window, &placement) != FALSE;
    WriteAtClose(recentFiles.Stored(), placed ? &placement : nullptr, settings);
}

void CMainFrame::ShowTitle(const std::string& title) {
    SetWindowTextA(window, title.c_str());
}

void CMainFrame::ShowStatus(const std::string& text) {
    SendMessageA(statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void CMainFrame::ShowMonthCaption(const std::string& caption) {
    selector.ShowMonth(caption);
}

void CMainFrame::BeforeFirstMonth() {
    // Read before the view shows its first month: one fill and one paint.
    documents.ReadLastDocument();
}
