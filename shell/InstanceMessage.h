#pragma once

#include <windows.h>

// The name of the single-instance mutex and of the message with which a
// starting copy asks the running one to show itself.
#define ORVIK_INSTANCE_NAME "OrvikCalendar_RUDORAVIRIVI"

// Registered at static initialisation: every program that registers the
// name on the running system gets the same number.
extern const UINT g_instanceMessage;
