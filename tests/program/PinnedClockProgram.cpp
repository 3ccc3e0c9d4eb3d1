// The program as the whole-program tests start it: when the environment
// variable ORVIK_PINNED_NOW gives a moment (seconds since 1970), its clock
// stands there, so that what falls due does not depend on the hour they run.
#include "core/Now.h"
#include "shell/Run.h"

#include <windows.h>

#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int showCommand) {
    if (const char* pinned = std::getenv("ORVIK_PINNED_NOW"))
        PinNow(static_cast<std::time_t>(std::strtoll(pinned, nullptr, 10)));
    return RunProgram(commandLine, showCommand);
}
