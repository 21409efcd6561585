// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

namespace drill::win {

// The main window's background picture, decoded from the program's JPEG
// resources by the system's own decoder (Windows Imaging Component, in every
// Windows since 7) at the size for a DPI: the picture for 96 dpi unscaled at
// 96, the double-size one from 144 up, each scaled to the window in between.
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
