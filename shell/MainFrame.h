#pragma once

#include "framework/FrameWindow.h"
#include "framework/MessageLoop.h"
#include "shell/RecentFileList.h"
#include "storage/AppSettings.h"

#include <string>

// The program's one top-level window.
class CMainFrame : public CFrameWindowImpl<CMainFrame>, public CMessageFilter {
  public:
    AppSettings settings; // filled by Run before the window is created
    RecentFileList recentFiles;

    CMainFrame() = default;
    ~CMainFrame();

    BOOL PreTranslateMessage(MSG* message) override;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  private:
    LRESULT OnCreate();
    LRESULT OnClose();
    LRESULT OnInstanceMessage();
    void WriteRegistryAtClose();

    CMessageLoop* loop = nullptr; // borrowed: the loop of the frame's thread
};

// Set by Run before the frame window is created.
extern CMainFrame* g_mainFrame;
