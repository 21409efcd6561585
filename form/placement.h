// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where a window of the design opens on a screen of any size.

#include "form.h"

namespace drill::form {

// What the window manager adds around the client area, in pixels.
struct FrameMargins {
    int left = 0, top = 0, right = 0, bottom = 0;
    friend constexpr bool operator==(const FrameMargins&, const FrameMargins&) = default;
};

struct Point {
    int x, y;
    friend constexpr bool operator==(Point, Point) = default;
};

// Top-left corner of the client area: the designed one when the whole frame
// fits the available area, else moved just enough to fit. A frame larger than
// the area keeps its top-left corner (title bar and close box) on the screen.
// The window is never resized. A side of the frame reported negative counts as
// none.
Point ClientPosition(const PixelBox& designedClient, const FrameMargins& frame,
                     const PixelBox& available);

} // namespace drill::form
