// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTest>

#include <memory>

#include "main_window.h"
#include "random_source.h"
#include "rule_window.h"

namespace drill::testing {

// Creates both windows and shows them side by side, as the window tests look
// at them; false if either was never exposed.
inline bool ShowBothWindows(RandomSource& random, std::unique_ptr<Form1>& main,
                            std::unique_ptr<Form2>& rule) {
    main = std::make_unique<Form1>(random);
    rule = std::make_unique<Form2>();
    main->show();
    rule->show();
    return QTest::qWaitForWindowExposed(main.get()) && QTest::qWaitForWindowExposed(rule.get());
}

} // namespace drill::testing
