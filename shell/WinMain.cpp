#include "core/Now.h"
#include "framework/AppModule.h"
#include "shell/Run.h"

#include <commctrl.h>
#include <objbase.h>
#include <windows.h>

#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int showCommand) {
    // Makes sure user32 is up before anything else touches windows.
    DefWindowProcA(nullptr, 0, 0, 0);
    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&controls);
    g_appModule.Init();
    // The whole-program tests start it on a fixed moment, so that what falls
    // due does not depend on the hour they run.
    if (const char* pinned = std::getenv("ORVIK_PINNED_NOW"))
        PinNow(static_cast<std::time_t>(std::strtoll(pinned, nullptr, 10)));
    const int exitCode = Run(commandLine, showCommand);
    g_appModule.Term();
    CoUninitialize();
    return exitCode;
}
