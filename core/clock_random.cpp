#include "clock_random.h"

#include <chrono>

namespace drill {

void ClockRandom::SeedFromClock() {
    const auto wall = std::chrono::system_clock::now().time_since_epoch().count();
    const auto mono = std::chrono::steady_clock::now().time_since_epoch().count();
    std::seed_seq seq{static_cast<std::uint32_t>(wall), static_cast<std::uint32_t>(wall >> 32),
                      static_cast<std::uint32_t>(mono), static_cast<std::uint32_t>(mono >> 32)};
    engine_.seed(seq);
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
