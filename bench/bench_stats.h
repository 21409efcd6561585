// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace drill::bench {

// The middle value; for an even count, the mean of the two middle values.
// Throws std::invalid_argument on an empty sample.
double Median(std::vector<double> values);

// Nearest-rank percentile, p in [0, 100]. Throws on an empty sample.
double Percentile(std::vector<double> values, double p);

// a / b, or NaN when b is not positive (a ratio against nothing is no ratio).
double Ratio(double a, double b);

// Fixed-point text with the given number of decimals; "n/a" for NaN.
std::string Fixed(double value, int decimals);

// A row of pixels read back from the X server (any depth up to 32 bits).
// A freshly mapped window that nobody has drawn on shows the black root
// behind it; drawing turns most of it to the window's colours. A row counts
// as painted once at least minPaintedFraction of its pixels are not black.
bool RowLooksPainted(const std::vector<std::uint32_t>& row, double minPaintedFraction);

} // namespace drill::bench
