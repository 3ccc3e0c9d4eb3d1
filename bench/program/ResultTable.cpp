#include "bench/program/ResultTable.h"

#include <cstdio>

namespace {

const char kRowFormat[] = "%-52s %10s %10s %10s  %s\n";

std::string WithUnit(double value, const char* unit) {
    // Few decimals where they would be noise.
    return FormatNumber(value, value >= 100 ? 0 : (value >= 10 ? 1 : 2)) + " " + unit;
}

} // namespace

void PrintTableHeader() {
    std::printf(kRowFormat, "what", "median", "least", "most", "compared");
}

void PrintTableRow(const std::string& what, const Summary& summary, const char* unit,
                   const std::string& comparison) {
    std::printf(kRowFormat, what.c_str(), WithUnit(summary.median, unit).c_str(),
                WithUnit(summary.least, unit).c_str(), WithUnit(summary.most, unit).c_str(),
                comparison.c_str());
}

std::string FormatNumber(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}
