// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

#include "fake_quiz_view.h"
#include "quiz.h"

namespace {

using drill::MessageIcon;
using drill::QuestionBank;
using drill::Quiz;
using drill::testing::FakeQuizView;
using drill::testing::ScriptedRandom;

const std::string kTitle = "Перенос слагаемых из одной части уравнения в другую";
const std::string kHint = "Исправления - до нажатия ПРИНЯТЬ ОТВЕТ";

struct Drill {
    explicit Drill(std::deque<float> script = {}, unsigned seed = 1) : random(script, seed) {}

    FakeQuizView view;
    ScriptedRandom random;
    Quiz quiz{view, random};

    const drill::Question& OnShow() const {
        return QuestionBank::Get(quiz.QuestionOrder()[quiz.QuestionNo().Value() - 1]);
    }
    void Answer(const std::string& text) {
        view.answer = text;
        quiz.AcceptAnswer();
    }
    void AnswerCorrectly() { Answer(OnShow().Answer1); }
};

TEST(QuizStart, ShowsTheFirstShuffledQuestion) {
    Drill d;
    d.quiz.Start();

    const auto& order = d.quiz.QuestionOrder();
    std::array<std::uint8_t, 20> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(sorted[i], i + 1) << "the order holds each id exactly once";
    }
    EXPECT_EQ(d.view.problem, QuestionBank::Get(order[0]).Problem);
    EXPECT_EQ(d.quiz.Problem(), QuestionBank::Get(order[0]).Problem);
    EXPECT_EQ(d.quiz.Answer4(), QuestionBank::Get(order[0]).Answer4);
    EXPECT_EQ(d.view.questionNo, "1");
    EXPECT_EQ(d.view.answer, "");
    EXPECT_EQ(d.view.mistakes, "");
    EXPECT_EQ(d.view.verdict, kHint);
    EXPECT_EQ(d.view.startHidden, 1);
    EXPECT_EQ(d.random.seeds, 1);
    EXPECT_TRUE(d.quiz.MistakeCount().IsBlank());
    EXPECT_EQ(d.quiz.AnswerAccepted(), 0);
}

TEST(QuizStart, ShuffleRedrawsTakenIds) {
    // 3, then 3 again (taken), then the largest and the smallest draws.
    Drill d({ScriptedRandom::DrawFor(3), ScriptedRandom::DrawFor(3), 0.99999994f, 0.0f});
    d.quiz.Start();
    const auto& order = d.quiz.QuestionOrder();
    EXPECT_EQ(order[0], 3);
    EXPECT_EQ(order[1], 20);
    EXPECT_EQ(order[2], 1);
    EXPECT_EQ(d.view.problem, QuestionBank::Get(3).Problem);
}

// A source that breaks its promise stops the shuffle loudly, and the drill
// stays unstarted, rather than cast a draw with no id or draw for ever.
TEST(QuizStart, ABrokenRandomSourceThrows) {
    const float inf = std::numeric_limits<float>::infinity();
    const std::string outside = "random draw outside [0, 1)";
    struct Row {
        const char* source;
        std::deque<float> script;
        std::string message;
    };
    for (const auto& [source, script, message] : std::initializer_list<Row>{
             {"NaN", {std::numeric_limits<float>::quiet_NaN()}, outside},
             {"infinity", {inf}, outside},
             {"minus infinity", {-inf}, outside},
             {"negative", {-0.001f}, outside},
             {"1 after a good draw", {ScriptedRandom::DrawFor(3), 1.0f}, outside},
             {"stuck", std::deque<float>(2000, ScriptedRandom::DrawFor(3)),
              "random source gives no free question id"}}) {
        Drill d(script);
        try {
            d.quiz.Start();
            ADD_FAILURE() << source << ": no exception";
        } catch (const std::logic_error& e) {
            EXPECT_EQ(e.what(), message) << source;
        }
        EXPECT_TRUE(d.quiz.QuestionNo().IsBlank()) << source;
        EXPECT_EQ(d.quiz.QuestionOrder(), Quiz::Order{}) << source;
        EXPECT_EQ(d.view.problem, "") << source;
    }
}

