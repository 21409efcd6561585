// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "optional_count.h"
#include "question_bank.h"
#include "quiz_view.h"
#include "random_source.h"

namespace drill {

// One run of the drill: the state behind the main window and the five
// operations its buttons call. Every decision is made here; the view only
// displays what it is told.
class Quiz {
public:
    // Slot i of the order (1-based) is element i - 1.
    using Order = std::array<std::uint8_t, QuestionBank::Count>;

    Quiz(QuizView& view, RandomSource& random);

    // Throws std::logic_error when the random source breaks its promise (a
    // draw outside [0, 1), or no free id in a long run of draws), with the
    // drill still not started.
    void Start();
    void AcceptAnswer();
    void NextExample();
    void ShowRule();
    void Quit();

    const OptionalCount& QuestionNo() const { return questionNo_; }
    const Order& QuestionOrder() const { return questionOrder_; }
    const OptionalCount& AnswerCount() const { return answerCount_; }
    const OptionalCount& MistakeCount() const { return mistakeCount_; }
    const OptionalCount& AnswerAccepted() const { return answerAccepted_; }
    const std::string& Problem() const { return current_.Problem; }
    const std::string& Answer1() const { return current_.Answer1; }
    const std::string& Answer4() const { return current_.Answer4; }

private:
    bool QuestionOnShow() const;
    void ShuffleOrder();
    void LoadQuestion();

    QuizView& view_;
    RandomSource& random_;

    OptionalCount questionNo_;
    Order questionOrder_{};
    OptionalCount answerCount_;
    OptionalCount mistakeCount_;
    OptionalCount answerAccepted_;
    Question current_;
};

} // namespace drill
