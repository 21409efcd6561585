// SPDX-License-Identifier: GPL-3.0-or-later
#include "rule_window.h"

#include <QLabel>
#include <QStringList>

#include "design.h"
#include "form.h"
#include "window_placement.h"

namespace drill {

Form2::Form2(QWidget* parent) : QWidget(parent) {
    design::Build(*this, form::kRuleWindow);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    PlaceOnScreen(*this, form::kRuleWindow.client);
    setAutoFillBackground(true);

    // The labels were created bottom-up, so a screen reader going through the
    // window's children in order would start with the worked example: the
    // window's description reads them in order.
    QStringList parts;
    for (const form::Control* label : form::kRuleReadingOrder) {
        parts << design::Control<QLabel>(*this, *label).text().simplified();
    }
    setAccessibleDescription(
        QStringLiteral("%1 %2 %3; %4").arg(parts[0], parts[1], parts[2], parts[3]));
}

} // namespace drill
