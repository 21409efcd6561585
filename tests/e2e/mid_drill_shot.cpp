// SPDX-License-Identifier: GPL-3.0-or-later
// Plays the drill by mouse and keyboard to a correct answer at the third
// question, one mistake made on the way, and saves the main window's picture.
// The screenshot script needs it because the question on show cannot be read
// from outside the program.

#include <QApplication>
#include <QTest>

#include <cstdio>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "application_setup.h"
#include "clock_random.h"
#include "fake_quiz_view.h"
#include "main_window.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    drill::ConfigureApplication(app);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }

    drill::ClockRandom random;
    drill::Form1 form(random);
    const auto find = [&form](const char* name) {
        return form.findChild<QWidget*>(QString::fromLatin1(name));
    };
    auto* text1 = qobject_cast<QLineEdit*>(find("Text1"));
    const auto label = [&](const char* name) { return qobject_cast<QLabel*>(find(name))->text(); };
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) {
        std::fprintf(stderr, "the window was never shown\n");
        return 1;
    }
    const auto answer = [&](bool right) {
        const auto& question = drill::testing::QuestionShowing(label("Label1").toStdString());
        QTest::keyClicks(text1,
                         right ? QString::fromStdString(question.Answer1) : QStringLiteral("x=0"));
        QTest::mouseClick(find("Command3"), Qt::LeftButton);
    };
    QTest::mouseClick(find("Command2"), Qt::LeftButton);
    answer(true);
    QTest::mouseClick(find("Command5"), Qt::LeftButton);
    answer(false);
    QTest::mouseClick(find("Command5"), Qt::LeftButton);
    answer(true);
    QTest::qWait(100);

    if (label("Label8") != QStringLiteral("Верно") || label("Label7") != QStringLiteral("3") ||
        label("Label5") != QStringLiteral("1")) {
        std::fprintf(stderr, "the drill did not reach the expected state\n");
        return 1;
    }
    if (!form.grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
