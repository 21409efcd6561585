// SPDX-License-Identifier: GPL-3.0-or-later
#include "placement.h"

#include <algorithm>

namespace drill::form {

namespace {

// Start of a frame of `length` placed at `wanted`, pulled inside [low, low + room).
int Fit(int wanted, int length, int low, int room) {
    return std::max(low, std::min(wanted, low + room - length));
}

} // namespace

Point ClientPosition(const PixelBox& designedClient, const FrameMargins& frame,
                     const PixelBox& available) {
    // Margins read while the window manager is still building the frame can
    // come out negative, as if the frame were smaller than the window; no side
    // of a frame is.
    const FrameMargins sides{std::max(0, frame.left), std::max(0, frame.top),
                             std::max(0, frame.right), std::max(0, frame.bottom)};
    const int frameWidth = sides.left + designedClient.width + sides.right;
    const int frameHeight = sides.top + designedClient.height + sides.bottom;
    const int frameLeft =
        Fit(designedClient.left - sides.left, frameWidth, available.left, available.width);
    const int frameTop =
        Fit(designedClient.top - sides.top, frameHeight, available.top, available.height);
    return {frameLeft + sides.left, frameTop + sides.top};
}

} // namespace drill::form
