// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>

#include "announce.h"
#include "form.h"
#include "quiz.h"

namespace drill::form {

// Which button runs which operation of the quiz: the one list every front end
// connects its buttons from.
struct Operation {
    const Control* button;
    void (Quiz::*run)();
};
inline constexpr std::array kOperations{
    Operation{&kStartButton, &Quiz::Start},      Operation{&kAcceptButton, &Quiz::AcceptAnswer},
    Operation{&kNextButton, &Quiz::NextExample}, Operation{&kRuleButton, &Quiz::ShowRule},
    Operation{&kQuitButton, &Quiz::Quit},
};

// What a front end does for the main window, deciding nothing: put a text into
// one of its controls, and speak through its platform's screen reader.
class Surface {
public:
    virtual void PutText(const Control& control, const std::string& text) = 0;
    // Said at once, without the focus moving; never empty.
    virtual void Announce(const std::string& text) = 0;
    virtual void Describe(const Control& control, const std::string& description) = 0;

protected:
    ~Surface() = default;
};

// The main window's wiring, the same for every front end: which button runs
// which operation of the quiz, which control shows which display, and what a
// screen reader is told after each operation, since the focus does not move.
class Binding {
public:
    explicit Binding(Surface& surface);

    // The click of a button: its operation of the quiz, then the announcement
    // of what it changed and the controls described anew. A control that is
    // no button does nothing and returns false.
    bool Press(Quiz& quiz, const Control& button);

    // What the quiz shows, each into its control.
    void ShowAnswer(const std::string& text);
    void ShowProblem(const std::string& text);
    void ShowQuestionNo(const std::string& text);
    void ShowMistakes(const std::string& text);
    void ShowVerdict(const std::string& text);

    // Each control that takes the focus carries the problem and the verdict in
    // its description, so that a screen reader says them as the focus arrives.
    // Only a changed description is passed on: every change is spoken.
    void DescribeControls();

private:
    Surface& surface_;
    Displays displays_;
    std::optional<std::string> described_;
};

// The QuizView that every front end's main window is: what the quiz shows goes
// to the binding, which names the control it goes into. What only the platform
// can do (read the answer box, move the start button, open the rule window,
// show a message, end the program) is the front end's.
class BoundView : public QuizView {
public:
    void SetAnswerText(const std::string& text) final { binding_.ShowAnswer(text); }
    void SetProblemText(const std::string& text) final { binding_.ShowProblem(text); }
    void SetQuestionNoText(const std::string& text) final { binding_.ShowQuestionNo(text); }
    void SetMistakeText(const std::string& text) final { binding_.ShowMistakes(text); }
    void SetVerdictText(const std::string& text) final { binding_.ShowVerdict(text); }

protected:
    // The surface must be a base constructed before this one, or a member
    // that outlives it: the binding keeps the reference.
    explicit BoundView(Surface& surface) : binding_(surface) {}
    Binding& binding() { return binding_; }

private:
    Binding binding_;
};

} // namespace drill::form
