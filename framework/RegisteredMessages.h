#pragma once

#include <windows.h>

// Registered at static initialisation; every program registering the same
// text on the running system gets the same number.
extern const UINT g_findReplaceMessage;
extern const UINT g_taskbarCreatedMessage;
