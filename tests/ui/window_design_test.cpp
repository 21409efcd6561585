// SPDX-License-Identifier: GPL-3.0-or-later
// The two windows against their designed look: geometry, texts, fonts,
// colours, the background picture and the compiled-in resources. That every
// text fits its box is checked once, at each scale, in tests/hidpi.

#include <QApplication>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QResource>
#include <QtTest>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "application_setup.h"
#include "design.h"
#include "fake_quiz_view.h"
#include "form.h"
#include "main_window.h"
#include "rule_window.h"
#include "shown_windows.h"

namespace {

// In the form table's order, so that its values compare directly.
enum class Kind { Button, LineEdit, Label };
enum class Align { Left, Centre };
static_assert(int(Kind::LineEdit) == int(drill::form::Kind::TextBox));
static_assert(int(Align::Centre) == int(drill::form::Align::Centre));

const QColor kFace{128, 255, 255};
const QColor kField{192, 255, 255};
const QColor kRed{255, 0, 0};
const QColor kNavy{0, 0, 128};
const QColor kBlue{0, 0, 192};
const QColor kDefault{0, 0, 0}; // the design's "default": black on the fixed fields

using drill::testing::InkBox;
using drill::testing::Q;
using drill::testing::Rect;
using drill::testing::Shot;

QString Hex(QRgb pixel) {
    return QColor(pixel).name();
}

// Every designed widget child in creation order (the screen reader's announcer
// is no control of the design).
QStringList ChildNames(const QWidget& window) {
    QStringList names;
    for (QObject* child : window.children()) {
        if (child->isWidgetType() && child->objectName() != QLatin1String("Announcer")) {
            names << child->objectName();
        }
    }
    return names;
}

bool ShowsInArialMetrics(const QFont& font) {
    const QString family = QFontInfo(font).family();
    return family == QLatin1String("Arial") || family == QLatin1String("Liberation Sans");
}

} // namespace

Q_DECLARE_METATYPE(Kind)
Q_DECLARE_METATYPE(Align)

class WindowDesignTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void creationOrder_data();
    void creationOrder();
    void tableMatchesDesign_data();
    void tableMatchesDesign();
    void controls_data();
    void controls();
    void buttonCaptionCentred_data();
    void buttonCaptionCentred();
    void tabChain_data();
    void tabChain();

    void mainWindowFrame();
    void backgroundPictureDrawnUnscaled();
    void ruleWindowFrame();
    void resources_data();
    void resources();

private:
    static const drill::form::Window& Design(const QString& which) {
        return which == QLatin1String("main") ? drill::form::kMainWindow : drill::form::kRuleWindow;
    }
    QWidget* Window(const QString& which) const {
        return which == QLatin1String("main") ? static_cast<QWidget*>(form1_.get()) : form2_.get();
    }
    QImage Grab(const QString& which) const {
        return which == QLatin1String("main") ? mainShot_ : ruleShot_;
    }

    drill::testing::ScriptedRandom random_;
    std::unique_ptr<drill::Form1> form1_;
    std::unique_ptr<drill::Form2> form2_;
    QImage mainShot_, ruleShot_;
};

void WindowDesignTest::initTestCase() {
    drill::ConfigureApplication(*qobject_cast<QApplication*>(QCoreApplication::instance()));
    QVERIFY(drill::testing::ShowBothWindows(random_, form1_, form2_));
    mainShot_ = Shot(*form1_);
    ruleShot_ = Shot(*form2_);
    QCOMPARE(mainShot_.size(), QSize(706, 487));
}

void WindowDesignTest::cleanupTestCase() {
    form2_.reset();
    form1_.reset();
}

void WindowDesignTest::creationOrder_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("main") << "main"
                          << QStringList{"Command3", "Text1",  "Command7", "Command5", "Command2",
                                         "Command1", "Label3", "Label8",   "Label7",   "Label6",
                                         "Label5",   "Label4", "Label2",   "Label1"};
    QTest::newRow("rule") << "rule" << QStringList{"Label3", "Label2", "Label1", "Label4"};
}

void WindowDesignTest::creationOrder() {
    QFETCH(QString, window);
    QFETCH(QStringList, names);
    QCOMPARE(ChildNames(*Window(window)), names);
}

