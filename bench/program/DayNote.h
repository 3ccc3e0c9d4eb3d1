#pragma once

#include <string>

// The note of day `number` of the benchmark's diaries. The month grid shows
// the same notes, so that both lay out and paint the same texts.
std::string DayNote(int number);
