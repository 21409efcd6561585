// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "answer_check.h"
#include "question_bank.h"

namespace {

using drill::IsAcceptedAnswer;
using drill::QuestionBank;

struct Case {
    int id;
    std::string typed;
    bool accepted;
};

// Failures name the case, not GoogleTest's dump of the struct's bytes.
void PrintTo(const Case& c, std::ostream* os) {
    *os << "question " << c.id << " typed \"" << c.typed << "\" "
        << (c.accepted ? "accepted" : "refused");
}

// A test name spelling out what was typed: "q1_5x_minus_x_eq_4_plus_2_right".
std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    const Case& c = info.param;
    std::string name = "q" + std::to_string(c.id);
    std::string word;
    const auto flush = [&] {
        if (!word.empty()) {
            name += "_" + word;
            word.clear();
        }
    };
    for (const char ch : c.typed) {
        if ((ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z')) {
            word += ch;
            continue;
        }
        flush();
        switch (ch) {
        case '-':
            name += "_minus";
            break;
        case '+':
            name += "_plus";
            break;
        case '=':
            name += "_eq";
            break;
        case ' ':
            name += "_blank";
            break;
        default: {
            char code[8];
            std::snprintf(code, sizeof code, "_c%02x", static_cast<unsigned char>(ch));
            name += code;
        }
        }
    }
    flush();
    if (c.typed.empty()) {
        name += "_empty";
    }
    return name + (c.accepted ? "_right" : "_wrong");
}

class AnswerCheck : public ::testing::TestWithParam<Case> {};

TEST_P(AnswerCheck, JudgesExactlyWithTheStrayBlankForgiven) {
    const Case& c = GetParam();
    EXPECT_EQ(IsAcceptedAnswer(c.typed, QuestionBank::Get(c.id)), c.accepted)
        << "question " << c.id << " typed \"" << c.typed << "\"";
}

INSTANTIATE_TEST_SUITE_P(Cases, AnswerCheck,
                         ::testing::Values(
                             // Each of the four orders is accepted.
                             Case{1, "5x-x=4+2", true}, Case{1, "-x+5x=2+4", true},
                             Case{1, "5x-x=2+4", true}, Case{1, "-x+5x=4+2", true},
                             // Stored with a leading blank: accepted with and without it.
                             Case{9, "x+6x=-5-1", true}, Case{9, " x+6x=-5-1", true},
                             Case{11, "x-3x=3+12", true}, Case{11, " x-3x=3+12", true},
                             Case{6, "x+x=-1-1", true}, Case{6, " x+x=-1-1", true},
                             // What the student typed is never trimmed or folded.
                             Case{1, " 5x-x=4+2", false}, Case{1, "5x-x=4+2 ", false},
                             Case{1, "5X-x=4+2", false}, Case{1, "5x - x = 4 + 2", false},
                             Case{9, "  x+6x=-5-1", false}, Case{11, "x-3x=12+3 ", false},
                             Case{1, "", false},
                             // Sign not changed, or another question's answer.
                             Case{1, "5x+x=-4+2", false}, Case{2, "5x-x=4+2", false}),
                         CaseName);

// Only a leading blank is forgiven: every accepted answer that begins with a
// minus is refused without it, since that is a sign error, not a stray blank.
std::vector<Case> MinusDropped() {
    std::vector<Case> cases;
    for (int id = 1; id <= QuestionBank::Count; ++id) {
        const drill::Question& q = QuestionBank::Get(id);
        std::set<std::string> seen;
        for (const std::string* answer : {&q.Answer1, &q.Answer2, &q.Answer3, &q.Answer4}) {
            if (answer->starts_with('-') && seen.insert(answer->substr(1)).second) {
                cases.push_back({id, answer->substr(1), false});
            }
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(MinusDropped, AnswerCheck, ::testing::ValuesIn(MinusDropped()), CaseName);

} // namespace
