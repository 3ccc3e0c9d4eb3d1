#pragma once

#include "framework/CommandBar.h"
#include "framework/FrameWindow.h"
#include "framework/MessageLoop.h"
#include "framework/UpdateUI.h"
#include "shell/RecentFileList.h"
#include "shell/SystemTray.h"
#include "storage/AppSettings.h"
#include "view/OrvikCalendarView.h"
#include "view/Selector.h"

// The program's one top-level window: menu (as a command bar), toolbar and
// navigator in a rebar, status bar, and the month view as its client.
class CMainFrame : public CFrameWindowImpl<CMainFrame>,
                   public CUpdateUI,
                   public CMessageFilter,
                   public CIdleHandler {
  public:
    AppSettings settings; // filled by Run before the window is created
    // Shown by the view, which it outlives. The program runs in the ANSI code
    // page, so a file's bytes are its texts as they are.
    Document document{nullptr};
    COrvikCalendarView view;
    CCommandBarCtrl commandBar;
    CSelector selector;
    CSystemTray tray;
    RecentFileList recentFiles;
    HWND toolbar = nullptr; // the button bar, a child of the rebar
    bool toolbarVisible = true;

    CMainFrame() = default;
    ~CMainFrame();

    // The menu bar, for the rebar's chevron.
    HWND MenuBar() const { return commandBar.window; }
    HMENU MenuBarMenu() const { return commandBar.GetMenu(); }

    BOOL PreTranslateMessage(MSG* message) override;
    BOOL OnIdle() override;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  private:
    LRESULT OnCreate();
    void CreateBars();
    // Document commands and the close sequence.
    void OnFileNew();
    void OnFileOpen();
    bool OnFileSave();
    bool OnFileSaveAs();
    void OnFileRecent(int command);
    void OnFileExit();
    LRESULT OnClose(WPARAM request);
    // Asks whether to save a modified document; true when the document may
    // be let go: unmodified, saved whole, or the user chose not to save.
    bool AskToKeepChanges();
    enum class SaveWay { ToItsFile, AskForName };
    enum class ExportReport { None, SayDiaryNotSaved };
    // True only when the whole diary is on disk afterwards.
    bool SaveDiary(SaveWay way, ExportReport report);
    bool ExportMonth(const std::string& path);
    // Offers to reload a file that another program changed; true when the
    // user chose to reload it.
    bool OfferReload();
    // Asks about unsaved changes, then loads; false when nothing was loaded.
    bool OpenDocument(const std::string& path);
    // Loads and shows the file, or tells the user why not; the document
    // stays as it was then.
    bool LoadDocument(const std::string& path);
    void ReportNotLoaded(const std::string& path, LoadOutcome outcome);
    void OpenLastDocument();
    void MinimiseToTray();
    void ShowReminderMenu();
    LRESULT OnInstanceMessage();
    bool OnCommand(int command, LRESULT& result);
    void SendToCurrentCell(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void OnEditSelectAll();
    void OnViewToolBar();
    void OnViewStatusBar();
    void OnAppAbout();
    void OnHelp();
    void OnPreview();
    void OnOptions();
    void OnActivate(UINT state, HWND previous);
    void OnMouseWheel(short distance);
    void GoToday();
    void WriteRegistryAtClose();

    CMessageLoop* loop = nullptr; // borrowed: the loop of the frame's thread
};

// Set by Run before the frame window is created.
extern CMainFrame* g_mainFrame;
