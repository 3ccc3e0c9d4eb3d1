#pragma once

#include <initializer_list>
#include <string>

// The format with its %s replaced by the values, in order. Unlike printf, a
// % in the values cannot upset it, and texts of any length fit.
std::string FormatText(const char* format, std::initializer_list<std::string> values);

inline std::string FormatText(const char* format, const std::string& value) {
    return FormatText(format, {value});
}
