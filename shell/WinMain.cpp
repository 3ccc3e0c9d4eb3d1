#include "framework/AppModule.h"
#include "shell/Run.h"

#include <commctrl.h>
#include <objbase.h>
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int showCommand) {
    // Makes sure user32 is up before anything else touches windows.
    DefWindowProcA(nullptr, 0, 0, 0);
    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&controls);
    g_appModule.Init();
    const int exitCode = Run(commandLine, showCommand);
    g_appModule.Term();
    CoUninitialize();
    return exitCode;
}
