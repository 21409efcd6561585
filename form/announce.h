// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace drill::form {

// What the main window's displays read.
struct Displays {
    std::string questionNo, problem, verdict;
};

// What a screen reader is told, without the focus moving, after one operation
// of the quiz changed the displays from `before` to `after`: a new problem with
// its number ("Вопрос 2. Уравнение 8-3x=2x+1"), or a new verdict ("Верно",
// "Ошибка"). Empty when nothing worth saying changed, so that a refused or
// repeated press is not mistaken for news.
std::string Announcement(const Displays& before, const Displays& after);

// What every control of the main window adds to its name for a screen reader
// as the focus reaches it: "Уравнение 5x-4=x+2. Верно" once a problem is on
// show, else the verdict line alone.
std::string FocusDescription(const Displays& now);

} // namespace drill::form
