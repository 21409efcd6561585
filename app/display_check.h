// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Before the toolkit starts: is there a display to open windows on? Without
// one the toolkit aborts with a message about reinstalling, which reads like
// a crash; a user is better told where to start the program from.

#include <span>
#include <string>
#include <string_view>

namespace drill {

inline constexpr std::string_view kNoDisplayMessage =
    "transpose-drill: no graphical display found (DISPLAY / WAYLAND_DISPLAY); start it from a "
    "desktop session — графический дисплей не найден; запустите программу из сеанса рабочего "
    "стола\n";

struct DisplayEnvironment {
    std::string_view qpaPlatform;    // QT_QPA_PLATFORM
    std::string_view waylandDisplay; // WAYLAND_DISPLAY
    std::string_view display;        // DISPLAY
};

struct DisplayPlan {
    enum Kind {
        LeaveToToolkit, // a platform was chosen, or Wayland: the toolkit knows best
        Missing,        // nowhere to show a window
        TryX11,         // an X display to try to connect to
    } kind;
    std::string x11Display = {};
    friend bool operator==(const DisplayPlan&, const DisplayPlan&) = default;
};

// What to check, from the command line (as the toolkit reads its -platform
// and -display options) and the environment.
DisplayPlan PlanDisplayCheck(std::span<const char* const> args, const DisplayEnvironment& env);

// True when a window can be shown, or the toolkit was told where to show it;
// otherwise prints kNoDisplayMessage on stderr and returns false.
bool CheckDisplay(int argc, char** argv);

} // namespace drill
