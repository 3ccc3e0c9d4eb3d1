#pragma once

#include <cstddef>
#include <string>

struct ProgramToStart {
    std::string path;       // of the .exe; it starts in its own folder
    std::string readyTitle; // a part of the main window's title once the program is ready
    std::string arguments;  // after the program's name on its command line
};

struct StartMeasurement {
    bool measured = false;
    std::string error; // why not
    double milliseconds = 0;
    std::size_t workingSet = 0; // bytes, at rest after the start
    std::size_t peakWorkingSet = 0;
};

// Starts the program and times it from CreateProcess until its main window is
// visible with the ready title, answers a message and the program waits for
// input (all painted); then reads its memory at rest, closes the window and
// waits for the process to end.
StartMeasurement MeasureStart(const ProgramToStart& program);
