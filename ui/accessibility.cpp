// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

#include "announcer.h"
#include "design.h"

namespace drill::a11y {

namespace {

// A top-level QWidget is exposed as a mere filler; a window role lets a screen
// reader announce the window by its title when it opens. The windows are known
// by the mark Build leaves on them.
QAccessibleInterface* WindowRole(const QString&, QObject* object) {
    if (object && object->isWidgetType() && design::IsDrillWindow(*object)) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    }
    return nullptr;
}

// What assistive technology sees of the announcer: a notification whose name
// is the text last said.
class AnnouncerAccessible : public QAccessibleWidget {
public:
    explicit AnnouncerAccessible(Announcer* announcer)
        : QAccessibleWidget(announcer, QAccessible::Notification) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) {
            return static_cast<const Announcer*>(widget())->Text();
        }
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* AnnouncerRole(const QString& className, QObject* object) {
    if (className == QLatin1String(Announcer::staticMetaObject.className())) {
        if (auto* announcer = qobject_cast<Announcer*>(object)) {
            return new AnnouncerAccessible(announcer);
        }
    }
    return nullptr;
}

} // namespace

void InstallFactories() {
    // Qt keeps one of each factory.
    QAccessible::installFactory(WindowRole);
    QAccessible::installFactory(AnnouncerRole);
}

void SetDescription(QWidget& control, const QString& description) {
    if (control.accessibleDescription() != description) {
        control.setAccessibleDescription(description);
    }
}

} // namespace drill::a11y
