// SPDX-License-Identifier: GPL-3.0-or-later
// Under a dark desktop colour scheme every text of both windows keeps its
// designed colour, or black where the design says "default", on the design's
// fixed light fields; a scheme changed while the program runs changes nothing.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QtTest>

#include <memory>

#include "application_setup.h"
#include "fake_quiz_view.h"
#include "form.h"
#include "main_window.h"
#include "rule_window.h"
#include "shown_windows.h"

namespace {

namespace form = drill::form;
using drill::testing::Q;

// A dark scheme of the kind desktops ship: light text on dark grey.
QPalette DarkPalette() {
    const QColor text(252, 252, 252), window(42, 46, 50), base(27, 30, 32), button(49, 54, 59);
    QPalette dark(text, button, button.lighter(), button.darker(), button, text, text, base,
                  window);
    dark.setColor(QPalette::ButtonText, text);
    dark.setColor(QPalette::Highlight, QColor(61, 174, 233));
    return dark;
}

int Distance(QRgb a, const QColor& b) {
    return std::max({std::abs(qRed(a) - b.red()), std::abs(qGreen(a) - b.green()),
                     std::abs(qBlue(a) - b.blue())});
}

// The pixel of the control's inside that stands out most from its field: a
// glyph's fully covered pixel, which is the text colour.
QRgb Ink(QWidget& control, const QColor& field) {
    const QImage shot = drill::testing::Shot(control);
    const QRect inside = shot.rect().adjusted(4, 4, -4, -4); // clear of frames and borders
    QRgb ink = field.rgb();
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (Distance(shot.pixel(x, y), field) > Distance(ink, field)) {
                ink = shot.pixel(x, y);
            }
        }
    }
    return ink;
}

QPalette::ColorRole TextRole(form::Kind kind) {
    switch (kind) {
    case form::Kind::Button:
        return QPalette::ButtonText;
    case form::Kind::TextBox:
        return QPalette::Text;
    case form::Kind::Label:
        break;
    }
    return QPalette::WindowText;
}

} // namespace

class DarkSchemeTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void nothingOfTheSchemeLeft();
    void controls_data();
    void controls();
    void messageBox();
    void schemeChangedWhileRunning();

private:
    drill::testing::ScriptedRandom random_;
    std::unique_ptr<drill::Form1> form1_;
    std::unique_ptr<drill::Form2> form2_;
};

void DarkSchemeTest::initTestCase() {
    auto& app = *qobject_cast<QApplication*>(QCoreApplication::instance());
    // The desktop's scheme arrives before the program's own set-up runs.
    app.setPalette(DarkPalette());
    QCOMPARE(app.palette().color(QPalette::ButtonText), QColor(252, 252, 252));

    drill::ConfigureApplication(app);
    QVERIFY(drill::testing::ShowBothWindows(random_, form1_, form2_));
}

void DarkSchemeTest::cleanupTestCase() {
    form2_.reset();
    form1_.reset();
}

// Not only the roles the windows use: message boxes, selections and focus
// frames are drawn from the rest.
void DarkSchemeTest::nothingOfTheSchemeLeft() {
    const QPalette standard = QApplication::style()->standardPalette();
    const QPalette app = QApplication::palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto colorRole = QPalette::ColorRole(role);
            if (colorRole != QPalette::NoRole) {
                QVERIFY2(app.color(group, colorRole) == standard.color(group, colorRole),
                         qPrintable(QStringLiteral("group %1 role %2: %3, the style's %4")
                                        .arg(group)
                                        .arg(role)
                                        .arg(app.color(group, colorRole).name(),
                                             standard.color(group, colorRole).name())));
            }
        }
    }
}

void DarkSchemeTest::controls_data() {
    QTest::addColumn<bool>("main");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("field");
    for (const form::Window* window : {&form::kMainWindow, &form::kRuleWindow}) {
        for (const form::Control& control : window->controls) {
            const QString name = QString::fromUtf8(control.name.data(), control.name.size());
            QTest::addRow("%s.%s", window->name.data(), control.name.data())
                << (window == &form::kMainWindow) << name << int(control.kind)
                << Q(control.textColour.value_or(form::kBlack)) << Q(control.background);
        }
    }
}

void DarkSchemeTest::controls() {
    QFETCH(bool, main);
    QFETCH(QString, name);
    QFETCH(int, kind);
    QFETCH(QColor, text);
    QFETCH(QColor, field);
    QWidget* window = main ? static_cast<QWidget*>(form1_.get()) : form2_.get();
    auto* control = window->findChild<QWidget*>(name);
    QVERIFY(control);

    const QPalette::ColorRole role = TextRole(form::Kind(kind));
    QCOMPARE(control->palette().color(role).name(), text.name());
    const QPalette::ColorRole fieldRole =
        form::Kind(kind) == form::Kind::Button ? QPalette::Button : QPalette::Window;
    QCOMPARE(control->palette().color(fieldRole).name(), field.name());

    const bool hasText = qobject_cast<QAbstractButton*>(control)
                             ? !static_cast<QAbstractButton*>(control)->text().isEmpty()
                         : qobject_cast<QLabel*>(control)
                             ? !static_cast<QLabel*>(control)->text().isEmpty()
                             : !static_cast<QLineEdit*>(control)->text().isEmpty();
    if (hasText) {
        const QRgb ink = Ink(*control, field);
        QVERIFY2(Distance(ink, text) <= 48,
                 qPrintable(QStringLiteral("text drawn in %1, designed %2")
                                .arg(QColor(ink).name(), text.name())));
    }
}

void DarkSchemeTest::messageBox() {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Title"), QStringLiteral("Текст"),
                    QMessageBox::Ok, form1_.get());
    box.setWindowModality(Qt::NonModal);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    QVERIFY(label);
    const QColor window = box.palette().color(QPalette::Window);
    QVERIFY2(window.lightness() > 200, qPrintable(window.name()));
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::black));
    QVERIFY(Distance(Ink(*label, window), Qt::black) <= 48);
    QAbstractButton* ok = box.button(QMessageBox::Ok);
    QVERIFY(ok);
    QCOMPARE(ok->palette().color(QPalette::ButtonText), QColor(Qt::black));
}

// A desktop whose theme sets the application palette when its scheme changes.
void DarkSchemeTest::schemeChangedWhileRunning() {
    const QPalette before = QApplication::palette();
    QApplication::setPalette(DarkPalette());
    QTRY_COMPARE(QApplication::palette(), before);
    auto* button = form1_->findChild<QPushButton*>(QStringLiteral("Command3"));
    QVERIFY(button);
    QCOMPARE(button->palette().color(QPalette::ButtonText), QColor(Qt::black));
    QVERIFY(Distance(Ink(*button, Q(form::kButtonFace)), Qt::black) <= 48);
}

QTEST_MAIN(DarkSchemeTest)
#include "dark_scheme_test.moc"
