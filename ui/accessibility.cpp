// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

#include "main_window.h"
#include "rule_window.h"

namespace drill::a11y {

namespace {

// A top-level QWidget is exposed as a mere filler; a window role lets a screen
// reader announce the window by its title when it opens.
QAccessibleInterface* WindowRole(const QString& key, QObject* object) {
    if (key == QLatin1String(Form1::staticMetaObject.className()) ||
        key == QLatin1String(Form2::staticMetaObject.className())) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    }
    return nullptr;
}

} // namespace

void InstallWindowRole() {
    QAccessible::installFactory(WindowRole); // Qt keeps one of each factory
}

void SetDescription(QWidget& control, const QString& description) {
    if (control.accessibleDescription() != description) {
        control.setAccessibleDescription(description);
    }
}

} // namespace drill::a11y
