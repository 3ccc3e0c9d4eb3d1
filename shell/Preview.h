#pragma once

#include "storage/XmlExport.h"

#include <windows.h>

// The preview and Print: the month as a web page, made here with its
// stylesheet (the XSLTemplate in the month), in a folder of the program's
// own, handed to the shell. Reports go to the owner; when the page cannot
// be made, the status bar says why and the shell gets the XML.
void ShowPreview(HWND owner, HWND statusBar, MonthExport month);
