// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

namespace drill {

// A label framed by a thin single black line, whatever colour its own text has.
class BorderedLabel : public QLabel {
    Q_OBJECT
public:
    explicit BorderedLabel(const QString& text, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace drill
