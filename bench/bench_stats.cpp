// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_stats.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <stdexcept>

namespace drill::bench {

double Median(std::vector<double> values) {
    if (values.empty()) {
        throw std::invalid_argument("median of an empty sample");
    }
    const std::size_t mid = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(mid),
                     values.end());
    const double upper = values[mid];
    if (values.size() % 2 == 1) {
        return upper;
    }
    const double lower =
        *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(mid));
    return (lower + upper) / 2;
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) {
        throw std::invalid_argument("percentile of an empty sample");
    }
    std::sort(values.begin(), values.end());
    const double clamped = std::clamp(p, 0.0, 100.0);
    auto rank = static_cast<std::size_t>(std::ceil(clamped / 100.0 * values.size()));
    rank = std::max<std::size_t>(rank, 1);
    return values[rank - 1];
}

double Ratio(double a, double b) {
    if (!(b > 0)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return a / b;
}

std::string Fixed(double value, int decimals) {
    if (std::isnan(value)) {
        return "n/a";
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

bool RowLooksPainted(const std::vector<std::uint32_t>& row, double minPaintedFraction) {
    if (row.empty()) {
        return false;
    }
    const auto painted = std::count_if(row.begin(), row.end(), [](std::uint32_t pixel) {
        return (pixel & 0xFFFFFFu) != 0; // ignore any alpha or padding byte
    });
    return static_cast<double>(painted) >= minPaintedFraction * static_cast<double>(row.size());
}

bool ReadOptions(int argc, char** argv, std::initializer_list<Option> options) {
    for (int i = 1; i < argc; i += 2) {
        const auto option = std::find_if(options.begin(), options.end(),
                                         [&](const Option& o) { return o.name == argv[i]; });
        if (option == options.end() || i + 1 >= argc) {
            return false;
        }
        const std::string_view text = argv[i + 1];
        if (auto* const* value = std::get_if<std::string*>(&option->value)) {
            **value = text;
            continue;
        }
        const char* end = text.data() + text.size();
        const auto [stop, error] =
            std::from_chars(text.data(), end, *std::get<int*>(option->value));
        if (error != std::errc() || stop != end) {
            return false;
        }
    }
    return true;
}

} // namespace drill::bench