void WindowDesignTest::tableMatchesDesign_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("name");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QColor>("textColour");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<Align>("align");
    QTest::addColumn<bool>("bordered");

    const auto row = [](const char* window, const char* name, Kind kind, const char* text,
                        QRect geometry, int pixelSize, bool bold, QColor textColour,
                        QColor background, Align align, bool bordered = false) {
        QTest::addRow("%s %s", window, name)
            << QString::fromLatin1(window) << QString::fromLatin1(name) << kind
            << QString::fromUtf8(text) << geometry << pixelSize << bold << textColour << background
            << align << bordered;
    };
    using K = Kind;
    using A = Align;
    row("main", "Command3", K::Button, "Принять ответ", {288, 320, 153, 33}, 16, true, kDefault,
        kFace, A::Centre);
    row("main", "Text1", K::LineEdit, "Записывать здесь", {184, 264, 337, 49}, 35, false, kBlue,
        kField, A::Centre);
    row("main", "Command7", K::Button, "Выход", {440, 416, 129, 33}, 16, true, kDefault, kFace,
        A::Centre);
    row("main", "Command5", K::Button, "Ещё пример", {296, 360, 137, 33}, 16, true, kDefault, kFace,
        A::Centre);
    row("main", "Command2", K::Button, "Начало", {312, 80, 113, 33}, 16, true, kDefault, kFace,
        A::Centre);
    row("main", "Command1", K::Button, "Правило", {152, 416, 137, 33}, 16, true, kDefault, kFace,
        A::Centre);
    row("main", "Label3", K::Label, "(Без пробелов. Буквы - латинские строчные.)",
        {64, 160, 577, 25}, 16, true, kDefault, kField, A::Centre);
    row("main", "Label8", K::Label, "Исправления - до нажатия ПРИНЯТЬ ОТВЕТ", {168, 184, 369, 25},
        16, true, kRed, kField, A::Centre);
    row("main", "Label7", K::Label, "", {208, 72, 41, 25}, 16, true, kNavy, kField, A::Centre,
        true);
    row("main", "Label6", K::Label, "Задано вопросов:", {72, 72, 137, 17}, 15, true, kNavy, kField,
        A::Left);
    row("main", "Label5", K::Label, "", {624, 72, 41, 25}, 16, true, kRed, kField, A::Centre, true);
    row("main", "Label4", K::Label, "Сделано  ошибок:", {488, 72, 137, 17}, 15, true, kNavy, kField,
        A::Left);
    row("main", "Label2", K::Label,
        "Перенесите неизвестные в левую часть уравнения, числа - в правую.", {40, 136, 633, 25}, 19,
        false, kBlue, kField, A::Centre);
    row("main", "Label1", K::Label, "", {200, 208, 305, 41}, 35, false, kBlue, kField, A::Centre);

    row("rule", "Label3", K::Label, "-7x-2x = -5+8", {144, 168, 161, 41}, 21, true, kBlue, kField,
        A::Left);
    row("rule", "Label2", K::Label, "5-7x = 2x+8", {144, 128, 153, 33}, 21, true, kBlue, kField,
        A::Left);
    row("rule", "Label1", K::Label, "Например:  ", {16, 104, 105, 25}, 21, false, kDefault, kField,
        A::Left);
    // One pixel taller than designed so that its three lines fit whole.
    row("rule", "Label4", K::Label,
        "При  переносе  слагаемого  из  одной  части  уравнения  в  другую,  нужно  поменять  "
        "знак  этого  слагаемого  на  противоположный.",
        {16, 32, 457, 74}, 21, false, kDefault, kField, A::Left);
}

// The program's table, once, against the design's numbers in pixels.
void WindowDesignTest::tableMatchesDesign() {
    QFETCH(QString, window);
    QFETCH(QString, name);
    QFETCH(Kind, kind);
    QFETCH(QString, text);
    QFETCH(QRect, geometry);
    QFETCH(int, pixelSize);
    QFETCH(bool, bold);
    QFETCH(QColor, textColour);
    QFETCH(QColor, background);
    QFETCH(Align, align);
    QFETCH(bool, bordered);

    const drill::form::Control* found = Design(window).Lookup(name.toStdString());
    QVERIFY2(found, qPrintable(name));
    const drill::form::Control& control = *found;
    QCOMPARE(int(control.kind), int(kind));
    QCOMPARE(Q(control.text), text);
    QCOMPARE(drill::design::PixelRect(control.box), geometry);
    QCOMPARE(control.font.PixelSize(), pixelSize);
    QCOMPARE(control.font.weight == drill::form::Weight::Bold, bold);
    QCOMPARE(drill::design::Colour(control.textColour.value_or(drill::form::kBlack)).name(),
             textColour.name());
    QCOMPARE(drill::design::Colour(control.background).name(), background.name());
    QCOMPARE(int(control.align), int(align));
    QCOMPARE(control.border, bordered);
}

