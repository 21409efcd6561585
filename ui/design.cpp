#include "design.h"

#include <QFontDatabase>
#include <QPalette>

namespace drill::design {

namespace {

// Decided once: asking fontconfig to resolve a missing family through its
// aliases for every control is a measurable part of start-up.
const QString& Family() {
    static const QString family = QFontDatabase::hasFamily(QStringLiteral("Arial"))
                                      ? QStringLiteral("Arial")
                                      : QStringLiteral("Liberation Sans");
    return family;
}

} // namespace

QFont DesignFont(int pixelSize, Weight weight) {
    QFont font(Family());
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setWeight(weight == Weight::Bold ? QFont::Bold : QFont::Normal);
    return font;
}

void Colour(QWidget& widget, const QColor& text, const QColor& background) {
    QPalette palette = widget.palette();
    if (text.isValid()) {
        palette.setColor(QPalette::WindowText, text);
        palette.setColor(QPalette::Text, text);
        palette.setColor(QPalette::ButtonText, text);
    }
    if (background.isValid()) {
        palette.setColor(QPalette::Window, background);
        palette.setColor(QPalette::Base, background);
        palette.setColor(QPalette::Button, background);
    }
    widget.setPalette(palette);
}

void StyleLabel(QLabel& label, const char* name, const QRect& geometry, const QFont& font,
                const QColor& text, Qt::Alignment alignment) {
    label.setObjectName(QString::fromLatin1(name));
    label.setGeometry(geometry);
    label.setFont(font);
    Colour(label, text, kField);
    label.setAutoFillBackground(true);
    label.setAlignment(alignment | Qt::AlignTop);
    label.setTextFormat(Qt::PlainText);
}

} // namespace drill::design
