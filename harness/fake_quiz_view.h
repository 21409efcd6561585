// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "question_bank.h"
#include "quiz_view.h"
#include "random_source.h"

namespace drill::testing {

// Records everything the quiz shows; the answer box is set by the test.
class FakeQuizView : public QuizView {
public:
    struct Message {
        std::string text, title;
        MessageIcon icon;
    };

    std::string answer = "Записывать здесь";
    std::string problem, questionNo, mistakes;
    std::string verdict = "Исправления - до нажатия ПРИНЯТЬ ОТВЕТ";
    int startHidden = 0;
    int ruleShown = 0;
    int ended = 0;
    int mistakeTextSets = 0;
    std::vector<Message> messages;

    std::string AnswerText() const override { return answer; }
    void SetAnswerText(const std::string& text) override { answer = text; }
    void SetProblemText(const std::string& text) override { problem = text; }
    void SetQuestionNoText(const std::string& text) override { questionNo = text; }
    void SetMistakeText(const std::string& text) override {
        mistakes = text;
        ++mistakeTextSets;
    }
    void SetVerdictText(const std::string& text) override { verdict = text; }
    void HideStartButton() override { ++startHidden; }
    void ShowRuleWindow() override { ++ruleShown; }
    void ShowMessage(const std::string& text, const std::string& title, MessageIcon icon) override {
        messages.push_back({text, title, icon});
    }
    void EndProgram() override { ++ended; }
};

// Plays back scripted draws first, then a fixed-seed generator, so that tests
// can choose the first questions and still get a complete shuffle.
class ScriptedRandom : public RandomSource {
public:
    explicit ScriptedRandom(std::deque<float> script = {}, unsigned seed = 1)
        : script_(std::move(script)), engine_(seed) {}

    int seeds = 0;

    void SeedFromClock() override { ++seeds; }
    float Next() override {
        if (!script_.empty()) {
            const float u = script_.front();
            script_.pop_front();
            return u;
        }
        return std::uniform_int_distribution<int>(0, (1 << 24) - 1)(engine_) * 0x1p-24f;
    }

    // A draw that lands on the given id (1-based).
    static float DrawFor(int id) { return (static_cast<float>(id) - 0.5f) / 20.0f; }

private:
    std::deque<float> script_;
    std::mt19937 engine_;
};

// The question whose problem is on show, for tests that read the window and
// must answer it; every problem of the bank is distinct.
inline const Question& QuestionShowing(std::string_view problem) {
    for (int id = 1; id <= QuestionBank::Count; ++id) {
        if (QuestionBank::Get(id).Problem == problem) {
            return QuestionBank::Get(id);
        }
    }
    throw std::invalid_argument("no question shows " + std::string(problem));
}

} // namespace drill::testing
