// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace drill::form {

// The program's facts as one JSON document, the only place they are turned into
// data: "design" (both windows with every control in CSS pixels, each colour
// as its channels [r, g, b], the rule window's reading order, the picture's
// size, the answer box's limit, "roles", which control is which, and
// "captions", each counter's caption by the counter's role), "bank" (every
// question with its answers), "texts" (the messages) and "announcements" (what
// a screen reader is told, {number} and {problem} standing for a question's).
// The page is built from it, and the tests read it instead of restating the
// program.
std::string FactsJson();

} // namespace drill::form
