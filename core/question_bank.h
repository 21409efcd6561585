// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace drill {

// One equation of the drill and its four accepted rearrangements.
struct Question {
    std::string Problem, Answer1, Answer2, Answer3, Answer4;
};

// The fixed table of the drill's questions, ids 1 to Count.
class QuestionBank {
public:
    static constexpr int Count = 20;

    // id must lie in 1..Count.
    static const Question& Get(int id);
};

} // namespace drill
