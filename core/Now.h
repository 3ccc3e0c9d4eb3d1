#pragma once

#include "core/Date.h"

#include <ctime>

// The one source of "now". Tests pin it so that "today", reminders and
// colours are checked on fixed moments.
std::time_t Now();
// The local broken-down time of Now().
std::tm LocalNow();
// Converts with the C library's local-time rules, thread-safely.
std::tm ToLocalTime(std::time_t moment);
// The first moment at which the local clock shows that time of that day or
// a later one: in an hour repeated when clocks go back, its first pass; in an
// hour skipped when they go forward, the moment of the jump. Built on
// ToLocalTime alone, as C runtimes' mktime differ on such times.
std::time_t FromLocalTime(const Date& day, int hour, int minute);

void PinNow(std::time_t moment);
void UnpinNow();
