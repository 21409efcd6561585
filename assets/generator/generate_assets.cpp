// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the drill's window background and icons, so the committed pictures can be rebuilt
// exactly from source. Usage: generate_assets <output-directory>
// Run it with QT_QPA_PLATFORM=offscreen; it needs the "Liberation Sans" font.

#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <vector>

#include "form.h"

namespace {

namespace form = drill::form;

// The window's own palette: the UI paints its controls on this exact field colour.
const QColor kField(form::kField.r, form::kField.g, form::kField.b);
const QColor kInk(0, 0, 128);
const QColor kAccent(204, 24, 32);
const QColor kFrame(0, 150, 168);

const QString kFontFamily = QStringLiteral("Liberation Sans");
const QString kCaption = QString::fromUtf8(form::kMainWindow.caption.data(),
                                           qsizetype(form::kMainWindow.caption.size()));

constexpr int kWindowWidth = form::Px(form::kMainWindow.client).width;
constexpr int kWindowHeight = form::Px(form::kMainWindow.client).height;
// One pixel wider and taller than the window, so no edge is ever left unpainted.
constexpr int kBackgroundWidth = form::kPictureWidth;
constexpr int kBackgroundHeight = form::kPictureHeight;
static_assert(kBackgroundWidth == kWindowWidth + 1 && kBackgroundHeight == kWindowHeight + 1);

// The window's controls start at y = 72, so the caption lives in the band above them; it must
// also keep clear of the scales in the top-left corner (and, mirrored, the same margin right).
constexpr qreal kCaptionCentreY = 31.0;
constexpr qreal kCaptionMaxWidth = kWindowWidth - 2 * 76.0;

QFont makeFont(int pixelSize, bool italic, bool bold) {
    QFont font(kFontFamily);
    font.setPixelSize(pixelSize);
    font.setItalic(italic);
    font.setBold(bold);
    // Unhinted outlines scale exactly, so the 1x and 2x backgrounds match.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

bool fontIsAvailable() {
    const QFontInfo info(makeFont(20, true, false));
    return info.family() == kFontFamily;
}

// Draws text centred on a point, measuring the ink rather than the line box so small labels
// sit visually centred on pans and tiles.
void drawCentredText(QPainter& p, const QString& text, const QFont& font, QPointF centre,
                     const QColor& colour) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF ink = path.boundingRect();
    path.translate(centre - ink.center());
    p.fillPath(path, colour);
}

// ---------------------------------------------------------------------------------------------
// Background

void drawFrame(QPainter& p) {
    p.save();
    p.setBrush(Qt::NoBrush);
    QColor outer = kFrame;
    outer.setAlphaF(0.75);
    p.setPen(QPen(outer, 2.0));
    p.drawRoundedRect(QRectF(3, 3, kWindowWidth - 6, kWindowHeight - 6), 10, 10);
    QColor inner = kFrame;
    inner.setAlphaF(0.35);
    p.setPen(QPen(inner, 1.0));
    p.drawRoundedRect(QRectF(7.5, 7.5, kWindowWidth - 15, kWindowHeight - 15), 7, 7);
    p.restore();
}

QFont captionFont() {
    return makeFont(20, true, false);
}

qreal captionWidth() {
    return QFontMetricsF(captionFont()).horizontalAdvance(kCaption);
}

void drawCaption(QPainter& p) {
    const QFont font = captionFont();
    const QFontMetricsF metrics(font);
    const qreal width = captionWidth();
    const qreal left = (kWindowWidth - width) / 2;
    const qreal baseline = kCaptionCentreY + (metrics.ascent() - metrics.descent()) / 2;

    QPainterPath path;
    path.addText(left, baseline, font, kCaption);
    p.save();
    // A soft white highlight below-right lifts the text off the field without a heavy shadow.
    QColor highlight(255, 255, 255, 200);
    p.fillPath(path.translated(0.8, 0.8), highlight);
    p.fillPath(path, kInk);

    // A fading rule under the caption separates the heading from the exercise.
    const qreal ruleY = 53.5;
    QLinearGradient rule(left - 20, 0, left + width + 20, 0);
    QColor clear = kFrame;
    clear.setAlpha(0);
    QColor solid = kFrame;
    solid.setAlphaF(0.8);
    rule.setColorAt(0.0, clear);
    rule.setColorAt(0.2, solid);
    rule.setColorAt(0.8, solid);
    rule.setColorAt(1.0, clear);
    p.setPen(QPen(QBrush(rule), 1.2));
    p.drawLine(QPointF(left - 20, ruleY), QPointF(left + width + 20, ruleY));
    p.restore();
}

// A pair of balanced scales: weights "a" and "b" on one pan hold up "c" on the other, because
// an equation is a balance. Drawn in a 56 x 56 box whose top-left corner is `origin`.
void drawScales(QPainter& p, QPointF origin) {
    p.save();
    p.translate(origin);
    p.setPen(Qt::NoPen);

    // Stand: foot, post, beam and a red knob on top.
    p.setBrush(kInk);
    p.drawRoundedRect(QRectF(17, 51, 22, 4), 2, 2);
    QPainterPath foot;
    foot.moveTo(21.5, 51);
    foot.lineTo(26.5, 45);
    foot.lineTo(29.5, 45);
    foot.lineTo(34.5, 51);
    foot.closeSubpath();
    p.drawPath(foot);
    p.drawRect(QRectF(26.75, 10, 2.5, 36));
    p.drawRoundedRect(QRectF(3, 10.5, 50, 2.5), 1.25, 1.25);
    p.setBrush(kAccent);
    p.drawEllipse(QPointF(28, 8.5), 3.2, 3.2);

    // Strings and pans.
    const std::array<qreal, 2> panCentres = {11.0, 45.0};
    const qreal panHalf = 10.5;
    const qreal panTop = 39.0;
    QColor string = kInk;
    string.setAlphaF(0.7);
    for (const qreal cx : panCentres) {
        p.setPen(QPen(string, 0.9));
        p.drawLine(QPointF(cx, 12.5), QPointF(cx - panHalf + 0.5, panTop));
        p.drawLine(QPointF(cx, 12.5), QPointF(cx + panHalf - 0.5, panTop));
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawEllipse(QPointF(cx, 12.2), 1.4, 1.4);
        QPainterPath pan;
        pan.moveTo(cx - panHalf, panTop);
        pan.lineTo(cx + panHalf, panTop);
        pan.cubicTo(cx + panHalf - 2, panTop + 5, cx - panHalf + 2, panTop + 5, cx - panHalf,
                    panTop);
        p.drawPath(pan);
    }

    // Weights standing on the pans, lettered white.
    const QFont letter = makeFont(10, true, true);
    auto weight = [&](QRectF block, const QString& name, const QColor& colour) {
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawRoundedRect(block, 1.8, 1.8);
        drawCentredText(p, name, letter, block.center() + QPointF(0, 0.3), Qt::white);
    };
    weight(QRectF(1.5, panTop - 10, 9.2, 10), QStringLiteral("a"), kAccent);
    weight(QRectF(11.3, panTop - 10, 9.2, 10), QStringLiteral("b"), kAccent);
    weight(QRectF(37.5, panTop - 12, 15, 12), QStringLiteral("c"), kInk);
    p.restore();
}

// Draws a straight sign bar (the stroke of a minus, plus or equals sign).
void drawBar(QPainter& p, QPointF centre, qreal length, qreal thickness, bool vertical,
             const QColor& colour) {
    const QRectF bar =
        vertical ? QRectF(centre.x() - thickness / 2, centre.y() - length / 2, thickness, length)
                 : QRectF(centre.x() - length / 2, centre.y() - thickness / 2, length, thickness);
    p.fillRect(bar, colour);
}

// An arrow head whose tip is at `tip`, pointing along the unit direction `dir`.
void drawArrowHead(QPainter& p, QPointF tip, QPointF dir, qreal length, qreal halfWidth,
                   const QColor& colour) {
    const QPointF normal(-dir.y(), dir.x());
    const QPointF base = tip - dir * length;
    QPainterPath head;
    head.moveTo(tip);
    head.lineTo(base + normal * halfWidth);
    head.lineTo(base + dir * (length * 0.25));
    head.lineTo(base - normal * halfWidth);
    head.closeSubpath();
    p.fillPath(head, colour);
}

QPointF unit(QPointF v) {
    const qreal len = std::hypot(v.x(), v.y());
    return v / len;
}

// The term "+x" hops over the equals sign and lands as "-x". Drawn in a 96 x 64 box whose
// top-left corner is `origin`.
void drawTransfer(QPainter& p, QPointF origin) {
    p.save();
    p.translate(origin);
    const QFont letter = makeFont(22, true, true);
    const qreal rowY = 49;
    const qreal thickness = 2.8;

    QColor faded = kInk;
    faded.setAlphaF(0.45);
    drawBar(p, QPointF(9, rowY), 11, thickness, false, faded);
    drawBar(p, QPointF(9, rowY), 11, thickness, true, faded);
    drawCentredText(p, QStringLiteral("x"), letter, QPointF(23, rowY), faded);

    drawBar(p, QPointF(48, rowY - 3.3), 13, thickness, false, kInk);
    drawBar(p, QPointF(48, rowY + 3.3), 13, thickness, false, kInk);

    drawBar(p, QPointF(72, rowY), 11, thickness, false, kAccent);
    drawCentredText(p, QStringLiteral("x"), letter, QPointF(86, rowY), kInk);

    // Dashed hop from the old place to the new one.
    const QPointF start(16, rowY - 13);
    const QPointF c1(24, 4);
    const QPointF c2(68, 4);
    const QPointF end(77, rowY - 15);
    QPainterPath arc;
    arc.moveTo(start);
    arc.cubicTo(c1, c2, end);
    QPen dash(kAccent, 2.4, Qt::CustomDashLine, Qt::RoundCap);
    dash.setDashPattern({2.5, 2.2});
    p.setPen(dash);
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);
    drawArrowHead(p, end + unit(end - c2) * 4.5, unit(end - c2), 8, 4.2, kAccent);
    p.restore();
}

