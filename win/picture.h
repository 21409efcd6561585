// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

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
    void Draw(HDC dc) const;

private:
    HBITMAP bitmap_ = nullptr;
    int width_ = 0, height_ = 0;
};

} // namespace drill::win
