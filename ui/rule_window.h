// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace drill {

// The rule of the drill with one worked example; only read and closed.
class Form2 : public QWidget {
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);
};

} // namespace drill
