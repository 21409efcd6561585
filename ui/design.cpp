// SPDX-License-Identifier: GPL-3.0-or-later
#include "design.h"

#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>

#include <vector>

#include "bordered_label.h"
#include "drill_button.h"

namespace drill::design {

namespace {

// The mark Build leaves on a window (a dynamic property).
constexpr const char* kDrillWindow = "drillWindow";

// Decided once: asking fontconfig to resolve a missing family through its
// aliases for every control is a measurable part of start-up.
const QString& Family() {
    static const QString family = QFontDatabase::hasFamily(QStringLiteral("Arial"))
                                      ? QStringLiteral("Arial")
                                      : QStringLiteral("Liberation Sans");
    return family;
}

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The design's "default" text colour is black: the fields' colours are fixed,
// so the system's text colour of a dark scheme would vanish into them.
void Paint(QWidget& widget, const std::optional<form::Rgb>& text, form::Rgb background) {
    QPalette palette = widget.palette();
    const QColor ink = Colour(text.value_or(form::kBlack));
    const QColor field = Colour(background);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(role, ink);
    }
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button}) {
        palette.setColor(role, field);
    }
    widget.setPalette(palette);
}

Qt::Alignment Alignment(form::Align align) {
    return align == form::Align::Centre ? Qt::AlignHCenter : Qt::AlignLeft;
}

QWidget* Create(QWidget& window, const form::Control& control) {
    switch (control.kind) {
    case form::Kind::Button: {
        auto* button = new DrillButton(Text(control.text), &window);
        // Neither default nor cancel: Enter in the answer box and Esc do nothing.
        button->setAutoDefault(false);
        button->setDefault(false);
        return button;
    }
    case form::Kind::TextBox: {
        auto* box = new QLineEdit(Text(control.text), &window);
        box->setAlignment(Alignment(control.align) | Qt::AlignVCenter);
        box->setMaxLength(form::kAnswerMaxLength);
        return box;
    }
    case form::Kind::Label: {
        auto* label = control.border ? new BorderedLabel(Text(control.text), &window)
                                     : new QLabel(Text(control.text), &window);
        label->setAutoFillBackground(true);
        label->setAlignment(Alignment(control.align) | Qt::AlignTop);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(control.wordWrap);
        return label;
    }
    }
    return nullptr;
}

} // namespace

QFont DesignFont(const form::Font& design) {
    QFont font(Family());
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(design.PixelSize());
    font.setWeight(design.weight == form::Weight::Bold ? QFont::Bold : QFont::Normal);
    return font;
}

void Build(QWidget& window, const form::Window& design) {
    window.setProperty(kDrillWindow, true);
    window.setObjectName(Text(design.name));
    window.setWindowTitle(Text(design.caption));
    window.setGeometry(PixelRect(design.client));
    window.setFixedSize(window.size());
    Paint(window, std::nullopt, design.background);

    std::vector<QWidget*> widgets;
    for (const form::Control& control : design.controls) {
        QWidget* widget = widgets.emplace_back(Create(window, control));
        widget->setObjectName(Text(control.name));
        widget->setGeometry(PixelRect(control.box));
        widget->setFont(DesignFont(control.font));
        Paint(*widget, control.textColour, control.background);
        if (!control.accessibleName.empty()) {
            widget->setAccessibleName(Text(control.accessibleName));
        }
        if (!control.accessibleDescription.empty()) {
            widget->setAccessibleDescription(Text(control.accessibleDescription));
        }
        if (control.tabIndex < 0) {
            widget->setFocusPolicy(Qt::NoFocus);
        }
    }
    const std::vector<const form::Control*> chain = design.TabOrder();
    const auto widget = [&](const form::Control* control) {
        return widgets[design.IndexOf(*control)];
    };
    for (std::size_t i = 1; i < chain.size(); ++i) {
        QWidget::setTabOrder(widget(chain[i - 1]), widget(chain[i]));
    }
    if (!chain.empty()) {
        widget(chain.front())->setFocus(Qt::OtherFocusReason);
    }
}

bool IsDrillWindow(const QObject& object) {
    return object.property(kDrillWindow).toBool();
}

} // namespace drill::design
