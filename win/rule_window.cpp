// SPDX-License-Identifier: GPL-3.0-or-later
#include "rule_window.h"

namespace drill::win {

Form2::Form2() : DesignedWindow(form::kRuleWindow) {}

const wchar_t* Form2::Show() {
    if (Handle() == nullptr) {
        if (const wchar_t* failure =
                Create(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, WS_EX_APPWINDOW)) {
            Close();
            return failure;
        }
    }
    ShowWindow(Handle(), IsIconic(Handle()) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(Handle());
    return nullptr;
}

void Form2::Close() {
    if (Handle() != nullptr) {
        DestroyWindow(Handle());
    }
}

} // namespace drill::win
