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
    const int frameWidth = frame.left + designedClient.width + frame.right;
    const int frameHeight = frame.top + designedClient.height + frame.bottom;
    const int frameLeft =
        Fit(designedClient.left - frame.left, frameWidth, available.left, available.width);
    const int frameTop =
        Fit(designedClient.top - frame.top, frameHeight, available.top, available.height);
    return {frameLeft + frame.left, frameTop + frame.top};
}

} // namespace drill::form
