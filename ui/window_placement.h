// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "form.h"

class QWidget;

namespace drill {

// Puts a top-level window's client area at its designed place, or moved just
// enough for the whole frame to fit the screen's available area; its size is
// left alone. The frame's size is known only once the window manager has
// framed the window, so the place is worked out again then.
void PlaceOnScreen(QWidget& window, const form::TwipBox& designedClient);

} // namespace drill
