#pragma once

#include <algorithm>
#include <vector>

// What every bench measures against, and how it sums up its samples.
constexpr double FrameBudgetMs = 16.0;

// The sample at the given share of the sorted samples (0.5: the median,
// 0.99: the 99th percentile), nearest rank.
inline double Percentile(std::vector<double> values, double share)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(share * static_cast<double>(values.size() - 1) + 0.5)];
}
