// SPDX-License-Identifier: GPL-3.0-or-later
#include "binding.h"

#include <utility>

namespace drill::form {

Binding::Binding(Surface& surface)
    : surface_(surface), displays_{std::string(kQuestionNo.text), std::string(kProblem.text),
                                   std::string(kVerdict.text)} {}

bool Binding::Press(Quiz& quiz, const Control& button) {
    for (const Operation& operation : kOperations) {
        if (operation.button == &button) {
            const Displays before = displays_;
            (quiz.*operation.run)();
            if (const std::string said = Announcement(before, displays_); !said.empty()) {
                surface_.Announce(said);
            }
            DescribeControls();
            return true;
        }
    }
    return false;
}

void Binding::ShowAnswer(const std::string& text) {
    surface_.PutText(kAnswerBox, text);
}
void Binding::ShowProblem(const std::string& text) {
    displays_.problem = text;
    surface_.PutText(kProblem, text);
}
void Binding::ShowQuestionNo(const std::string& text) {
    displays_.questionNo = text;
    surface_.PutText(kQuestionNo, text);
}
void Binding::ShowMistakes(const std::string& text) {
    surface_.PutText(kMistakes, text);
}
void Binding::ShowVerdict(const std::string& text) {
    displays_.verdict = text;
    surface_.PutText(kVerdict, text);
}

void Binding::DescribeControls() {
    std::string description = FocusDescription(displays_);
    if (description == described_) {
        return;
    }
    for (const Control& control : kMainWindow.controls) {
        if (control.tabIndex >= 0) {
            surface_.Describe(control, description);
        }
    }
    described_ = std::move(description);
}

} // namespace drill::form
