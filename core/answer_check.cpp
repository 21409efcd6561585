// SPDX-License-Identifier: GPL-3.0-or-later
#include "answer_check.h"

#include <string_view>

namespace drill {

namespace {

bool Matches(std::string_view typed, std::string_view accepted) {
    if (typed == accepted) {
        return true;
    }
    return accepted.size() > 1 && accepted.front() == ' ' && typed == accepted.substr(1);
}

} // namespace

bool IsAcceptedAnswer(const std::string& typed, const Question& question) {
    return Matches(typed, question.Answer1) || Matches(typed, question.Answer2) ||
           Matches(typed, question.Answer3) || Matches(typed, question.Answer4);
}

} // namespace drill
