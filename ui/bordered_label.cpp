// SPDX-License-Identifier: GPL-3.0-or-later
#include "bordered_label.h"

#include <QPainter>

namespace drill {

BorderedLabel::BorderedLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setContentsMargins(1, 1, 1, 1);
}

void BorderedLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace drill
