// SPDX-License-Identifier: GPL-3.0-or-later
#include "clock_random.h"

#include <chrono>

namespace drill {

void ClockRandom::SeedFromClock() {
    const auto wall =
        static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    const auto mono =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    // One mixed 32-bit seed: a seed_seq over several words costs three times as
    // much as the whole shuffle, for no gain a drill can notice.
    std::uint64_t z = wall ^ (mono * 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    engine_.seed(static_cast<std::uint32_t>(z ^ (z >> 31)));
}

float ClockRandom::ToUnit(std::uint32_t bits) {
    // Keep the top 24 bits: every such integer times 2^-24 is exact in a float,
    // so the largest result is 1 - 2^-24 and 1.0 cannot come out by rounding
    // (as it can from uniform_real_distribution<float> on some libraries).
    return static_cast<float>(bits >> 8) * 0x1p-24f;
}

float ClockRandom::Next() {
    return ToUnit(static_cast<std::uint32_t>(engine_()));
}

} // namespace drill
