#pragma once

#include <string>

// The folder of the running program, where the default stylesheet and
// ReadMe.txt are installed; it ends in a separator.
std::string ProgramFolder();

// A folder of the program's own in the user's local application data
// ("...\AppData\Local\OrvikCalendar\<name>\"), created when missing; empty
// when it cannot be had.
std::string UserDataFolder(const char* name);

// The process's current folder, ending in a separator.
std::string CurrentFolder();
