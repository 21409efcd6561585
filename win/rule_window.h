// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "design.h"

namespace drill::win {

// The rule window: only read and closed. It has no owner, so it has its own
// taskbar button and stays usable beside the main window.
class Form2 final : public DesignedWindow {
public:
    Form2();

    // Brings the window to the front, making it anew if it is not open.
    // Null once shown, else why it could not be made.
    const wchar_t* Show();
    void Close();
};

} // namespace drill::win
