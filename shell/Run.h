#pragma once

// Reads the settings, keeps to one running copy, shows the main window and
// runs the message loop. Returns the exit code: 1 after a normal end, 0 when
// another copy runs or the window cannot be created.
int Run(const char* commandLine, int showCommand);