void WindowDesignTest::controls_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("name");
    for (const char* window : {"main", "rule"}) {
        for (const drill::form::Control& control : Design(QString::fromLatin1(window)).controls) {
            QTest::addRow("%s %s", window, std::string(control.name).c_str())
                << QString::fromLatin1(window) << Q(control.name);
        }
    }
}

// Every widget as its row of the table says.
void WindowDesignTest::controls() {
    QFETCH(QString, window);
    QFETCH(QString, name);
    const drill::form::Control* found = Design(window).Lookup(name.toStdString());
    QVERIFY2(found, qPrintable(name));
    const drill::form::Control& control = *found;
    const Kind kind = Kind(control.kind);
    const QString text = Q(control.text);
    const QRect geometry = drill::design::PixelRect(control.box);
    const QColor textColour =
        drill::design::Colour(control.textColour.value_or(drill::form::kBlack));
    const QColor background = drill::design::Colour(control.background);
    const bool bordered = control.border;
    const Qt::Alignment horizontal =
        control.align == drill::form::Align::Centre ? Qt::AlignHCenter : Qt::AlignLeft;

    auto* widget = Window(window)->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(widget->geometry(), geometry);

    QCOMPARE(widget->font().pixelSize(), control.font.PixelSize());
    QCOMPARE(widget->font().bold(), control.font.weight == drill::form::Weight::Bold);
    QVERIFY2(ShowsInArialMetrics(widget->font()), qPrintable(QFontInfo(widget->font()).family()));

    QPalette::ColorRole textRole = QPalette::WindowText;
    QPalette::ColorRole backRole = QPalette::Window;
    switch (kind) {
    case Kind::Button: {
        auto* button = qobject_cast<QPushButton*>(widget);
        QVERIFY(button);
        QCOMPARE(button->text(), text);
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
        textRole = QPalette::ButtonText;
        backRole = QPalette::Button;
        break;
    }
    case Kind::LineEdit: {
        auto* edit = qobject_cast<QLineEdit*>(widget);
        QVERIFY(edit);
        QCOMPARE(edit->text(), text);
        QCOMPARE(edit->maxLength(), drill::form::kAnswerMaxLength);
        QCOMPARE(edit->alignment(), horizontal | Qt::AlignVCenter);
        textRole = QPalette::Text;
        backRole = QPalette::Base;
        break;
    }
    case Kind::Label: {
        auto* label = qobject_cast<QLabel*>(widget);
        QVERIFY(label);
        QCOMPARE(label->text(), text);
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
        QVERIFY2(label->autoFillBackground(), "labels are opaque");
        QCOMPARE(label->frameShape(), QFrame::NoFrame);
        QCOMPARE(label->wordWrap(), control.wordWrap);
        // Top-aligned, as designed: centring would move every text down.
        QCOMPARE(label->alignment(), horizontal | Qt::AlignTop);
        break;
    }
    }
    const QPalette& palette = widget->palette();
    QCOMPARE(palette.color(textRole).name(), textColour.name());
    QCOMPARE(palette.color(backRole).name(), background.name());

    if (kind != Kind::Label) {
        return;
    }
    // What is painted: the label's fill in the bottom corners (clear of its
    // top-aligned text), and an unbroken dark line around bordered labels,
    // which nothing stacked above them may hide.
    const QImage shot = Grab(window);
    const QRect r = geometry;
    const int inset = bordered ? 2 : 1;
    QCOMPARE(Hex(shot.pixel(r.left() + inset, r.bottom() - inset)), background.name());
    QCOMPARE(Hex(shot.pixel(r.right() - inset, r.bottom() - inset)), background.name());
    // Borderless labels are checked down their right edge only, where no
    // other control overlaps: their text may touch the other three.
    QList<QRect> others;
    for (QObject* child : Window(window)->children()) {
        if (child != widget && child->isWidgetType()) {
            others << static_cast<QWidget*>(child)->geometry();
        }
    }
    const auto overlapped = [&](QPoint p) {
        return std::any_of(others.begin(), others.end(),
                           [&](const QRect& other) { return other.contains(p); });
    };
    QList<QPoint> edge;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        if (bordered || !overlapped(QPoint(r.right(), y))) {
            edge << QPoint(r.right(), y);
        }
        if (bordered) {
            edge << QPoint(r.left(), y);
        }
    }
    for (int x = r.left() + 1; bordered && x < r.right(); ++x) {
        edge << QPoint(x, r.top()) << QPoint(x, r.bottom());
    }
    QList<QPoint> wrong;
    for (const QPoint p : edge) {
        const QColor painted(shot.pixel(p));
        if (bordered ? painted.lightness() >= 100 : painted != background) {
            wrong << p - r.topLeft();
        }
    }
    QVERIFY2(wrong.isEmpty(),
             qPrintable(QStringLiteral("%1 of %2 edge pixels %3, the first at %4,%5")
                            .arg(wrong.size())
                            .arg(edge.size())
                            .arg(bordered ? QStringLiteral("are not a dark line")
                                          : QStringLiteral("differ from the fill"))
                            .arg(wrong.isEmpty() ? 0 : wrong.first().x())
                            .arg(wrong.isEmpty() ? 0 : wrong.first().y())));
}

