#include "design.h"

#include <QPalette>

namespace drill::design {

QFont DesignFont(int pixelSize, Weight weight) {
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
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

} // namespace drill::design
