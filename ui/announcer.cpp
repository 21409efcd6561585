// SPDX-License-Identifier: GPL-3.0-or-later
#include "announcer.h"

#include <QAccessible>

namespace drill {

Announcer::Announcer(QWidget* window) : QWidget(window) {
    setObjectName(QStringLiteral("Announcer"));
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 0, 0);
}

void Announcer::Say(const QString& text) {
    if (text.isEmpty()) {
        return;
    }
    setAccessibleName(text);
}

} // namespace drill
