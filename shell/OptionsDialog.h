#pragma once

#include "storage/AppSettings.h"

#include <windows.h>

#include <string>

// Shows the modal Options sheet (Reminder, XSL Template, Advanced) over
// owner, working on copies of the settings. Closed with OK, the copies
// replace the settings in memory and the result is true; otherwise the
// settings stay as they were. Nothing is written to the registry here.
bool ShowOptions(HWND owner, AppSettings& settings);

// What the XSL Template field takes for a stylesheet chosen at path: the
// bare file name when it lies in the program's folder (where a bare name is
// looked for first; the folder ends in a separator), the full path
// otherwise, which needs no current folder to be found.
std::string StylesheetFieldText(const std::string& path, const std::string& programFolder);
