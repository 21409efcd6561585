// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the benchmarks share: the arithmetic of their reports, the test of a
// painted row, and the reading of their command lines.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>
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

// A command-line option "--name value" whose value is a whole number or text.
struct Option {
    std::string_view name;
    std::variant<int*, std::string*> value;
};

// Reads argv[1..] as "--name value" pairs into the options named. False on an
// unknown name, a name without a value, or a number that is not a whole one.
bool ReadOptions(int argc, char** argv, std::initializer_list<Option> options);

} // namespace drill::bench
