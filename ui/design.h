#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QRect>
#include <QString>
#include <QWidget>

namespace drill::design {

// The layout is designed in twips; 15 twips make one device-independent pixel.
constexpr int Px(int twips) {
    return (twips + 7) / 15;
}

inline QRect TwipRect(int left, int top, int width, int height) {
    return {Px(left), Px(top), Px(width), Px(height)};
}

inline const QColor kButtonFace{128, 255, 255};
inline const QColor kField{192, 255, 255};
inline const QColor kRed{255, 0, 0};
inline const QColor kNavy{0, 0, 128};
inline const QColor kBlue{0, 0, 192};

enum class Weight { Regular, Bold };

// Arial at a pixel size, so that text fills its box the same at any logical
// DPI; Liberation Sans has the same metrics where Arial is not installed.
QFont DesignFont(int pixelSize, Weight weight);

// Sets a control's palette colours; an invalid colour keeps the system's.
void Colour(QWidget& widget, const QColor& text, const QColor& background);

// Gives a label of either window its name, place, font and colours: opaque on
// the field colour, plain text, aligned to the top of its box.
void StyleLabel(QLabel& label, const char* name, const QRect& geometry, const QFont& font,
                const QColor& text, Qt::Alignment alignment);

} // namespace drill::design
