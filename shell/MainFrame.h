#pragma once

#include "framework/CommandBar.h"
#include "framework/FrameWindow.h"
#include "framework/MessageLoop.h"
#include "framework/OwnedHandle.h"
#include "framework/UpdateUI.h"
#include "res/resource.h"
#include "shell/DocumentCommands.h"
#include "shell/EventExchange.h"
#include "shell/LegacyCodePage.h"
#include "shell/RecentFileList.h"
#include "shell/RecoveryKeeper.h"
#include "shell/ReminderController.h"
#include "shell/SyncController.h"
#include "shell/SystemTray.h"
#include "storage/AppSettings.h"
#include "view/OrvikCalendarView.h"
#include "view/SearchPanel.h"
#include "view/Selector.h"
#include "view/ViewHost.h"

// The program's one top-level window: menu (as a command bar), toolbar and
// navigator in a rebar, status bar, and the month view as its client. It
// owns the parts and routes messages and commands to them.
class CMainFrame : public CFrameWindowImpl<CMainFrame>,
                   public CUpdateUI,
                   public CMessageFilter,
                   public CIdleHandler,
                   public ViewHost {
    friend struct MainFrameTestAccess; // the tests' and the benchmark's way in

  public:
    static constexpr int kResourceId = IDR_MAINFRAME;
    // The frame's timer that keeps the recovery file a moment after the last
    // change (the others are the outside-change check's and the reminders').
    static const UINT_PTR kRecoveryTimer = 1;

    explicit CMainFrame(NotifyIconCall notificationArea = ShellNotifyIcon)
        : tray(notificationArea) {}
    ~CMainFrame();

    // Filled by Run before the window is created.
    AppSettings& Settings() { return settings; }

    // The menu bar, for the rebar's chevron.
    HWND MenuBar() const { return commandBar.window; }
    HMENU MenuBarMenu() const { return commandBar.GetMenu(); }

    BOOL PreTranslateMessage(MSG* message) override;
    BOOL OnIdle() override;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    void ShowTitle(const std::string& title) override;
    void ShowStatus(const std::string& text) override;
    void ShowMonthCaption(const std::string& caption) override;
    void BeforeFirstMonth() override;

  private:
    LRESULT OnCreate();
    void CreateBars();
    // What the first month shown does not need, once it is shown.
    void FinishStart();
    // The messages of the shell and the system: another copy, the
    // notification area, sleep and the clock, the end of the session.
    bool OnSystemMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void OnTrayIcon(WPARAM id, LPARAM mouse);
    bool OnTimer(UINT_PTR timer);
    bool OnCommand(int command, LRESULT& result);
    // Commands that only hand over to a part; false for any other.
    bool Forward(int command);
    // Moved to a monitor of another DPI: the suggested rectangle, and fonts,
    // images and layout for the new DPI.
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    void SetImagesForDpi(UINT dpi);
    // The close sequence.
    void OnFileExit();
    LRESULT OnClose(WPARAM request);
    void SendToCurrentCell(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void OnEditSelectAll();
    void OnViewToolBar();
    void OnViewStatusBar();
    void OnAppAbout();
    void OnHelp();
    void OnPreview();
    void OnOptions();
    void OnSyncSettings();
    void OnActivate(UINT state, HWND previous);
    void OnMouseWheel(short distance);
    // A wheel message on its way to a window of the frame; true when it
    // changed the month (or went on to the cell it scrolls).
    bool OnWheelInWindow(const MSG& message);
    void OnShowWindow(bool shown);
    // The recovery file brought up to date: the cells' texts too.
    void KeepRecovery();
    // The end of the Windows session: what a close writes, without asking.
    void OnEndSession();
    void WriteRegistryAtClose();

    AppSettings settings;
    // Shown by the view, which it outlives.
    Document document{LegacyCodePageConverter()};
    COrvikCalendarView view;
    CCommandBarCtrl commandBar;
    CSelector selector;
    CSystemTray tray;
    CReminderController reminders{document, settings, tray, view};
    RecentFileList recentFiles;
    CRecoveryKeeper recovery;
    CDocumentCommands documents{document, view, *this, recentFiles, recovery};
    CEventExchange events{document, view};
    CSyncController sync{document, settings, view, *this};
    CSearchPanel searchPanel{view}; // its window is owned by the frame's
    HWND toolbar = nullptr;         // the button bar, a child of the rebar
    OwnedImageList toolbarImages;   // shown by the toolbar, at the window's DPI
    bool toolbarVisible = true;
    CMessageLoop* loop = nullptr; // borrowed: the loop of the frame's thread
    OwnedAccelerators findDialogAccelerators;
    std::uint64_t keptEdits = 0;   // the document's edits when the recovery file was last kept
    bool findDialogHidden = false; // hidden with the frame, shown with it again
    bool searchPanelHidden = false;
    bool startFinished = false;
    int wheelDistance = 0; // wheel turns not yet a whole notch
};
