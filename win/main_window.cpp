// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window.h"

#include <exception>

#include "form.h"
#include "system.h"

namespace drill::win {

namespace {

// The live region's identifier: no control of the table's.
constexpr int kLiveRegionId = kFirstControlId - 1;
// Posted after the first paint: what can wait until the window is on screen.
constexpr UINT kPainted = WM_APP;

} // namespace

Form1::Form1(RandomSource& random)
    : DesignedWindow(form::kMainWindow), BoundView(static_cast<form::Surface&>(*this)),
      quiz_(*this, random) {}

Form1::~Form1() {
    annotations_.Clear();
}

const wchar_t* Form1::Open(int show) {
    if (const wchar_t* failure =
            Create(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0)) {
        return failure;
    }
    if (!picture_.Render(Dpi())) {
        return L"не удалось загрузить её фоновый рисунок";
    }
    // Beside the controls, never on screen: what screen readers are told.
    liveRegion_ =
        CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_NOPREFIX, 0, 0, 1, 1,
                        Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLiveRegionId)),
                        GetModuleHandleW(nullptr), nullptr);
    if (liveRegion_ == nullptr) {
        return L"не удалось создать окно";
    }
    PlaceLiveRegion();
    announcer_ = std::make_unique<Announcer>(liveRegion_);
    annotations_.LiveRegion(liveRegion_);
    for (const form::Control& control : form::kMainWindow.controls) {
        if (control.kind == form::Kind::Button) {
            // Owner-drawn: said to be a push button all the same.
            annotations_.PushButton(ControlWindow(control));
        }
        if (!control.accessibleName.empty()) {
            annotations_.Name(ControlWindow(control), Wide(control.accessibleName));
        }
        if (!control.accessibleDescription.empty()) {
            annotations_.Description(ControlWindow(control), Wide(control.accessibleDescription));
        }
    }
    binding().DescribeControls();

    focus_ = ControlWindow(*form::kMainWindow.TabOrder().front());
    ShowWindow(Handle(), show);
    SetFocus(focus_);
    return nullptr;
}

void Form1::PlaceLiveRegion() {
    SetWindowPos(liveRegion_, nullptr, form::Px(form::kHiddenButtonLeft, Dpi()),
                 form::Px(form::kHiddenButtonTop, Dpi()), 1, 1, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Form1::TakeKey(const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_RETURN) {
        return false;
    }
    const form::Control* control = ControlOf(GetFocus());
    if (control == nullptr) {
        return false;
    }
    Press(*control); // the binding presses buttons only
    return true;
}

bool Form1::IsDrillWindow(HWND window) const {
    return window != nullptr && (window == Handle() || window == form2_.Handle());
}

void Form1::Press(const form::Control& button) {
    try {
        binding().Press(quiz_, button);
    } catch (const std::exception&) {
        // Only a broken random source or a full memory get here: say so, and end.
        MessageBoxW(Handle(), L"Внутренняя ошибка программы. Программа будет закрыта.",
                    Wide(form::kMainWindow.caption).c_str(), MB_OK | MB_ICONERROR);
        exitCode_ = 1;
        EndProgram();
    }
}

std::string Form1::AnswerText() const {
    return Utf8(TextOf(ControlWindow(form::kAnswerBox)));
}

void Form1::HideStartButton() {
    MoveControl(form::kStartButton, {form::kHiddenButtonLeft, form::kHiddenButtonTop});
}

void Form1::ShowRuleWindow() {
    if (const wchar_t* failure = form2_.Show()) {
        MessageBoxW(Handle(),
                    (std::wstring(L"Окно правила не открылось: ") + failure + L".").c_str(),
                    Wide(form::kMainWindow.caption).c_str(), MB_OK | MB_ICONWARNING);
    }
}

void Form1::ShowMessage(const std::string& text, const std::string& title, MessageIcon icon) {
    MessageBoxW(Handle(), Wide(text).c_str(), Wide(title).c_str(),
                MB_OK | (icon == MessageIcon::Warning ? MB_ICONWARNING : MB_ICONINFORMATION));
}

void Form1::EndProgram() {
    // The rule window serves only this drill: it goes with it.
    form2_.Close();
    if (Handle() != nullptr) {
        DestroyWindow(Handle());
    }
}

void Form1::PutText(const form::Control& control, const std::string& text) {
    HWND window = ControlWindow(control);
    const std::wstring wide = Wide(text);
    // A label or button already showing the text is not drawn again; the
    // answer box is always set, which also puts its caret back at the start.
    if (control.kind != form::Kind::TextBox && TextOf(window) == wide) {
        return;
    }
    SetWindowTextW(window, wide.c_str());
}
void Form1::Announce(const std::string& text) {
    if (announcer_) {
        announcer_->Say(text);
    }
}
void Form1::Describe(const form::Control& control, const std::string& description) {
    annotations_.Description(ControlWindow(control), Wide(description));
}

void Form1::PaintBackground(HDC dc, const RECT& area) {
    DesignedWindow::PaintBackground(dc, area);
    picture_.Draw(dc, area);
    if (!painted_) {
        painted_ = true;
        PostMessageW(Handle(), kPainted, 0, 0);
    }
}

void Form1::DpiChanged() {
    picture_.Render(Dpi());
    PlaceLiveRegion();
}

LRESULT Form1::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        // An owner-drawn button reports the second click of a double click as
        // a double click: it is a click all the same.
        if (HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == BN_DOUBLECLICKED) {
            const form::Control* control = ControlOf(reinterpret_cast<HWND>(lParam));
            if (control != nullptr) {
                Press(*control);
            }
            return 0;
        }
        break;
    case WM_ACTIVATE:
        // A plain window does not remember its focus as a dialog does: no
        // operation moves it, so it comes back to where it was.
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (ControlOf(GetFocus()) != nullptr) {
                focus_ = GetFocus();
            }
        } else if (HIWORD(wParam) == 0 && focus_ != nullptr) {
            SetFocus(focus_);
            return 0;
        }
        break;
    case WM_SETFOCUS:
        if (focus_ != nullptr) {
            SetFocus(focus_);
            return 0;
        }
        break;
    case kPainted:
        if (announcer_) {
            announcer_->Prepare();
        }
        return 0;
    case WM_CLOSE:
        EndProgram();
        return 0;
    case WM_DESTROY:
        annotations_.Clear();
        PostQuitMessage(exitCode_);
        return 0;
    default:
        break;
    }
    return Handle(message, wParam, lParam);
}

} // namespace drill::win
