// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace drill {

enum class MessageIcon { Information, Warning };

// What the quiz needs of its window: read the answer box, change what the
// user sees, and end the program. Texts are UTF-8.
class QuizView {
public:
    virtual ~QuizView() = default;

    virtual std::string AnswerText() const = 0;
    virtual void SetAnswerText(const std::string& text) = 0;
    virtual void SetProblemText(const std::string& text) = 0;
    virtual void SetQuestionNoText(const std::string& text) = 0;
    virtual void SetMistakeText(const std::string& text) = 0;
    virtual void SetVerdictText(const std::string& text) = 0;
    virtual void HideStartButton() = 0;
    virtual void ShowRuleWindow() = 0;
    // Modal: returns once the user has dismissed the message.
    virtual void ShowMessage(const std::string& text, const std::string& title,
                             MessageIcon icon) = 0;
    virtual void EndProgram() = 0;
};

} // namespace drill