void paintBackground(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.fillRect(QRectF(0, 0, kBackgroundWidth, kBackgroundHeight), kField);
    drawFrame(p);
    drawCaption(p);
    drawScales(p, QPointF(10, 6));
    drawTransfer(p, QPointF(598, 410));
}

QImage renderBackground(int scale) {
    QImage image(kBackgroundWidth * scale, kBackgroundHeight * scale, QImage::Format_RGB32);
    image.fill(kField);
    QPainter p(&image);
    p.scale(scale, scale);
    paintBackground(p);
    p.end();
    return image;
}

// ---------------------------------------------------------------------------------------------
// Icon

// Where the parts of the icon go, in pixels of the finished icon. The small sizes are laid out
// by hand on whole pixels so every stroke stays sharp; from 48 px up the 48-pixel layout is
// scaled and gains the carried term "x" riding the hop.
struct IconLayout {
    qreal border = 1;
    qreal stroke = 2; // thickness of the sign bars
    QRectF plus;      // bounding square of "+"; empty when it does not fit
    QRectF equals;    // outer box of "="; its bars are `stroke` thick
    QRectF minus;     // the "-" bar itself
    QPointF arcStart, arcControl1, arcControl2, arcEnd;
    qreal arcWidth = 2;
    qreal headLength = 5;
    qreal headHalfWidth = 3;
    qreal termRadius = 0; // the bubble holding "x"; none when 0
    QPointF termCentre;
};

