// SPDX-License-Identifier: GPL-3.0-or-later
// Both windows at the scale factor the test is run with (QT_SCALE_FACTOR): they
// grow as a whole, every text any control can show still fits its box, and the
// background picture is drawn from the sharp double-size file on high-DPI screens.

#include <QApplication>
#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QtTest>

#include <cmath>
#include <memory>

#include "application_setup.h"
#include "bordered_label.h"
#include "drill_button.h"
#include "fake_quiz_view.h"
#include "main_window.h"
#include "question_bank.h"
#include "quiz_texts.h"
#include "rule_window.h"
#include "shown_windows.h"

namespace {

using drill::testing::InkBox;
using drill::testing::Rect;
using drill::testing::Shot;

qreal ExpectedFactor() {
    bool ok = false;
    const qreal factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    return ok ? factor : 1.0;
}

// Where a push button draws its caption.
QRect ButtonTextRect(const QPushButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    return button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
}

// Where a line edit draws its text: the style's contents less the fixed margins
// QLineEdit keeps inside them (2 pixels across, 1 down).
QRect LineEditTextRect(const QLineEdit& edit) {
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.lineWidth = edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit);
    option.state |= QStyle::State_Sunken;
    const QRect contents =
        edit.style()->subElementRect(QStyle::SE_LineEditContents, &option, &edit);
    const QMargins margins = edit.textMargins();
    return contents.marginsRemoved(margins).adjusted(2, 1, -2, -1);
}

bool FarFrom(QRgb pixel, const QColor& background) {
    return std::abs(qRed(pixel) - background.red()) > 64 ||
           std::abs(qGreen(pixel) - background.green()) > 64 ||
           std::abs(qBlue(pixel) - background.blue()) > 64;
}

QRect ToDevice(const QRect& logical, qreal ratio) {
    return QRectF(QPointF(logical.topLeft()) * ratio, QSizeF(logical.size()) * ratio)
        .toAlignedRect();
}

// The mean difference per channel over the band of the window above every control.
double MeanDifference(const QImage& a, const QImage& b, const QRect& band) {
    double total = 0;
    for (int y = band.top(); y <= band.bottom(); ++y) {
        for (int x = band.left(); x <= band.right(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            total += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                     std::abs(qBlue(p) - qBlue(q));
        }
    }
    return total / (3.0 * band.width() * band.height());
}

} // namespace

class ScaleTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void windowsGrowAsAWhole_data();
    void windowsGrowAsAWhole();
    void windowsOnTheirScreen_data() { windowsGrowAsAWhole_data(); }
    void windowsOnTheirScreen();

    void textFitsItsBox_data();
    void textFitsItsBox();
    void textDrawnWhole_data();
    void textDrawnWhole();

    void backgroundFromTheMatchingPicture();

private:
    QWidget* Window(const QString& which) const {
        return which == QLatin1String("main") ? static_cast<QWidget*>(form1_.get()) : form2_.get();
    }
    QWidget* Control(const QString& window, const QString& name) const {
        return Window(window)->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
    }
    static void AddTextRows(bool withAnswerBox);

    qreal factor_ = 1;
    drill::testing::ScriptedRandom random_;
    std::unique_ptr<drill::Form1> form1_;
    std::unique_ptr<drill::Form2> form2_;
};

void ScaleTest::initTestCase() {
    drill::ConfigureApplication(*qobject_cast<QApplication*>(QCoreApplication::instance()));
    factor_ = ExpectedFactor();
    QVERIFY(drill::testing::ShowBothWindows(random_, form1_, form2_));
    QCOMPARE(form1_->devicePixelRatioF(), factor_);
}

void ScaleTest::cleanupTestCase() {
    form2_.reset();
    form1_.reset();
}

void ScaleTest::windowsGrowAsAWhole_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QSize>("logical");
    QTest::newRow("main") << "main" << QSize(706, 487);
    QTest::newRow("rule") << "rule" << QSize(485, 268);
}

// The layout is in fixed pixels: only Qt's scaling can keep it whole on a
// high-DPI screen, and then the window must cover factor times the pixels.
void ScaleTest::windowsGrowAsAWhole() {
    QFETCH(QString, window);
    QFETCH(QSize, logical);
    QWidget* w = Window(window);
    QCOMPARE(w->size(), logical);
    const QPixmap shot = w->grab();
    QCOMPARE(shot.devicePixelRatio(), factor_);
    // A half pixel rounds either way.
    QVERIFY2(std::abs(shot.width() - logical.width() * factor_) <= 0.5 &&
                 std::abs(shot.height() - logical.height() * factor_) <= 0.5,
             qPrintable(QStringLiteral("%1x%2 device pixels at %3")
                            .arg(shot.width())
                            .arg(shot.height())
                            .arg(factor_)));
}

