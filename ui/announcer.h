// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

namespace drill {

// Tells a screen reader a short text at once, without moving the focus and
// without anything visible changing.
//
// Screen readers speak a notification when it appears, whatever has the focus;
// a name or description change is read only when the focus moves (Orca 43 does
// not even get the new text from Qt 6.4's bridge). So this is an empty,
// zero-size child that screen readers see as a notification named after the
// text (a11y::InstallFactories), and that appears to them anew for each text.
class Announcer : public QWidget {
    Q_OBJECT
public:
    explicit Announcer(QWidget* window);

    // Empty text says nothing.
    void Say(const QString& text);

    // What the notification said last; empty before the first text.
    QString Text() const { return text_; }

private:
    QString text_;
};

} // namespace drill
