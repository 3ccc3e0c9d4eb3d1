#include "shell/Run.h"

#include "framework/AppModule.h"
#include "framework/MessageLoop.h"
#include "framework/RegisteredMessages.h"
#include "shell/MainFrame.h"
#include "storage/Registry.h"
#include "storage/SettingsStore.h"

namespace {

// True when another copy holds the mutex. The handle is kept for the life
// of the process on purpose: it is what tells later copies we are running.
bool AnotherCopyRuns() {
    CreateMutexA(nullptr, FALSE, ORVIK_INSTANCE_NAME);
    const DWORD error = GetLastError();
    return error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED;
}

void AskRunningCopyToShowItself() {
    DWORD_PTR reply = 0;
    SendMessageTimeoutA(HWND_BROADCAST, g_instanceMessage, 0, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG, 200,
                        &reply);
}

} // namespace

int Run(const char*, int showCommand) {
    // Teardown runs in reverse: registry, frame, loop.
    CMessageLoop loop;
    g_appModule.AddMessageLoop(&loop);
    int exitCode = 0;
    {
        CMainFrame frame;
        CRegistry registry;
        registry.Open();
        ReadSettings(registry, frame.settings);

        if (AnotherCopyRuns() && !frame.settings.AllowMultipleInstances) {
            AskRunningCopyToShowItself();
        } else {
            g_mainFrame = &frame;
            if (frame.CreateEx()) {
                if (!registry.ReadWindowPlacement(frame.window))
                    ShowWindow(frame.window, showCommand);
                registry.Close();
                exitCode = loop.Run();
            }
        }
        registry.Close();
        g_mainFrame = nullptr;
    }
    g_appModule.RemoveMessageLoop();
    return exitCode;
}
