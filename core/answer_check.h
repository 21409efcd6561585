// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "question_bank.h"

namespace drill {

// True when the typed text is one of the question's accepted answers.
//
// Comparison is exact and case-sensitive and the typed text is never trimmed.
// A few stored answers begin with a stray blank; since students are told to
// type without blanks, such an answer is also accepted with that one leading
// blank removed.
bool IsAcceptedAnswer(const std::string& typed, const Question& question);

} // namespace drill
