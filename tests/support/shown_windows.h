// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the window tests share: showing the windows, taking their pictures,
// finding the ink in a picture, the form table's values as Qt's, and
// rectangles in failure messages.

#include <QColor>
#include <QImage>
#include <QRect>
#include <QRectF>
#include <QString>
#include <QTest>
#include <QWidget>

#include <functional>
#include <memory>
#include <string_view>

#include "form.h"
#include "main_window.h"
#include "random_source.h"
#include "rule_window.h"

namespace drill::testing {

inline QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline QColor Q(form::Rgb rgb) {
    return QColor(rgb.r, rgb.g, rgb.b);
}

// A rectangle as failure messages give it: "WxH at X,Y".
inline QString Rect(const QRectF& r) {
    return QStringLiteral("%1x%2 at %3,%4").arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y());
}

// The widget as painted, one pixel format for every comparison.
inline QImage Shot(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The bounding box of the pixels within area that isInk accepts.
inline QRect InkBox(const QImage& image, const QRect& area,
                    const std::function<bool(QRgb)>& isInk) {
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (isInk(image.pixel(x, y))) {
                ink |= QRect(x, y, 1, 1);
            }
        }
    }
    return ink;
}

// Shows the window and waits until it has the keyboard; false if it never did.
inline bool ShowActive(QWidget& window) {
    window.show();
    return QTest::qWaitForWindowActive(&window);
}

// Creates both windows and shows them side by side, as the window tests look
// at them; false if either was never exposed.
inline bool ShowBothWindows(RandomSource& random, std::unique_ptr<Form1>& main,
                            std::unique_ptr<Form2>& rule) {
    main = std::make_unique<Form1>(random);
    rule = std::make_unique<Form2>();
    main->show();
    rule->show();
    return QTest::qWaitForWindowExposed(main.get()) && QTest::qWaitForWindowExposed(rule.get());
}

} // namespace drill::testing
