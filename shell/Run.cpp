#include "shell/Run.h"

#include "framework/AppModule.h"
#include "framework/ComApartment.h"
#include "framework/GuardedDispatch.h"
#include "framework/MessageLoop.h"
#include "res/MessageTexts.h"
#include "shell/InstanceMessage.h"
#include "shell/MainFrame.h"
#include "shell/Texts.h"
#include "storage/Registry.h"
#include "storage/SettingsStore.h"

#include <commctrl.h>

namespace {

// True when another copy holds the mutex. The handle is kept for the life
// of the process on purpose: it is what tells later copies we are running.
bool AnotherCopyRuns() {
    CreateMutexA(nullptr, FALSE, ORVIK_INSTANCE_NAME);
    const DWORD error = GetLastError();
    return error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED;
}

void AskRunningCopyToShowItself() {
    // Windows lets only the foreground process bring a window to the front;
    // the running copy may, on our behalf.
    AllowSetForegroundWindow(ASFW_ANY);
    DWORD_PTR reply = 0;
    SendMessageTimeoutA(HWND_BROADCAST, g_instanceMessage, 0, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG, 200,
                        &reply);
}

// What stopped a command half-way (out of memory, most likely): the user
// hears of it, and the diary stays open to be saved.
void ReportActionFailed(const char* reason) {
    const std::string text = FormatText(ORVIK_ACTION_FAILED, reason);
    MessageBoxA(GetActiveWindow(), text.c_str(), ORVIK_CAPTION, MB_OK | MB_ICONERROR);
}

} // namespace

int Run(const char*, int showCommand, const AfterShown& afterShown) {
    // Teardown runs in reverse: registry, frame, loop.
    CMessageLoop loop;
    g_appModule.AddMessageLoop(&loop);
    g_reportEscapedException = ReportActionFailed;
    int exitCode = 0;
    {
        CMainFrame frame;
        CRegistry registry;
        registry.Open();
        ReadSettings(registry, frame.Settings());

        if (AnotherCopyRuns() && !frame.Settings().AllowMultipleInstances) {
            AskRunningCopyToShowItself();
        } else {
            if (frame.CreateEx()) {
                if (const auto placement = registry.ReadWindowPlacement())
                    SetWindowPlacement(frame.window, &*placement);
                else
                    ShowWindow(frame.window, showCommand);
                registry.Close();
                if (afterShown)
                    afterShown(frame);
                exitCode = loop.Run();
            }
        }
        registry.Close();
    }
    g_appModule.RemoveMessageLoop();
    return exitCode;
}

int RunProgram(const char* commandLine, int showCommand, const AfterShown& afterShown) {
    // Makes sure user32 is up before anything else touches windows.
    DefWindowProcA(nullptr, 0, 0, 0);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&controls);
    g_appModule.Init();
    const int exitCode = Run(commandLine, showCommand, afterShown);
    g_appModule.Term();
    EndComApartment();
    return exitCode;
}
