// SPDX-License-Identifier: GPL-3.0-or-later
// The guard that keeps message boxes from blocking the window tests and the
// click benchmark.

#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include "message_box_closer.h"

using drill::testing::MessageBoxCloser;

class MessageBoxCloserTest : public QObject {
    Q_OBJECT

private slots:
    // Each box is closed without a user and its open time is attributed to
    // the press that raised it, not to the ones before.
    void modalBoxesAreClosedAndTimed() {
        QElapsedTimer clock;
        clock.start();
        MessageBoxCloser closer(&clock);
        QDialog* stray = nullptr;
        QTimer watchdog; // fails the test instead of hanging it
        watchdog.setInterval(2000);
        bool rescued = false;
        QObject::connect(&watchdog, &QTimer::timeout, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                rescued = true;
                modal->close();
            }
        });
        watchdog.start();

        QMessageBox first(QMessageBox::Information, "t", "first", QMessageBox::Ok);
        QCOMPARE(first.exec(), int(QMessageBox::Ok)); // closed with its own button
        const qint64 between = clock.nsecsElapsed();
        QMessageBox second(QMessageBox::Information, "t", "second", QMessageBox::Ok);
        QCOMPARE(second.exec(), int(QMessageBox::Ok));
        QVERIFY(!rescued);

        QCOMPARE(closer.boxes().size(), std::size_t(2));
        QCOMPARE(closer.boxes()[0].text, QString("first"));
        QCOMPARE(closer.boxes()[1].text, QString("second"));
        for (const auto& box : closer.boxes()) {
            QVERIFY(box.hiddenNs >= box.shownNs);
        }
        QVERIFY(closer.boxes()[0].hiddenNs <= between);
        QVERIFY(closer.boxes()[1].shownNs >= between);
        QCOMPARE(closer.OpenNsSince(1), closer.boxes()[1].openNs());
        QCOMPARE(closer.OpenNsSince(0), closer.boxes()[0].openNs() + closer.boxes()[1].openNs());
        QCOMPARE(closer.OpenNsSince(2), qint64(0));

        // Another modal dialog is no message box: closed, not recorded, and
        // counted as a stray so that a test can fail on it.
        QCOMPARE(closer.strays(), 0);
        stray = new QDialog;
        stray->setModal(true);
        QCOMPARE(stray->exec(), int(QDialog::Rejected));
        delete stray;
        QVERIFY(!rescued);
        QCOMPARE(closer.boxes().size(), std::size_t(2));
        QCOMPARE(closer.strays(), 1);
    }
};

QTEST_MAIN(MessageBoxCloserTest)
#include "message_box_closer_test.moc"
