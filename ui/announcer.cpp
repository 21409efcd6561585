// SPDX-License-Identifier: GPL-3.0-or-later
#include "announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace drill {

namespace {

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

QAccessibleInterface* AnnouncerFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(Announcer::staticMetaObject.className())) {
        if (auto* announcer = qobject_cast<Announcer*>(object)) {
            return new AnnouncerAccessible(announcer);
        }
    }
    return nullptr;
}

} // namespace

Announcer::Announcer(QWidget* window) : QWidget(window) {
    QAccessible::installFactory(AnnouncerFactory); // Qt keeps one of each factory
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
