// SPDX-License-Identifier: GPL-3.0-or-later
#include "announce.h"

#include "form.h"
#include "quiz_texts.h"

namespace drill::form {

std::string Announcement(const Displays& before, const Displays& after) {
    std::string said;
    if (!after.problem.empty() &&
        (after.problem != before.problem || after.questionNo != before.questionNo)) {
        said = std::string(texts::kQuestion) + " " + after.questionNo + ". " +
               std::string(kProblem.accessibleDescription) + " " + after.problem;
    }
    // The hint that returns between questions is no verdict.
    if (after.verdict != before.verdict &&
        (after.verdict == texts::kCorrect || after.verdict == texts::kWrong)) {
        said += (said.empty() ? "" : ". ") + after.verdict;
    }
    return said;
}

std::string FocusDescription(const Displays& now) {
    if (now.problem.empty()) {
        return now.verdict;
    }
    return std::string(kProblem.accessibleDescription) + " " + now.problem + ". " + now.verdict;
}

} // namespace drill::form
