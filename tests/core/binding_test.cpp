// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's wiring shared by every front end, against the real quiz:
// each button's operation, where each display lands, what is announced and
// described.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "binding.h"
#include "fake_quiz_view.h"
#include "quiz.h"

namespace {

using drill::Quiz;
namespace form = drill::form;
namespace fake = drill::testing;

// A front end that records what it is told, its displays passed to the binding.
struct Front : form::Surface, fake::FakeQuizView {
    form::Binding binding{*this};
    fake::ScriptedRandom random;
    Quiz quiz{*this, random};
    std::map<std::string, std::string> shown; // control name -> text
    std::vector<std::string> said;
    std::map<std::string, std::vector<std::string>> described;

    void PutText(const form::Control& c, const std::string& text) override {
        shown[std::string(c.name)] = text;
    }
    void Announce(const std::string& text) override { said.push_back(text); }
    void Describe(const form::Control& c, const std::string& text) override {
        described[std::string(c.name)].push_back(text);
    }
    void SetAnswerText(const std::string& t) override { binding.ShowAnswer(t); }
    void SetProblemText(const std::string& t) override { binding.ShowProblem(t); }
    void SetQuestionNoText(const std::string& t) override { binding.ShowQuestionNo(t); }
    void SetMistakeText(const std::string& t) override { binding.ShowMistakes(t); }
    void SetVerdictText(const std::string& t) override { binding.ShowVerdict(t); }

    std::string Problem() { return shown["Label1"]; }
    void Press(const char* button) {
        ASSERT_TRUE(binding.Press(quiz, *form::kMainWindow.Lookup(button))) << button;
    }
};

// Each button runs its own operation of the quiz, seen by what only it does.
TEST(Binding, EachButtonRunsItsOperation) {
    struct Case {
        const char* button;
        int Front::*counter; // counts only that operation's effect
    };
    for (const Case& c : {Case{"Command2", &Front::startHidden},
                          {"Command1", &Front::ruleShown},
                          {"Command7", &Front::ended}}) {
        Front f;
        f.Press(c.button);
        EXPECT_EQ(f.*c.counter, 1) << c.button;
        EXPECT_EQ(f.startHidden + f.ruleShown + f.ended, 1) << c.button;
    }
    Front f;
    f.Press("Command2");
    f.answer = "x=0";
    f.Press("Command3");
    EXPECT_EQ(f.shown["Label8"], "Ошибка");
    f.Press("Command5");
    EXPECT_EQ(f.shown["Label5"], "1");
    EXPECT_EQ(f.shown["Label7"], "2");
    EXPECT_EQ(f.shown["Text1"], "");

    EXPECT_FALSE(f.binding.Press(f.quiz, form::kVerdict));
    EXPECT_FALSE(f.binding.Press(f.quiz, form::kRuleWindow.controls[0]));
    EXPECT_EQ(f.shown["Label7"], "2");
}

// After each press: the news announced once, the controls described only when
// their description changes, each focusable control and no other.
TEST(Binding, AnnouncesAndDescribesWhatChanged) {
    Front f;
    f.binding.DescribeControls();
    const std::string hint = "Исправления - до нажатия ПРИНЯТЬ ОТВЕТ";
    const std::vector<std::string> focusable{"Command1", "Command2", "Command3",
                                             "Command5", "Command7", "Text1"};
    std::vector<std::string> names;
    for (const auto& [name, texts] : f.described) {
        names.push_back(name);
        EXPECT_EQ(texts, std::vector<std::string>{hint}) << name;
    }
    EXPECT_EQ(names, focusable);

    f.Press("Command2");
    const std::string problem = f.Problem();
    EXPECT_EQ(f.said, std::vector<std::string>{"Вопрос 1. Уравнение " + problem});
    EXPECT_EQ(f.described["Text1"].back(), "Уравнение " + problem + ". " + hint);

    f.Press("Command2"); // a repeat only clears the answer box
    f.answer = fake::QuestionShowing(problem).Answer1;
    f.Press("Command3");
    f.Press("Command3"); // a second answer is not judged
    EXPECT_EQ(f.said.size(), 2u);
    EXPECT_EQ(f.said.back(), "Верно");
    EXPECT_EQ(f.described["Command3"],
              (std::vector<std::string>{hint, "Уравнение " + problem + ". " + hint,
                                        "Уравнение " + problem + ". Верно"}));
}

} // namespace
