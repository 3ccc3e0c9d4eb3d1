#pragma once

#include <algorithm>
#include <vector>

// The median and the spread of repeated measurements.
struct Summary {
    double median = 0;
    double least = 0;
    double most = 0;
};

// Needs at least one value; of an even count the upper middle one is the median.
inline Summary Summarize(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return Summary{values[values.size() / 2], values.front(), values.back()};
}
