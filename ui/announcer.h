// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

namespace drill {

// Tells a screen reader a short text at once, without moving the focus and
// without anything visible changing.
class Announcer : public QWidget {
    Q_OBJECT
public:
    explicit Announcer(QWidget* window);

    // Empty text says nothing.
    void Say(const QString& text);
};

} // namespace drill