void WindowDesignTest::buttonCaptionCentred_data() {
    QTest::addColumn<QString>("name");
    for (const drill::form::Control& control : drill::form::kMainWindow.controls) {
        if (control.kind == drill::form::Kind::Button) {
            QVERIFY(control.align == drill::form::Align::Centre);
            QTest::newRow(std::string(control.name).c_str()) << Q(control.name);
        }
    }
}

// A button has no alignment property of its own: its caption, as painted, is
// measured against the same text drawn centred in the same box.
void WindowDesignTest::buttonCaptionCentred() {
    QFETCH(QString, name);
    auto* button = form1_->findChild<QPushButton*>(name, Qt::FindDirectChildrenOnly);
    QVERIFY2(button, qPrintable(name));
    // Dark caption pixels, clear of the bevel.
    const auto ink = [](const QImage& image) {
        return InkBox(image, image.rect().adjusted(3, 3, -3, -3),
                      [](QRgb pixel) { return qRed(pixel) < 64; });
    };
    const QImage painted = Shot(*button);
    QImage reference(button->size(), QImage::Format_RGB32);
    reference.fill(Qt::white);
    {
        QPainter painter(&reference);
        painter.setFont(button->font());
        painter.setPen(Qt::black);
        painter.drawText(reference.rect(), Qt::AlignCenter, button->text());
    }
    const QRect got = ink(painted);
    const QRect want = ink(reference);
    QVERIFY(!want.isEmpty());
    // Anti-aliasing may move an edge by a pixel; misplaced text moves both.
    const auto near = [](int a, int b) { return std::abs(a - b) <= 1; };
    QVERIFY2(
        near(got.left(), want.left()) && near(got.right(), want.right()) &&
            near(got.top(), want.top()) && near(got.bottom(), want.bottom()),
        qPrintable(
            QStringLiteral("caption ink %1, centred it would be %2").arg(Rect(got), Rect(want))));
}

void WindowDesignTest::tabChain_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("order");
    for (const char* window : {"main", "rule"}) {
        std::vector<drill::form::Control> stops;
        for (const drill::form::Control& control : Design(QString::fromLatin1(window)).controls) {
            if (control.tabIndex >= 0) {
                stops.push_back(control);
            }
        }
        std::sort(stops.begin(), stops.end(),
                  [](const auto& a, const auto& b) { return a.tabIndex < b.tabIndex; });
        QStringList order;
        for (const drill::form::Control& control : stops) {
            order << Q(control.name);
        }
        QTest::newRow(window) << QString::fromLatin1(window) << order;
    }
}

