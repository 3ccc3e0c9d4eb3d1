#pragma once

#include "shell/MainFrame.h"

// The one way in to the main frame's parts, for the window tests and the
// benchmark's measuring build. Tests prefer what a user sees; this is for
// arranging a case and reading what no window shows.
struct MainFrameTestAccess {
    static Document& DocumentOf(CMainFrame& frame) { return frame.document; }
    static COrvikCalendarView& View(CMainFrame& frame) { return frame.view; }
    static CSelector& Navigator(CMainFrame& frame) { return frame.selector; }
    static AppSettings& Settings(CMainFrame& frame) { return frame.settings; }
    static CRecoveryKeeper& Recovery(CMainFrame& frame) { return frame.recovery; }
    static CSystemTray& Tray(CMainFrame& frame) { return frame.tray; }
    static CReminderController& Reminders(CMainFrame& frame) { return frame.reminders; }
    static CSyncController& Sync(CMainFrame& frame) { return frame.sync; }
    static CCommandBarCtrl& CommandBar(CMainFrame& frame) { return frame.commandBar; }
    static CSearchPanel& SearchPanel(CMainFrame& frame) { return frame.searchPanel; }
    static RecentFileList& RecentFiles(CMainFrame& frame) { return frame.recentFiles; }
    static HWND ToolBar(CMainFrame& frame) { return frame.toolbar; }
    static HWND StatusBar(CMainFrame& frame) { return frame.statusBar; }
    static HWND ReBar(CMainFrame& frame) { return frame.rebar; }
};
