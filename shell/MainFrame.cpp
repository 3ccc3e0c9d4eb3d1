#include "shell/MainFrame.h"

#include "framework/AppModule.h"
#include "shell/RegisteredMessages.h"
#include "storage/Registry.h"
#include "storage/SettingsStore.h"

CMainFrame* g_mainFrame = nullptr;

namespace {
const char kUntitledTitle[] = "OrvikCalendar - Untitled";
}

CMainFrame::~CMainFrame() {
    if (loop)
        loop->RemoveMessageFilter(this);
}

BOOL CMainFrame::PreTranslateMessage(MSG* message) {
    return accelerators && TranslateAcceleratorA(window, accelerators, message);
}

bool CMainFrame::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == g_instanceMessage) {
        result = OnInstanceMessage();
        return true;
    }
    switch (message) {
    case WM_CREATE:
        result = OnCreate();
        return true;
    case WM_CLOSE:
        result = OnClose();
        return true;
    default:
        return CFrameWindowImpl::ProcessWindowMessage(message, wParam, lParam, result);
    }
}

LRESULT CMainFrame::OnCreate() {
    SetWindowTextA(window, kUntitledTitle);
    loop = g_appModule.GetMessageLoop();
    if (loop)
        loop->AddMessageFilter(this);
    recentFiles.ReadFromRegistry();
    return 0;
}

LRESULT CMainFrame::OnClose() {
    WriteRegistryAtClose();
    DestroyWindow(window);
    return 0;
}

void CMainFrame::WriteRegistryAtClose() {
    // The list goes first: its write creates the key, which Open never does.
    recentFiles.WriteToRegistry();
    CRegistry registry;
    registry.Open();
    registry.WriteWindowPlacement(window);
    WriteSettings(registry, settings);
}

LRESULT CMainFrame::OnInstanceMessage() {
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    else
        ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    return static_cast<LRESULT>(g_instanceMessage);
}
