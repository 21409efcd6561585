// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

#include "accessibility.h"
#include "binding.h"
#include "design.h"
#include "picture.h"
#include "quiz.h"
#include "rule_window.h"

namespace drill::win {

// The drill's main window: shows what the quiz tells it and passes each
// button click to the quiz. The binding shared with the other editions makes
// every decision; this window only carries them out.
class Form1 final : public DesignedWindow, private form::Surface, public form::BoundView {
public:
    // The random source shuffles the questions; it must outlive the window.
    explicit Form1(RandomSource& random);
    ~Form1() override;

    // Makes and shows the window with the focus on its first control. Null if
    // it is open, else why the program cannot start, in words for a message box.
    const wchar_t* Open(int show);
    // What the dialog manager would get wrong: Enter on a focused button
    // clicks it, and Enter in the answer box does nothing. True if taken.
    bool TakeKey(const MSG& message);
    // The windows whose keyboard the dialog manager handles.
    bool IsDrillWindow(HWND window) const;
    // What the program ends with: 0 unless a failure ended it.
    int ExitCode() const { return exitCode_; }

    // QuizView
    std::string AnswerText() const override;
    void HideStartButton() override;
    void ShowRuleWindow() override;
    void ShowMessage(const std::string& text, const std::string& title, MessageIcon icon) override;
    void EndProgram() override;

private:
    // form::Surface
    void PutText(const form::Control& control, const std::string& text) override;
    void Announce(const std::string& text) override;
    void Describe(const form::Control& control, const std::string& description) override;

    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PaintBackground(HDC dc, const RECT& area) override;
    void DpiChanged() override;
    void Press(const form::Control& button);
    void PlaceLiveRegion();

    Picture picture_;
    Annotations annotations_;
    HWND liveRegion_ = nullptr;
    std::unique_ptr<Announcer> announcer_;
    bool painted_ = false;
    HWND focus_ = nullptr; // where the focus goes back to when the window is active again
    int exitCode_ = 0;
    Form2 form2_;
    Quiz quiz_;
};

} // namespace drill::win