// Wherever the screens lie: whole on the window's screen where the frame fits,
// else with its top-left corner (title bar and close box) there.
void ScaleTest::windowsOnTheirScreen() {
    QFETCH(QString, window);
    const QRect frame = Window(window)->frameGeometry();
    const QRect area = Window(window)->screen()->availableGeometry();
    QVERIFY2(area.contains(QRect(frame.topLeft(), frame.size().boundedTo(area.size()))),
             qPrintable(QStringLiteral("%1 on %2").arg(Rect(frame), Rect(area))));
}

// Every text each control can come to show, not only the one it starts with.
void ScaleTest::AddTextRows(bool withAnswerBox) {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    const auto row = [](const char* window, const char* name, const QString& text) {
        QTest::addRow("%s %s%s", window, name, qPrintable(text.isEmpty() ? text : " " + text))
            << QString::fromLatin1(window) << QString::fromLatin1(name) << text;
    };
    const auto utf8 = [](const char* text) { return QString::fromUtf8(text); };

    for (const char* name : {"Command1", "Command2", "Command3", "Command5", "Command7"}) {
        row("main", name, QString()); // its own caption
    }
    for (const char* name : {"Label2", "Label3", "Label4", "Label6"}) {
        row("main", name, QString());
    }
    for (const char* verdict :
         {drill::texts::kVerdictHint, drill::texts::kCorrect, drill::texts::kWrong}) {
        row("main", "Label8", utf8(verdict));
    }
    // Question numbers and mistake counts run up to the number of questions.
    for (const char* name : {"Label7", "Label5"}) {
        row("main", name, QString::number(drill::QuestionBank::Count));
    }
    for (int id = 1; id <= drill::QuestionBank::Count; ++id) {
        row("main", "Label1", QString::fromStdString(drill::QuestionBank::Get(id).Problem));
    }
    if (withAnswerBox) {
        row("main", "Text1", QString()); // the invitation it opens with
        for (int id = 1; id <= drill::QuestionBank::Count; ++id) {
            row("main", "Text1", QString::fromStdString(drill::QuestionBank::Get(id).Answer1));
        }
    }
    for (const char* name : {"Label1", "Label2", "Label3", "Label4"}) {
        row("rule", name, QString());
    }
}

void ScaleTest::textFitsItsBox_data() {
    AddTextRows(true);
}

// Every text fits its box: the one check of it, for both windows at each
// scale. By the font's metrics, the full line height and advance (wrapped as
// the label wraps), so that no glyph of any of these texts can be cut,
// whatever its own ink.
void ScaleTest::textFitsItsBox() {
    QFETCH(QString, window);
    QFETCH(QString, name);
    QFETCH(QString, text);
    QWidget* control = Control(window, name);
    QVERIFY(control);

    QRect box;
    QString shown = text;
    bool wraps = false;
    if (auto* button = qobject_cast<QPushButton*>(control)) {
        box = ButtonTextRect(*button);
        shown = button->text();
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        box = LineEditTextRect(*edit);
        if (shown.isEmpty()) {
            shown = edit->text();
        }
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        box = label->contentsRect();
        if (shown.isEmpty()) {
            shown = label->text();
        }
        wraps = label->wordWrap();
    }
    QVERIFY(!shown.isEmpty());

    // Blanks at the end of a left-aligned text draw nothing, wherever they end.
    while (shown.endsWith(QLatin1Char(' '))) {
        shown.chop(1);
    }

    const QFontMetricsF metrics(control->font(), control);
    QRectF needed;
    if (wraps) {
        needed = metrics.boundingRect(QRectF(box), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                                      shown);
    } else {
        // The advance runs past the last glyph's ink by its right bearing, and a
        // first glyph may overhang to the left.
        const qreal width = metrics.horizontalAdvance(shown) - metrics.rightBearing(shown.back()) -
                            qMin<qreal>(0, metrics.leftBearing(shown.front()));
        needed = QRectF(box.topLeft(), QSizeF(width, metrics.height()));
    }
    QVERIFY2(needed.width() <= box.width() && needed.height() <= box.height(),
             qPrintable(QStringLiteral("needs %1, has %2").arg(Rect(needed), Rect(box))));
}

