// SPDX-License-Identifier: GPL-3.0-or-later
// Checks the question table independently of how it was typed in: every
// accepted answer is rebuilt from its problem by the move rule and compared,
// and each answer must have the same root as its problem.
#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "question_bank.h"

namespace {

using drill::Question;
using drill::QuestionBank;

struct Term {
    std::int64_t coefficient;
    bool hasX;
};

// Parses one side such as "-3x+12" into its terms; nullopt on anything else.
std::optional<std::vector<Term>> ParseSide(const std::string& side) {
    if (side.empty()) {
        return std::nullopt;
    }
    std::vector<Term> terms;
    std::size_t i = 0;
    while (i < side.size()) {
        std::int64_t sign = 1;
        if (side[i] == '+' || side[i] == '-') {
            if (side[i] == '+' && terms.empty()) {
                return std::nullopt; // a leading plus is never written
            }
            sign = side[i] == '-' ? -1 : 1;
            ++i;
        } else if (!terms.empty()) {
            return std::nullopt;
        }
        std::size_t digits = 0;
        std::int64_t value = 0;
        while (i < side.size() && side[i] >= '0' && side[i] <= '9') {
            value = value * 10 + (side[i] - '0');
            ++i;
            ++digits;
        }
        const bool hasX = i < side.size() && side[i] == 'x';
        if (hasX) {
            ++i;
            if (digits == 0) {
                value = 1;
            } else if (value == 1) {
                return std::nullopt; // "1x" is written "x"
            }
        } else if (digits == 0) {
            return std::nullopt;
        }
        terms.push_back({sign * value, hasX});
    }
    return terms;
}

struct Equation {
    std::vector<Term> left, right;
};

std::optional<Equation> Parse(const std::string& text) {
    const auto eq = text.find('=');
    if (eq == std::string::npos || text.find('=', eq + 1) != std::string::npos) {
        return std::nullopt;
    }
    auto left = ParseSide(text.substr(0, eq));
    auto right = ParseSide(text.substr(eq + 1));
    if (!left || !right) {
        return std::nullopt;
    }
    return Equation{*left, *right};
}

std::string Format(const std::vector<Term>& terms) {
    std::string out;
    for (const Term& t : terms) {
        if (t.coefficient < 0) {
            out += '-';
        } else if (!out.empty()) {
            out += '+';
        }
        const auto magnitude = t.coefficient < 0 ? -t.coefficient : t.coefficient;
        if (!t.hasX || magnitude != 1) {
            out += std::to_string(magnitude);
        }
        if (t.hasX) {
            out += 'x';
        }
    }
    return out;
}

Term Crossed(Term t) {
    return {-t.coefficient, t.hasX};
}

// The root of (sum of x-terms - ...) as a reduced fraction num/den, den > 0.
struct Rational {
    std::int64_t num, den;
    bool operator==(const Rational&) const = default;
};

Rational Root(const Equation& e) {
    std::int64_t a = 0, b = 0; // a x = b after collecting
    for (const Term& t : e.left) {
        (t.hasX ? a : b) += t.hasX ? t.coefficient : -t.coefficient;
    }
    for (const Term& t : e.right) {
        (t.hasX ? a : b) += t.hasX ? -t.coefficient : t.coefficient;
    }
    EXPECT_NE(a, 0) << "the equation has no single root";
    if (a < 0) {
        a = -a;
        b = -b;
    }
    const auto g = std::gcd(a, b == 0 ? a : b);
    return {b / g, a / g};
}

// The five answers stored with a stray leading blank, as (id, answer index).
bool HasLeadingBlank(int id, int answer) {
    return (id == 6 && answer >= 2) || (id == 9 && answer == 4) || (id == 11 && answer == 3);
}

class QuestionBankRow : public ::testing::TestWithParam<int> {};

TEST_P(QuestionBankRow, AnswersFollowTheMoveRuleAndKeepTheRoot) {
    const int id = GetParam();
    const Question& q = QuestionBank::Get(id);

    const auto problem = Parse(q.Problem);
    ASSERT_TRUE(problem) << q.Problem;
    ASSERT_EQ(problem->left.size(), 2u);
    ASSERT_EQ(problem->right.size(), 2u);
    ASSERT_NE(problem->left[0].hasX, problem->left[1].hasX) << "one x-term and one number a side";
    ASSERT_NE(problem->right[0].hasX, problem->right[1].hasX) << "one x-term and one number a side";

    const Term stayX = problem->left[0].hasX ? problem->left[0] : problem->left[1];
    const Term crossNumber = Crossed(problem->left[0].hasX ? problem->left[1] : problem->left[0]);
    const Term crossX = Crossed(problem->right[0].hasX ? problem->right[0] : problem->right[1]);
    const Term stayNumber = problem->right[0].hasX ? problem->right[1] : problem->right[0];

    const std::string leftKept = Format({stayX, crossX});
    const std::string leftSwapped = Format({crossX, stayX});
    const std::string rightKept = Format({crossNumber, stayNumber});
    const std::string rightSwapped = Format({stayNumber, crossNumber});
    const std::string expected[4] = {
        leftKept + "=" + rightKept,
        leftSwapped + "=" + rightSwapped,
        leftKept + "=" + rightSwapped,
        leftSwapped + "=" + rightKept,
    };
    const std::string* stored[4] = {&q.Answer1, &q.Answer2, &q.Answer3, &q.Answer4};

    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE("Answer" + std::to_string(k + 1));
        std::string text = *stored[k];
        if (HasLeadingBlank(id, k + 1)) {
            ASSERT_EQ(text.rfind(' ', 0), 0u) << "the stored answer keeps its leading blank";
            text.erase(0, 1);
        }
        EXPECT_EQ(text.find(' '), std::string::npos) << "no other blank anywhere";
        EXPECT_EQ(text, expected[k]);
        const auto answer = Parse(text);
        ASSERT_TRUE(answer) << text;
        EXPECT_EQ(Root(*answer), Root(*problem));
    }
    EXPECT_EQ(q.Problem.find(' '), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(AllIds, QuestionBankRow, ::testing::Range(1, QuestionBank::Count + 1));

TEST(QuestionBank, ProblemsAreDistinctAndRowsMayRepeatAnAnswer) {
    for (int a = 1; a <= QuestionBank::Count; ++a) {
        for (int b = a + 1; b <= QuestionBank::Count; ++b) {
            EXPECT_NE(QuestionBank::Get(a).Problem, QuestionBank::Get(b).Problem) << a << " " << b;
        }
    }
    const Question& six = QuestionBank::Get(6);
    EXPECT_EQ(six.Answer1, "x+x=-1-1");
    EXPECT_EQ(six.Answer2, " x+x=-1-1");
    EXPECT_EQ(six.Answer3, " x+x=-1-1");
    EXPECT_EQ(six.Answer4, " x+x=-1-1");
}

TEST(QuestionBank, ParserRejectsMalformedText) {
    // Guards the checker itself: a permissive parser would pass a mistyped table.
    for (const char* bad : {"5x-4", "+5x=1", "5x--4=1", "5x=1=2", "1x=2", "5y=1", "5x=", "x 1=2"}) {
        EXPECT_FALSE(Parse(bad)) << bad;
    }
    EXPECT_EQ(Format(*ParseSide("-x+12")), "-x+12");
}

} // namespace
