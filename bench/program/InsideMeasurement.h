#pragma once

#include "bench/program/Summary.h"

#include <string>
#include <vector>

// An action the program timed itself, in ms.
struct ActionTime {
    std::string name;
    Summary milliseconds;
};

// Starts the program with ORVIK_MEASURE naming `resultFile`, waits until it
// has timed its actions on the diary it opened and closed, and reads what it
// wrote. Empty, with the reason in `error`, when it wrote nothing.
std::vector<ActionTime> MeasureActionsInside(const std::string& programPath,
                                             const std::string& resultFile, std::string& error,
                                             const std::string& arguments = "");
