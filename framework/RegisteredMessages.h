#pragma once

#include <windows.h>

// Registered at static initialisation; every program registering the same
// text on the running system gets the same number.
extern const UINT g_findReplaceMessage;
extern const UINT g_instanceMessage; // a starting copy asks the running one to show itself
extern const UINT g_taskbarCreatedMessage;

#define ORVIK_INSTANCE_NAME "OrvikCalendar_RUDORAVIRIVI" // also the single-instance mutex
