#pragma once

#include <string>

// The diaries the benchmark opens, written as calendar files. False, with the
// reason in `error`, when a file could not be written.

// A note on every day of a hundred years, 1950 to 2049 (36,525 days), with
// the quotes, separators and line breaks a real diary has: about 4 MB.
bool WriteHundredYearDiary(const std::string& path, std::string& error);
// The same notes on every day of a thousand years, 1950 to 2949: about 42 MB.
bool WriteThousandYearDiary(const std::string& path, std::string& error);

// A diary without a single day.
bool WriteEmptyDiary(const std::string& path, std::string& error);
