// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace drill::win {

// The main window's background picture, unpacked from the program's resources
// (picture_rows.h) at the size for a DPI: the picture for 96 dpi unscaled at
// 96, the double-size one above 120, each scaled to the window otherwise.
class Picture {
public:
    Picture() = default;
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    // False if the resource is missing or cannot be decoded.
    bool Render(int dpi);
    // The part of the picture within `area`.
    void Draw(HDC dc, const RECT& area) const;

private:
    void Unpack(HDC dc, const RECT& area) const;

    // Scaled, a bitmap; at its own size, unpacked anew a band of rows at a
    // time as it is painted (mostly once), not held whole in memory.
    HBITMAP bitmap_ = nullptr;
    const std::uint8_t* packed_ = nullptr;
    std::size_t packedSize_ = 0;
    mutable std::vector<std::uint32_t> band_;
    int width_ = 0, height_ = 0;
};

} // namespace drill::win
