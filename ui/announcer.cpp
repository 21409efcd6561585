// SPDX-License-Identifier: GPL-3.0-or-later
#include "announcer.h"

#include <QAccessible>

namespace drill {

Announcer::Announcer(QWidget* window) : QWidget(window) {
    setObjectName(QStringLiteral("Announcer"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 0, 0);
}

void Announcer::Say(const QString& text) {
    if (text.isEmpty()) {
        return;
    }
    text_ = text;
    if (!QAccessible::isActive()) {
        return;
    }
    // The new name first, so that a reader's cached copy is refreshed; then
    // the notification appears to assistive technology (only to it: the
    // widget's own visibility never changes).
    QAccessibleEvent named(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

} // namespace drill
