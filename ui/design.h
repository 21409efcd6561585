// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QWidget>

#include "form.h"

namespace drill::design {

inline QRect PixelRect(const form::TwipBox& box) {
    const form::PixelBox px = form::Px(box);
    return {px.left, px.top, px.width, px.height};
}

inline QColor Colour(form::Rgb rgb) {
    return {rgb.r, rgb.g, rgb.b};
}

// Arial at a pixel size, so that text fills its box the same at any logical
// DPI; Liberation Sans has the same metrics where Arial is not installed.
QFont DesignFont(const form::Font& font);

// Gives a window its designed name, caption, place, fixed size and background,
// and creates its controls from the table, in the table's order, with their
// tab order, accessible names and descriptions. The focus starts on the first
// control of the tab order.
void Build(QWidget& window, const form::Window& design);

// Whether Build made this widget a window: how code that must tell the
// drill's windows apart (what a screen reader is told) finds them without
// knowing their classes.
bool IsDrillWindow(const QObject& object);

// The widget Build created for a control of the table. The table's constants
// make a misspelt name a build error; a window not built from that table, or
// a widget of another type, stops the program with their names, in any build.
template <typename Widget> Widget& Control(const QWidget& window, const form::Control& control) {
    const QString name =
        QString::fromUtf8(control.name.data(), static_cast<qsizetype>(control.name.size()));
    auto* widget = window.findChild<Widget*>(name, Qt::FindDirectChildrenOnly);
    if (!widget) {
        qFatal("%s has no %s named %s", qPrintable(window.objectName()),
               Widget::staticMetaObject.className(), qPrintable(name));
    }
    return *widget;
}

} // namespace drill::design
