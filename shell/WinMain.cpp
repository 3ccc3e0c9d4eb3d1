#include "shell/Run.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int showCommand) {
    return RunProgram(commandLine, showCommand);
}
