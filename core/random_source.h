// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace drill {

// Uniform pseudo-random numbers for the shuffle.
class RandomSource {
public:
    virtual ~RandomSource() = default;

    virtual void SeedFromClock() = 0;
    // Uniform over [0, 1): never 1.0.
    virtual float Next() = 0;
};

} // namespace drill
