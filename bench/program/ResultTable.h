#pragma once

#include "bench/program/Summary.h"

#include <string>

// The benchmark's one table: what was measured, the median, the least and
// the most of its repetitions, and how it compares. scripts/bench appends
// the host benchmarks in the same columns.
void PrintTableHeader();
void PrintTableRow(const std::string& what, const Summary& summary, const char* unit,
                   const std::string& comparison);

// "12.5": for a comparison column.
std::string FormatNumber(double value, int decimals);
