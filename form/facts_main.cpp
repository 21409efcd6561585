// SPDX-License-Identifier: GPL-3.0-or-later
// Prints the program's facts as JSON (see export.h): run at build time for the
// page, and by the tests.

#include <cstdio>

#include "export.h"

int main() {
    std::fputs(drill::form::FactsJson().c_str(), stdout);
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}
