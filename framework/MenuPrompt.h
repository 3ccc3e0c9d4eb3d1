#pragma once

#include <windows.h>

#include <string>

// The string-table entry whose text is the status-bar prompt of a
// highlighted menu item (WM_MENUSELECT), or 0 where the prompt is empty.
UINT MenuPromptStringId(UINT item, UINT flags);

// A command's string is "prompt\ntooltip": the part before the first line
// break goes to the status bar, the part after it to the tooltip.
std::string LoadPrompt(UINT stringId);
std::string LoadTooltip(UINT stringId);
