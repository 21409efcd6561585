// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

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
                             Case{1, "5x+x=-4+2", false}, Case{2, "5x-x=4+2", false}));

} // namespace