IconLayout iconLayout(int size) {
    IconLayout l;
    switch (size) {
    case 16:
        l.border = 1;
        l.stroke = 2;
        l.equals = QRectF(3, 8, 6, 6);
        l.minus = QRectF(11, 10, 3, 2);
        l.arcStart = QPointF(3, 7);
        l.arcControl1 = QPointF(3, 1.5);
        l.arcControl2 = QPointF(12.5, 1.5);
        l.arcEnd = QPointF(12.5, 6);
        l.arcWidth = 1.6;
        l.headLength = 3.5;
        l.headHalfWidth = 2.6;
        return l;
    case 22:
        l.border = 1;
        l.stroke = 2;
        l.plus = QRectF(2, 11, 6, 6);
        l.equals = QRectF(9, 11, 5, 6);
        l.minus = QRectF(15, 13, 5, 2);
        l.arcStart = QPointF(5, 9);
        l.arcControl1 = QPointF(5, 2.5);
        l.arcControl2 = QPointF(17.5, 2.5);
        l.arcEnd = QPointF(17.5, 7.5);
        l.arcWidth = 1.8;
        l.headLength = 4;
        l.headHalfWidth = 3;
        return l;
    case 24:
        l.border = 1;
        l.stroke = 2;
        l.plus = QRectF(2, 12, 6, 6);
        l.equals = QRectF(9, 12, 6, 6);
        l.minus = QRectF(16, 14, 6, 2);
        l.arcStart = QPointF(5, 10);
        l.arcControl1 = QPointF(5, 2.5);
        l.arcControl2 = QPointF(19, 2.5);
        l.arcEnd = QPointF(19, 8.5);
        l.arcWidth = 2;
        l.headLength = 4.5;
        l.headHalfWidth = 3.2;
        return l;
    case 32:
        l.border = 1;
        l.stroke = 3;
        l.plus = QRectF(3, 17, 7, 7);
        l.equals = QRectF(12, 16, 8, 9);
        l.minus = QRectF(22, 19, 7, 3);
        l.arcStart = QPointF(6.5, 14);
        l.arcControl1 = QPointF(6.5, 3.5);
        l.arcControl2 = QPointF(25.5, 3.5);
        l.arcEnd = QPointF(25.5, 11.5);
        l.arcWidth = 2.5;
        l.headLength = 5.5;
        l.headHalfWidth = 4;
        return l;
    default:
        break;
    }
    // Sizes 48 and up: the 48-pixel design, scaled with the sign boxes kept on whole pixels.
    const qreal k = size / 48.0;
    auto px = [k](qreal v) { return std::round(v * k); };
    auto box = [&px](qreal x, qreal y, qreal w, qreal h) {
        const qreal left = px(x), top = px(y);
        return QRectF(left, top, px(x + w) - left, px(y + h) - top);
    };
    l.border = 1.5 * k;
    l.stroke = px(3);
    l.plus = box(4, 28, 11, 11);
    // A bar centred in the plus box lands on whole pixels only if the leftover is even.
    if (static_cast<int>(l.plus.width() - l.stroke) % 2 != 0) {
        l.plus.setWidth(l.plus.width() + 1);
        l.plus.setHeight(l.plus.height() + 1);
    }
    l.equals = box(18, 29, 12, 9);
    l.minus = QRectF(px(33), l.plus.center().y() - l.stroke / 2, px(44) - px(33), l.stroke);
    l.arcStart = QPointF(9.5, 25) * k;
    l.arcControl1 = QPointF(9.5, 6.5) * k;
    l.arcControl2 = QPointF(38.5, 6.5) * k;
    l.arcEnd = QPointF(38.5, 21) * k;
    l.arcWidth = 2.8 * k;
    l.headLength = 7 * k;
    l.headHalfWidth = 5 * k;
    l.termRadius = 7.5 * k;
    l.termCentre = QPointF(24, 12) * k;
    return l;
}

