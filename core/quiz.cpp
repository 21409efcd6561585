// SPDX-License-Identifier: GPL-3.0-or-later
#include "quiz.h"

#include <algorithm>
#include <cmath>

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
void Quiz::ShuffleOrder() {
    random_.SeedFromClock();
    for (auto& slot : questionOrder_) {
        for (;;) {
            const float u = random_.Next();
            const auto d = static_cast<long>(std::floor(u * QuestionBank::Count)) + 1;
            // Out-of-range draws are redrawn, whatever the random source does.
            if (d < 1 || d > QuestionBank::Count) {
                continue;
            }
            if (std::find(questionOrder_.begin(), questionOrder_.end(), d) ==
                questionOrder_.end()) {
                slot = static_cast<std::uint8_t>(d);
                break;
            }
        }
    }
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
