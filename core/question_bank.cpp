// SPDX-License-Identifier: GPL-3.0-or-later
#include "question_bank.h"

#include <array>
#include <cassert>

namespace drill {

namespace {

// Row k holds question id k + 1. The leading blanks of five answers are part of
// the stored table; answer_check.h explains how they are judged.
const std::array<Question, QuestionBank::Count> kQuestions = {{
    {"5x-4=x+2", "5x-x=4+2", "-x+5x=2+4", "5x-x=2+4", "-x+5x=4+2"},
    {"8-3x=2x+1", "-3x-2x=-8+1", "-2x-3x=1-8", "-3x-2x=1-8", "-2x-3x=-8+1"},
    {"7x+2=-3-4x", "7x+4x=-2-3", "4x+7x=-3-2", "7x+4x=-3-2", "4x+7x=-2-3"},
    {"-1-2x=-x-3", "-2x+x=1-3", "x-2x=-3+1", "-2x+x=-3+1", "x-2x=1-3"},
    {"4x+5=7+3x", "4x-3x=-5+7", "-3x+4x=7-5", "4x-3x=7-5", "-3x+4x=-5+7"},
    {"1+x=-1-x", "x+x=-1-1", " x+x=-1-1", " x+x=-1-1", " x+x=-1-1"},
    {"-5x+2=2x-5", "-5x-2x=-2-5", "-2x-5x=-5-2", "-5x-2x=-5-2", "-2x-5x=-2-5"},
    {"6x-4=-4+2x", "6x-2x=4-4", "-2x+6x=-4+4", "6x-2x=-4+4", "-2x+6x=4-4"},
    {"5+6x=-1-x", "6x+x=-5-1", "x+6x=-1-5", "6x+x=-1-5", " x+6x=-5-1"},
    {"-9-x=6x+1", "-x-6x=9+1", "-6x-x=1+9", "-x-6x=1+9", "-6x-x=9+1"},
    {"x-12=3x+3", "x-3x=12+3", "-3x+x=3+12", " x-3x=3+12", "-3x+x=12+3"},
    {"6-2x=x+8", "-2x-x=-6+8", "-x-2x=8-6", "-2x-x=8-6", "-x-2x=-6+8"},
    {"3x+4=-6-5x", "3x+5x=-4-6", "5x+3x=-6-4", "3x+5x=-6-4", "5x+3x=-4-6"},
    {"-7-4x=-5x-2", "-4x+5x=7-2", "5x-4x=-2+7", "-4x+5x=-2+7", "5x-4x=7-2"},
    {"x+4=8+3x", "x-3x=-4+8", "-3x+x=8-4", "x-3x=8-4", "-3x+x=-4+8"},
    {"7+9x=-2-5x", "9x+5x=-7-2", "5x+9x=-2-7", "9x+5x=-2-7", "5x+9x=-7-2"},
    {"-8x+6=x-5", "-8x-x=-6-5", "-x-8x=-5-6", "-8x-x=-5-6", "-x-8x=-6-5"},
    {"3x-2=-2+2x", "3x-2x=2-2", "-2x+3x=-2+2", "3x-2x=-2+2", "-2x+3x=2-2"},
    {"9+7x=-3-5x", "7x+5x=-9-3", "5x+7x=-3-9", "7x+5x=-3-9", "5x+7x=-9-3"},
    {"-2-3x=x+6", "-3x-x=2+6", "-x-3x=6+2", "-3x-x=6+2", "-x-3x=2+6"},
}};

} // namespace

const Question& QuestionBank::Get(int id) {
    assert(id >= 1 && id <= Count);
    return kQuestions[static_cast<std::size_t>(id - 1)];
}

} // namespace drill
