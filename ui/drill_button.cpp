// SPDX-License-Identifier: GPL-3.0-or-later
#include "drill_button.h"

#include <QKeyEvent>

namespace drill {

void DrillButton::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // QPushButton itself answers Enter only as an auto-default button.
        if (!event->isAutoRepeat()) {
            click();
        }
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

} // namespace drill
