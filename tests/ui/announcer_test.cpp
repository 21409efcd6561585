// SPDX-License-Identifier: GPL-3.0-or-later
// The announcer as assistive technology sees it: a notification named after
// the text last said, shown anew for each text, and nothing on the screen or
// in the focus changing. Runs on a real X display (in a test desktop), where
// Qt's accessibility can be switched on.

#include <QAccessible>
#include <QGuiApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <utility>
#include <vector>

#include "accessibility.h"
#include "announcer.h"

namespace {

std::vector<std::pair<QAccessible::Event, QObject*>> seen;

void Record(QAccessibleEvent* event) {
    seen.emplace_back(event->type(), event->object());
}

class AnnouncerTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        drill::a11y::InstallFactories();
        // The bridge switches itself on once it has met the accessibility bus.
        QTRY_VERIFY2_WITH_TIMEOUT(QAccessible::isActive(), "no accessibility bridge", 10000);
        QAccessible::installUpdateHandler(Record);
    }

    void init() {
        window_ = new QWidget;
        window_->resize(200, 100);
        button_ = new QPushButton(QStringLiteral("Принять ответ"), window_);
        announcer_ = new drill::Announcer(window_);
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_));
        button_->setFocus();
        seen.clear();
    }

    void cleanup() { delete window_; }

    void IsANotificationNamedAfterTheText() {
        announcer_->Say(QStringLiteral("Вопрос 1. Уравнение 5x-4=x+2"));
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(announcer_);
        QVERIFY(face);
        QCOMPARE(face->role(), QAccessible::Notification);
        QCOMPARE(face->text(QAccessible::Name), QStringLiteral("Вопрос 1. Уравнение 5x-4=x+2"));
    }

    // Each text, the same one again included (a second wrong answer on a later
    // question), is shown anew; the name is changed before it shows.
    void EachTextShowsTheNotificationAnew() {
        for (const QString& text :
             {QStringLiteral("Ошибка"), QStringLiteral("Ошибка"), QStringLiteral("Верно")}) {
            seen.clear();
            announcer_->Say(text);
            const decltype(seen) expected{{QAccessible::NameChanged, announcer_},
                                          {QAccessible::ObjectShow, announcer_}};
            QVERIFY2(seen == expected, qPrintable(text));
            QCOMPARE(QAccessible::queryAccessibleInterface(announcer_)->text(QAccessible::Name),
                     text);
        }
    }

    void EmptyTextSaysNothing() {
        announcer_->Say(QStringLiteral("Верно"));
        seen.clear();
        announcer_->Say(QString());
        QVERIFY(seen.empty());
        QCOMPARE(QAccessible::queryAccessibleInterface(announcer_)->text(QAccessible::Name),
                 QStringLiteral("Верно"));
    }

    void NothingVisibleChangesAndTheFocusStays() {
        const QImage before = window_->grab().toImage();
        announcer_->Say(QStringLiteral("Верно"));
        QGuiApplication::sync(); // what the X server answers has arrived and run
        QCOMPARE(window_->grab().toImage(), before);
        QVERIFY(button_->hasFocus());
        QCOMPARE(announcer_->size(), QSize(0, 0));
        QCOMPARE(announcer_->focusPolicy(), Qt::NoFocus);
    }

private:
    QWidget* window_ = nullptr;
    QPushButton* button_ = nullptr;
    drill::Announcer* announcer_ = nullptr;
};

} // namespace

QTEST_MAIN(AnnouncerTest)
#include "announcer_test.moc"
