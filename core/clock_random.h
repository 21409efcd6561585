// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <random>

#include "random_source.h"

namespace drill {

// The production random source: a Mersenne Twister seeded from the clock.
class ClockRandom final : public RandomSource {
public:
    void SeedFromClock() override;
    float Next() override;

    // Maps one 32-bit draw to [0, 1). Exposed so that its bounds can be checked
    // at the extreme inputs.
    static float ToUnit(std::uint32_t bits);

private:
    std::mt19937 engine_;
};

} // namespace drill
