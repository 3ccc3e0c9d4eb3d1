#pragma once

#include <string>

// The format with its first %s replaced by `first` and the next by `second`.
// Unlike printf, a % in the values cannot upset it, and texts of any length fit.
std::string FormatText(const char* format, const std::string& first,
                       const std::string& second = std::string());