TEST(QuizStart, SecondStartOnlyClearsTheBoxAndKeepsTheOrder) {
    Drill d;
    d.quiz.Start();
    const auto order = d.quiz.QuestionOrder();
    d.Answer("abc");
    d.quiz.Start();
    EXPECT_EQ(d.quiz.QuestionOrder(), order);
    EXPECT_EQ(d.random.seeds, 1);
    EXPECT_EQ(d.view.answer, "");
    EXPECT_EQ(d.view.startHidden, 2);
    EXPECT_EQ(d.view.questionNo, "1");
    EXPECT_EQ(d.quiz.AnswerAccepted(), 0);
    EXPECT_EQ(d.quiz.AnswerCount(), 1) << "the judged answer stays judged";
}

TEST(QuizStart, EveryIdIsEquallyLikelyInEverySlot) {
    // 4000 shuffles: each (slot, id) cell expects 200; a biased draw would
    // skew whole rows far beyond this bound.
    std::array<std::array<int, 20>, 20> counts{};
    ScriptedRandom random({}, 12345);
    for (int run = 0; run < 4000; ++run) {
        FakeQuizView view;
        Quiz quiz(view, random);
        quiz.Start();
        for (int slot = 0; slot < 20; ++slot) {
            ++counts[slot][quiz.QuestionOrder()[slot] - 1];
        }
    }
    for (int slot = 0; slot < 20; ++slot) {
        double chi = 0;
        for (int c : counts[slot]) {
            chi += (c - 200.0) * (c - 200.0) / 200.0;
        }
        EXPECT_LT(chi, 55.0) << "slot " << slot + 1;
    }
}

TEST(QuizAnswer, FirstNonEmptyAnswerIsJudged) {
    Drill right({ScriptedRandom::DrawFor(1)});
    right.quiz.Start();
    right.Answer("5x-x=2+4");
    EXPECT_EQ(right.view.verdict, "Верно");
    EXPECT_TRUE(right.quiz.MistakeCount().IsBlank());

    for (const std::string typed : {" 5x-x=4+2", "5x-x=4+2 ", "5X-x=4+2", "5x - x = 4 + 2"}) {
        Drill wrong({ScriptedRandom::DrawFor(1)});
        wrong.quiz.Start();
        wrong.Answer(typed);
        EXPECT_EQ(wrong.view.verdict, "Ошибка") << typed;
        EXPECT_EQ(wrong.quiz.MistakeCount(), 1) << typed;
        EXPECT_EQ(wrong.view.mistakes, "") << "the display catches up at the next question";
    }
}

TEST(QuizAnswer, StrayBlankAnswersAreAcceptedBothWays) {
    for (const auto& [id, typed] : std::initializer_list<std::pair<int, std::string>>{
             {9, "x+6x=-5-1"}, {9, " x+6x=-5-1"}, {11, "x-3x=3+12"}, {6, "x+x=-1-1"}}) {
        Drill d({ScriptedRandom::DrawFor(id)});
        d.quiz.Start();
        d.Answer(typed);
        EXPECT_EQ(d.view.verdict, "Верно") << id << " \"" << typed << "\"";
    }
}

TEST(QuizAnswer, LaterAcceptancesChangeNothing) {
    Drill d({ScriptedRandom::DrawFor(1)});
    d.quiz.Start();
    d.Answer("wrong");
    EXPECT_EQ(d.view.verdict, "Ошибка");
    d.Answer("5x-x=4+2");
    d.Answer("wrong again");
    d.Answer("");
    EXPECT_EQ(d.view.verdict, "Ошибка");
    EXPECT_EQ(d.quiz.MistakeCount(), 1);
    EXPECT_EQ(d.quiz.AnswerCount(), 3);
}

