// Plays the drill by mouse and keyboard to a correct answer at the third
// question, one mistake made on the way, and saves the main window's picture.
// The screenshot script needs it because the question on show cannot be read
// from outside the program.

#include <QApplication>
#include <QTest>

#include <cstdio>

#include "application_setup.h"
#include "main_window.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    drill::ConfigureApplication(app);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }

    drill::Form1 form;
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) {
        std::fprintf(stderr, "the window was never shown\n");
        return 1;
    }
    const auto answer = [&](bool right) {
        QTest::keyClicks(form.Text1, right ? QString::fromStdString(form.quiz().Answer1())
                                           : QStringLiteral("x=0"));
        QTest::mouseClick(form.Command3, Qt::LeftButton);
    };
    QTest::mouseClick(form.Command2, Qt::LeftButton);
    answer(true);
    QTest::mouseClick(form.Command5, Qt::LeftButton);
    answer(false);
    QTest::mouseClick(form.Command5, Qt::LeftButton);
    answer(true);
    QTest::qWait(100);

    if (form.Label8->text() != QStringLiteral("Верно") ||
        form.Label7->text() != QStringLiteral("3") || form.Label5->text() != QStringLiteral("1")) {
        std::fprintf(stderr, "the drill did not reach the expected state\n");
        return 1;
    }
    if (!form.grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
