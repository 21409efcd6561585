// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace drill {

// A counter that starts blank: blank compares as 0, becomes 1 on the first
// increment and is shown as the empty text. It is 64 bits wide so that no
// number of button presses in one sitting can overflow it.
class OptionalCount {
public:
    OptionalCount() = default;

    bool IsBlank() const { return blank_; }
    std::int64_t Value() const { return blank_ ? 0 : value_; }

    OptionalCount& operator=(std::int64_t value) {
        blank_ = false;
        value_ = value;
        return *this;
    }

    OptionalCount& operator++() { return *this = Value() + 1; }

    std::string Text() const { return blank_ ? std::string() : std::to_string(value_); }

    friend bool operator==(const OptionalCount& a, std::int64_t b) { return a.Value() == b; }
    friend auto operator<=>(const OptionalCount& a, std::int64_t b) { return a.Value() <=> b; }

private:
    bool blank_ = true;
    std::int64_t value_ = 0;
};

} // namespace drill