void ScaleTest::textDrawnWhole_data() {
    // A line edit scrolls a long text rather than cut it; the metrics cover it.
    AddTextRows(false);
}

// By the pixels drawn at this scale: the control's text has the same ink as the
// same text drawn by a like control with room to spare. Growing the copy by an
// even number of pixels keeps centred text on the same pixel grid.
void ScaleTest::textDrawnWhole() {
    QFETCH(QString, window);
    QFETCH(QString, name);
    QFETCH(QString, text);
    QWidget* control = Control(window, name);
    QVERIFY(control);

    std::unique_ptr<QWidget> roomy;
    QRect scanned = control->rect();
    std::function<bool(QRgb)> isInk;
    QSize growth(300, 300);
    if (auto* button = qobject_cast<QPushButton*>(control)) {
        roomy = std::make_unique<drill::DrillButton>(button->text());
        // The caption is black; the button's own shading and outline are lighter.
        isInk = [](QRgb p) { return qGray(p) < 100; };
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        if (!text.isEmpty()) {
            label->setText(text);
        }
        auto* copy = qobject_cast<drill::BorderedLabel*>(label)
                         ? new drill::BorderedLabel(label->text())
                         : new QLabel(label->text());
        roomy.reset(copy);
        copy->setAlignment(label->alignment());
        copy->setWordWrap(label->wordWrap());
        copy->setTextFormat(label->textFormat());
        copy->setContentsMargins(label->contentsMargins());
        copy->setAutoFillBackground(label->autoFillBackground());
        if (label->wordWrap()) {
            growth.setWidth(0); // the same lines, and room below them
        }
        // Inside the frame a bordered label draws around its text.
        scanned = label->contentsRect();
        const QColor background = label->palette().color(QPalette::Window);
        isInk = [background](QRgb p) { return FarFrom(p, background); };
    }
    QVERIFY(roomy);
    roomy->setFont(control->font());
    roomy->setPalette(control->palette());
    roomy->resize(control->size() + growth);
    const QRect roomyScanned = scanned.adjusted(0, 0, growth.width(), growth.height());

    const QImage shot = Shot(*control);
    const QImage roomyShot = Shot(*roomy);
    QCOMPARE(shot.devicePixelRatio(), factor_);
    QCOMPARE(roomyShot.devicePixelRatio(), factor_);
    // Inside a frame, one device pixel further in: a line drawn at a fractional
    // scale may spill that far.
    const int inset = scanned == control->rect() ? 0 : 1;
    const QMargins in(inset, inset, inset, inset);
    const QRect ink = InkBox(shot, ToDevice(scanned, factor_) - in, isInk);
    const QRect whole = InkBox(roomyShot, ToDevice(roomyScanned, factor_) - in, isInk);
    QVERIFY(!whole.isEmpty());
    QVERIFY2(ink.size() == whole.size(),
             qPrintable(QStringLiteral("drawn %1, whole %2").arg(Rect(ink), Rect(whole))));
}

// The window paints the double-size picture from a ratio of 1.5 up. At exactly 1
// and 2 its pixels are the picture's own; at 1.5 they must come from the large
// picture shrunk, not the small one blown up.
void ScaleTest::backgroundFromTheMatchingPicture() {
    const QImage small =
        QImage(QStringLiteral(":/assets/background.jpg")).convertToFormat(QImage::Format_RGB32);
    const QImage large =
        QImage(QStringLiteral(":/assets/background@2x.jpg")).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(large.size(), small.size() * 2);

    const QImage shot = Shot(*form1_);
    // Above the first row of controls (the question counters at y = 72).
    const QRect band = ToDevice(QRect(0, 0, form1_->width(), 70), factor_);
    const QImage fromSmall =
        small.scaled(small.size() * factor_, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage fromLarge =
        large.scaled(small.size() * factor_, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const double offSmall = MeanDifference(shot, fromSmall, band);
    const double offLarge = MeanDifference(shot, fromLarge, band);
    qInfo("mean difference from the small picture %.2f, from the large %.2f", offSmall, offLarge);

    if (factor_ == 1.0) {
        QCOMPARE(offSmall, 0.0);
    } else if (factor_ == 2.0) {
        QCOMPARE(offLarge, 0.0);
    } else if (factor_ > 1.25) {
        QVERIFY(offLarge < offSmall);
    }
    // The two pictures must differ enough here for the comparison to tell them apart.
    QVERIFY(MeanDifference(fromSmall, fromLarge, band) > 0.5);
}

QTEST_MAIN(ScaleTest)
#include "scale_test.moc"
