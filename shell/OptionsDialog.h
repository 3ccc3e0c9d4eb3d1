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
// bare file name when the file's folder is exactly the current directory,
// the full path otherwise.
std::string StylesheetFieldText(const std::string& path, const std::string& currentDirectory);
