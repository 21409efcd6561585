// SPDX-License-Identifier: GPL-3.0-or-later
#include "display_check.h"

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>

namespace drill {

namespace {

// The toolkit takes "--option" for "-option".
bool IsOption(std::string_view arg, std::string_view option) {
    if (arg.starts_with("--")) {
        arg.remove_prefix(1);
    }
    return arg == option;
}

std::string_view Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool CanConnectX11(const std::string& name) {
    xcb_connection_t* connection = xcb_connect(name.c_str(), nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        return false;
    }
    // Kept open for the program's life: a display server that has no other
    // client resets when its last one leaves, and refuses the toolkit's own
    // connection while it does.
    static xcb_connection_t* const kept = connection;
    return kept != nullptr;
}

} // namespace

DisplayPlan PlanDisplayCheck(std::span<const char* const> args, const DisplayEnvironment& env) {
    std::string_view x11Display = env.display;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (IsOption(arg, "-platform")) {
            return {DisplayPlan::LeaveToToolkit};
        }
        if (IsOption(arg, "-display") && i + 1 < args.size()) {
            x11Display = args[++i];
        }
    }
    if (!env.qpaPlatform.empty() || !env.waylandDisplay.empty()) {
        return {DisplayPlan::LeaveToToolkit};
    }
    if (x11Display.empty()) {
        return {DisplayPlan::Missing};
    }
    return {DisplayPlan::TryX11, std::string(x11Display)};
}

bool CheckDisplay(int argc, char** argv) {
    const DisplayPlan plan =
        PlanDisplayCheck({argv, static_cast<std::size_t>(argc)},
                         {Env("QT_QPA_PLATFORM"), Env("WAYLAND_DISPLAY"), Env("DISPLAY")});
    if (plan.kind == DisplayPlan::LeaveToToolkit ||
        (plan.kind == DisplayPlan::TryX11 && CanConnectX11(plan.x11Display))) {
        return true;
    }
    std::fwrite(kNoDisplayMessage.data(), 1, kNoDisplayMessage.size(), stderr);
    return false;
}

} // namespace drill