TEST(QuizAnswer, EmptyAcceptanceJudgesNothingButLiftsTheRefusal) {
    Drill d;
    d.quiz.Start();
    d.Answer("");
    EXPECT_EQ(d.view.verdict, kHint);
    EXPECT_EQ(d.quiz.AnswerCount(), 0);
    EXPECT_EQ(d.quiz.AnswerAccepted(), 1);

    d.view.answer = "typed after accepting";
    d.quiz.NextExample();
    EXPECT_TRUE(d.view.messages.empty());
    EXPECT_EQ(d.view.questionNo, "2");
    EXPECT_EQ(d.view.mistakes, "1") << "moving on without a judged answer is a mistake";
}

TEST(QuizNext, TypedButNotAcceptedIsRefused) {
    Drill d;
    d.quiz.Start();
    const std::string problem = d.view.problem;
    d.view.answer = "5x";
    d.quiz.NextExample();
    ASSERT_EQ(d.view.messages.size(), 1u);
    EXPECT_EQ(d.view.messages[0].text, "Подтвердите принятие ответа");
    EXPECT_EQ(d.view.messages[0].title, kTitle);
    EXPECT_EQ(d.view.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(d.view.answer, "5x");
    EXPECT_EQ(d.view.problem, problem);
    EXPECT_EQ(d.view.questionNo, "1");
    EXPECT_EQ(d.view.mistakeTextSets, 0);
    EXPECT_TRUE(d.quiz.MistakeCount().IsBlank());
}

// Every new question asks for its own acceptance again, not only the first.
TEST(QuizNext, TypedButNotAcceptedIsRefusedOnEveryQuestion) {
    Drill d;
    d.quiz.Start();
    for (int n = 1; n <= 20; ++n) {
        d.view.answer = "5x";
        d.quiz.NextExample();
        ASSERT_EQ(d.view.messages.size(), static_cast<std::size_t>(n)) << "question " << n;
        EXPECT_EQ(d.view.messages.back().text, "Подтвердите принятие ответа");
        EXPECT_EQ(d.view.questionNo, std::to_string(n));
        d.quiz.AcceptAnswer();
        d.quiz.NextExample();
    }
    EXPECT_EQ(d.view.messages.back().text, "Опрос окончен.");
}

TEST(QuizNext, PressesBeforeTheStartCountNothing) {
    Drill d({ScriptedRandom::DrawFor(1)});
    d.quiz.NextExample(); // the box still holds its hint text
    ASSERT_EQ(d.view.messages.size(), 1u);
    EXPECT_EQ(d.view.messages[0].text, "Подтвердите принятие ответа");

    d.quiz.AcceptAnswer();
    d.quiz.AcceptAnswer();
    d.quiz.NextExample();
    d.quiz.NextExample();
    EXPECT_EQ(d.view.messages.size(), 1u);
    EXPECT_EQ(d.view.mistakes, "");
    EXPECT_EQ(d.view.verdict, kHint);
    EXPECT_TRUE(d.quiz.QuestionNo().IsBlank());

    d.quiz.AcceptAnswer(); // no "Ещё пример" after it: only the start resets the count
    d.quiz.Start();
    d.Answer("5x-x=4+2");
    EXPECT_EQ(d.view.verdict, "Верно") << "earlier presses must not use up the first judgement";
}

TEST(QuizNext, MistakesAreShownFromTheQuestionAfter) {
    Drill d;
    d.quiz.Start();
    std::vector<std::string> shown; // mistake display after each move
    for (int n = 1; n <= 20; ++n) {
        if (n == 3) {
            d.Answer("0=0");
        } else if (n == 7) {
            d.Answer("");
        } else {
            d.AnswerCorrectly();
        }
        d.quiz.NextExample();
        shown.push_back(d.view.mistakes);
    }
    EXPECT_EQ(shown[1], "") << "after question 2";
    EXPECT_EQ(shown[2], "1") << "after question 3";
    EXPECT_EQ(shown[5], "1") << "after question 6";
    EXPECT_EQ(shown[6], "2") << "after question 7";
    EXPECT_EQ(shown[19], "2");
    EXPECT_EQ(d.quiz.MistakeCount(), 2);
}

TEST(QuizNext, TheEndIsAnnouncedAndRepeatedWithoutCounting) {
    Drill d;
    d.quiz.Start();
    std::vector<int> seen;
    for (int n = 1; n <= 20; ++n) {
        seen.push_back(d.quiz.QuestionOrder()[n - 1]);
        EXPECT_EQ(d.view.questionNo, std::to_string(n));
        EXPECT_EQ(d.view.problem, d.OnShow().Problem);
        d.AnswerCorrectly();
        EXPECT_EQ(d.view.verdict, "Верно") << "question " << n;
        d.quiz.NextExample();
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(std::unique(seen.begin(), seen.end()), seen.end());

    ASSERT_EQ(d.view.messages.size(), 1u);
    EXPECT_EQ(d.view.messages[0].text, "Опрос окончен.");
    EXPECT_EQ(d.view.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(d.view.mistakes, "");
    EXPECT_EQ(d.view.questionNo, "20") << "the last question stays on show";
    const std::string last = d.view.problem;

    d.Answer("anything");
    EXPECT_EQ(d.view.verdict, kHint) << "nothing is judged after the end";
    d.quiz.NextExample();
    d.quiz.NextExample();
    EXPECT_EQ(d.view.messages.size(), 3u);
    EXPECT_EQ(d.view.messages.back().text, "Опрос окончен.");
    EXPECT_EQ(d.view.answer, "");
    EXPECT_EQ(d.view.problem, last);
    EXPECT_EQ(d.view.mistakes, "");
    EXPECT_TRUE(d.quiz.MistakeCount().IsBlank());
    EXPECT_EQ(d.quiz.QuestionNo(), 23);

    // The acceptance made after the end still counts: no new question resets it.
    d.view.answer = "x";
    d.quiz.NextExample();
    EXPECT_EQ(d.view.messages.back().text, "Опрос окончен.");
    EXPECT_EQ(d.view.answer, "");
}

TEST(QuizRule, OpensExceptWhileAQuestionWaits) {
    Drill d;
    d.quiz.ShowRule();
    EXPECT_EQ(d.view.ruleShown, 1) << "before the start";

    d.quiz.Start();
    d.quiz.ShowRule();
    ASSERT_EQ(d.view.messages.size(), 1u);
    EXPECT_EQ(d.view.messages[0].text, "Вначале дайте ответ, затем можете повторить правило.");
    EXPECT_EQ(d.view.messages[0].title, kTitle);
    EXPECT_EQ(d.view.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(d.view.ruleShown, 1);

    // Accepting an empty box judges nothing: the question still waits.
    d.Answer("");
    d.quiz.ShowRule();
    ASSERT_EQ(d.view.messages.size(), 2u);
    EXPECT_EQ(d.view.messages[1].text, "Вначале дайте ответ, затем можете повторить правило.");
    EXPECT_EQ(d.view.ruleShown, 1);

    d.Answer("wrong");
    d.quiz.ShowRule();
    EXPECT_EQ(d.view.ruleShown, 2) << "after a judged answer";

    for (int n = 1; n <= 20; ++n) {
        d.Answer("");
        d.quiz.NextExample();
    }
    d.quiz.ShowRule();
    EXPECT_EQ(d.view.ruleShown, 3) << "after the end";
}

TEST(QuizQuit, EndsTheProgram) {
    Drill d;
    d.quiz.Quit();
    EXPECT_EQ(d.view.ended, 1);
    EXPECT_TRUE(d.view.messages.empty());
}

TEST(OptionalCount, BlankBehavesAsZeroAndShowsEmpty) {
    drill::OptionalCount c;
    EXPECT_TRUE(c.IsBlank());
    EXPECT_EQ(c, 0);
    EXPECT_FALSE(c > 0);
    EXPECT_EQ(c.Text(), "");
    ++c;
    EXPECT_EQ(c.Text(), "1");
    c = 0;
    EXPECT_FALSE(c.IsBlank());
    EXPECT_EQ(c.Text(), "0");
    c = 4'000'000'000'000LL;
    ++c;
    EXPECT_EQ(c.Text(), "4000000000001");
}

} // namespace