QImage renderIcon(int size) {
    const IconLayout l = iconLayout(size);
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;

    // Tile: the window's cyan, slightly deeper towards the bottom, with a teal rim.
    QLinearGradient fill(0, 0, 0, s);
    fill.setColorAt(0, QColor(228, 255, 255));
    fill.setColorAt(1, QColor(170, 240, 246));
    p.setPen(QPen(kFrame.darker(120), l.border));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(l.border / 2, l.border / 2, s - l.border, s - l.border), s * 0.19,
                      s * 0.19);

    if (!l.plus.isEmpty()) {
        const QPointF c = l.plus.center();
        drawBar(p, c, l.plus.width(), l.stroke, false, kInk);
        drawBar(p, c, l.plus.height(), l.stroke, true, kInk);
    }
    p.fillRect(QRectF(l.equals.left(), l.equals.top(), l.equals.width(), l.stroke), kInk);
    p.fillRect(QRectF(l.equals.left(), l.equals.bottom() - l.stroke, l.equals.width(), l.stroke),
               kInk);
    p.fillRect(l.minus, kAccent);

    QPainterPath arc;
    arc.moveTo(l.arcStart);
    arc.cubicTo(l.arcControl1, l.arcControl2, l.arcEnd);
    p.setPen(QPen(kAccent, l.arcWidth, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);
    const QPointF dir = unit(l.arcEnd - l.arcControl2);
    drawArrowHead(p, l.arcEnd + dir * (l.headLength * 0.8), dir, l.headLength, l.headHalfWidth,
                  kAccent);

    if (l.termRadius > 0) {
        p.setPen(QPen(kAccent, l.arcWidth * 0.6));
        p.setBrush(QColor(255, 255, 255));
        p.drawEllipse(l.termCentre, l.termRadius, l.termRadius);
        const QFont letter =
            makeFont(static_cast<int>(std::lround(l.termRadius * 1.9)), true, true);
        drawCentredText(p, QStringLiteral("x"), letter, l.termCentre, kInk);
    }
    p.end();
    return image;
}

// ---------------------------------------------------------------------------------------------

bool writeImage(const QImage& image, const QString& path, const char* format, int quality) {
    QImageWriter writer(path, format);
    if (quality >= 0) {
        writer.setQuality(quality);
    }
    if (!writer.write(image)) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path),
                     qPrintable(writer.errorString()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output-directory>\n", argv[0]);
        return 2;
    }
    if (!fontIsAvailable()) {
        // A substitute font would silently change every picture.
        std::fprintf(stderr, "the \"%s\" font is not installed (Debian: fonts-liberation2)\n",
                     qPrintable(kFontFamily));
        return 1;
    }
    if (const qreal width = captionWidth(); width > kCaptionMaxWidth) {
        std::fprintf(stderr, "the caption is %.1f px wide, more than the %.1f px it may take\n",
                     width, kCaptionMaxWidth);
        return 1;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists()) {
        std::fprintf(stderr, "no such directory: %s\n", argv[1]);
        return 1;
    }

    bool ok = writeImage(renderBackground(1), out.filePath("background.jpg"), "jpeg", 90);
    ok = writeImage(renderBackground(2), out.filePath("background@2x.jpg"), "jpeg", 90) && ok;
    for (const int size : {DRILL_ICON_SIZES}) {
        ok = writeImage(renderIcon(size), out.filePath(QStringLiteral("icon-%1.png").arg(size)),
                        "png", -1) &&
             ok;
    }
    return ok ? 0 : 1;
}
