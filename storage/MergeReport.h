#pragma once

#include "core/Date.h"

#include <cstddef>
#include <string>
#include <vector>

// "1 day", "3 days".
std::string DayCountText(int count);

// The days a merge found changed in both copies, for the user: the first
// `shown` one per line, then how many more there are.
std::string ConflictDatesText(const std::vector<Date>& days, std::size_t shown = 10);
