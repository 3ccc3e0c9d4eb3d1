#pragma once

#include <functional>

class CMainFrame;

// What a test or benchmark build of the program does once the main window
// shows (measure, say); the program itself does nothing then.
using AfterShown = std::function<void(CMainFrame& frame)>;

// Reads the settings, keeps to one running copy, shows the main window and
// runs the message loop. Returns the exit code: 1 after a normal end, 0 when
// another copy runs or the window cannot be created.
int Run(const char* commandLine, int showCommand, const AfterShown& afterShown = {});

// The whole program around Run: COM, the bars' common controls and the
// module. Every entry point calls it.
int RunProgram(const char* commandLine, int showCommand, const AfterShown& afterShown = {});
