#pragma once

#include <ctime>

// The one source of "now". Tests pin it so that "today", reminders and
// colours are checked on fixed moments.
std::time_t Now();
// The local broken-down time of Now().
std::tm LocalNow();
// Converts with the C library's local-time rules, thread-safely.
std::tm ToLocalTime(std::time_t moment);

void PinNow(std::time_t moment);
void UnpinNow();