// The window's own focus chain, as Tab walks it from the first stop round to
// it again: every widget that Tab gives the focus to, in the designed order,
// and nothing else.
void WindowDesignTest::tabChain() {
    QFETCH(QString, window);
    QFETCH(QStringList, order);
    QWidget* top = Window(window);
    QWidget* first = order.isEmpty() ? top : top->findChild<QWidget*>(order.first());
    QVERIFY(first);
    const auto takesTab = [top](QWidget* widget) {
        return widget != top && widget->isEnabled() && widget->isVisibleTo(top) &&
               (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
    };
    QStringList chain;
    QWidget* widget = first;
    do {
        if (takesTab(widget)) {
            chain << widget->objectName();
        }
        widget = widget->nextInFocusChain();
    } while (widget != first && chain.size() <= order.size());
    QCOMPARE(chain, order);
}

void WindowDesignTest::mainWindowFrame() {
    drill::Form1& form = *form1_;
    QCOMPARE(form.windowTitle(),
             QStringLiteral("Перенос слагаемых из одной части уравнения в другую"));
    QCOMPARE(form.size(), QSize(706, 487));
    QCOMPARE(form.minimumSize(), QSize(706, 487));
    QCOMPARE(form.maximumSize(), QSize(706, 487));
    QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(form.windowFlags() & Qt::WindowCloseButtonHint);
    QCOMPARE(form.palette().color(QPalette::Window).name(), kFace.name());
    QVERIFY(!form.windowIcon().isNull());
}

// The picture is 707x488 and the window one pixel smaller each way: drawn at
// the top-left without scaling, every uncovered pixel is the picture's own.
void WindowDesignTest::backgroundPictureDrawnUnscaled() {
    const QImage picture =
        QImage(QStringLiteral(":/assets/background.jpg")).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(picture.size(), QSize(707, 488));
    QList<QRect> covered;
    for (QObject* child : form1_->children()) {
        if (child->isWidgetType()) {
            covered << static_cast<QWidget*>(child)->geometry();
        }
    }
    int compared = 0;
    int differing = 0;
    QPoint firstDifference;
    for (int y = 0; y < mainShot_.height(); y += 3) {
        for (int x = 0; x < mainShot_.width(); x += 3) {
            const QPoint p(x, y);
            if (std::any_of(covered.begin(), covered.end(),
                            [&](const QRect& r) { return r.contains(p); })) {
                continue;
            }
            ++compared;
            if (mainShot_.pixel(p) != picture.pixel(p)) {
                if (differing++ == 0) {
                    firstDifference = p;
                }
            }
        }
    }
    QVERIFY(compared > 10000);
    QVERIFY2(differing == 0,
             qPrintable(QStringLiteral("%1 pixels differ, first at %2,%3: %4 instead of %5")
                            .arg(differing)
                            .arg(firstDifference.x())
                            .arg(firstDifference.y())
                            .arg(Hex(mainShot_.pixel(firstDifference)))
                            .arg(Hex(picture.pixel(firstDifference)))));
    // The picture's bottom-right corner pixel is the one left out.
    QCOMPARE(mainShot_.pixel(705, 486), picture.pixel(705, 486));
}

void WindowDesignTest::ruleWindowFrame() {
    drill::Form2& form = *form2_;
    QCOMPARE(form.windowTitle(), QStringLiteral("Правило"));
    QCOMPARE(form.size(), QSize(485, 268));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QCOMPARE(form.palette().color(QPalette::Window).name(), kField.name());
    // Clear of every label: the window's own fill.
    for (const QPoint p : {QPoint(2, 2), QPoint(480, 264), QPoint(400, 200), QPoint(8, 150)}) {
        QCOMPARE(Hex(ruleShot_.pixel(p)), kField.name());
    }
}

void WindowDesignTest::resources_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::newRow("background") << ":/assets/background.jpg" << QSize(707, 488);
    QTest::newRow("background 2x") << ":/assets/background@2x.jpg" << QSize(1414, 976);
    QTest::newRow("background decoded") << ":/assets/background.rgb32" << QSize();
    for (int side : {16, 32, 48}) {
        QTest::addRow("icon %d", side)
            << QStringLiteral(":/assets/icon-%1.png").arg(side) << QSize(side, side);
    }
}

void WindowDesignTest::resources() {
    QFETCH(QString, path);
    QFETCH(QSize, size);
    if (!size.isValid()) {
        // Stored uncompressed, or the window would have to inflate it first.
        const QResource resource(path);
        QVERIFY2(resource.isValid(), qPrintable(path));
        QCOMPARE(resource.compressionAlgorithm(), QResource::NoCompression);
        return;
    }
    const QPixmap pixmap(path);
    QVERIFY2(!pixmap.isNull(), qPrintable(path));
    QCOMPARE(pixmap.size(), size);
    if (path.contains(QLatin1String("icon"))) {
        QVERIFY(QApplication::windowIcon().availableSizes().contains(size));
    }
}

QTEST_MAIN(WindowDesignTest)
#include "window_design_test.moc"
