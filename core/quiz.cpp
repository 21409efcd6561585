// SPDX-License-Identifier: GPL-3.0-or-later
#include "quiz.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "answer_check.h"
#include "quiz_texts.h"

namespace drill {

Quiz::Quiz(QuizView& view, RandomSource& random) : view_(view), random_(random) {}

bool Quiz::QuestionOnShow() const {
    return questionNo_ >= 1 && questionNo_ <= QuestionBank::Count;
}

void Quiz::Start() {
    view_.HideStartButton();
    answerAccepted_ = 0;
    view_.SetAnswerText("");
    if (questionNo_ != 0) {
        // The hidden button still answers the keyboard; a repeat only clears.
        return;
    }
    ShuffleOrder();
    questionNo_ = 1;
    answerCount_ = 0;
    LoadQuestion();
    view_.SetProblemText(current_.Problem);
    view_.SetQuestionNoText("1");
}

// Fills the order slot by slot, drawing again whenever the id is already taken.
// A source that breaks its promise stops the shuffle with an exception, and
// the order stays as it was: a draw outside [0, 1) has no id (and NaN or
// infinity cannot even be cast), and one that never gives a free id would
// keep the shuffle drawing for ever.
void Quiz::ShuffleOrder() {
    // A sound source misses the last free id this often in a row with a
    // chance of 0.95^1000, about 10^-22.
    constexpr int kMaxDrawsPerSlot = 1000;
    random_.SeedFromClock();
    Order order{};
    for (auto& slot : order) {
        for (int draws = 1;; ++draws) {
            const float u = random_.Next();
            if (!(u >= 0.0f && u < 1.0f)) {
                throw std::out_of_range("random draw outside [0, 1)");
            }
            // Exact in double, so that no rounding can reach id 21.
            const auto d = static_cast<std::uint8_t>(
                std::floor(static_cast<double>(u) * QuestionBank::Count) + 1);
            if (std::find(order.begin(), order.end(), d) == order.end()) {
                slot = d;
                break;
            }
            if (draws == kMaxDrawsPerSlot) {
                throw std::logic_error("random source gives no free question id");
            }
        }
    }
    questionOrder_ = order;
}

void Quiz::LoadQuestion() {
    const auto slot = static_cast<std::size_t>(questionNo_.Value() - 1);
    current_ = QuestionBank::Get(questionOrder_[slot]);
}

void Quiz::AcceptAnswer() {
    answerAccepted_ = 1;
    const std::string answer = view_.AnswerText();
    if (answer.empty()) {
        return;
    }
    ++answerCount_;
    if (answerCount_ > 1) {
        return; // only the first non-empty answer to a question is judged
    }
    if (!QuestionOnShow()) {
        return;
    }
    if (IsAcceptedAnswer(answer, current_)) {
        view_.SetVerdictText(texts::kCorrect);
    } else {
        ++mistakeCount_;
        // The mistake display catches up at the next question.
        view_.SetVerdictText(texts::kWrong);
    }
}

void Quiz::NextExample() {
    if (!view_.AnswerText().empty() && answerAccepted_ == 0) {
        view_.ShowMessage(texts::kConfirmAnswer, texts::kTitle, MessageIcon::Information);
        return;
    }
    if (QuestionOnShow() && answerCount_ == 0) {
        ++mistakeCount_; // moved past without a judged answer
    }
    view_.SetMistakeText(mistakeCount_.Text());
    answerCount_ = 0;
    if (questionNo_ == 0) {
        return;
    }
    view_.SetVerdictText(texts::kVerdictHint);
    view_.SetAnswerText("");
    ++questionNo_;
    if (questionNo_ > QuestionBank::Count) {
        view_.ShowMessage(texts::kDrillOver, texts::kTitle, MessageIcon::Information);
        return;
    }
    LoadQuestion();
    view_.SetProblemText(current_.Problem);
    view_.SetQuestionNoText(questionNo_.Text());
    answerAccepted_ = 0;
}

void Quiz::ShowRule() {
    if (QuestionOnShow() && answerCount_ == 0) {
        view_.ShowMessage(texts::kAnswerFirst, texts::kTitle, MessageIcon::Warning);
        return;
    }
    view_.ShowRuleWindow();
}

void Quiz::Quit() {
    view_.EndProgram();
}

} // namespace drill
