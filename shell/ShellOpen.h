#pragma once

#include "framework/ComApartment.h"

#include <windows.h>

#include <shellapi.h>

// Hands a file name, web address or mailto: link to the program the user
// chose for it; what the shell returns is not looked at. Tests replace it to
// see what would be opened without launching anything.
inline void (*g_shellOpen)(const char* target) = [](const char* target) {
    EnsureComApartment(); // the shell may hand the target to an extension
    ShellExecuteA(nullptr, nullptr, target, nullptr, nullptr, SW_SHOWNORMAL);
};

inline void ShellOpen(const char* target) {
    g_shellOpen(target);
}
