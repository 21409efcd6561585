// SPDX-License-Identifier: GPL-3.0-or-later
// A huge paste into the answer box is cut at the program's limit, and an
// answer is kept whole. The limit is Qt's own default: the check fails when
// the program's is raised (a megabyte paste would then stall every keystroke,
// which bench/click_latency times) or lowered below an answer.

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QtTest>

#include <memory>

#include "application_setup.h"
#include "fake_quiz_view.h"
#include "main_window.h"
#include "shown_windows.h"

class AnswerLengthTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cutAtTheLimit_data();
    void cutAtTheLimit();

private:
    drill::testing::ScriptedRandom random_;
    std::unique_ptr<drill::Form1> form_;
    QLineEdit* box_ = nullptr;
};

namespace {

constexpr int kLimit = 32767; // Qt's own default for a line edit
const QString kMebibyte = QStringLiteral("5x-x=4+2").repeated(128 * 1024);

} // namespace

void AnswerLengthTest::initTestCase() {
    drill::ConfigureApplication(*qobject_cast<QApplication*>(QCoreApplication::instance()));
    form_ = std::make_unique<drill::Form1>(random_);
    QVERIFY(drill::testing::ShowActive(*form_));
    box_ = form_->findChild<QLineEdit*>(QStringLiteral("Text1"));
    QVERIFY(box_);
    QCOMPARE(kMebibyte.size(), 1024 * 1024);
}

void AnswerLengthTest::cleanupTestCase() {
    form_.reset();
}

void AnswerLengthTest::init() {
    box_->setText(QString());
    box_->setFocus(Qt::OtherFocusReason);
}

void AnswerLengthTest::cutAtTheLimit_data() {
    QTest::addColumn<bool>("paste");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("kept");
    QTest::newRow("set 1 MiB") << false << int(kMebibyte.size()) << kLimit;
    QTest::newRow("paste 1 MiB") << true << int(kMebibyte.size()) << kLimit;
    QTest::newRow("paste at the limit") << true << kLimit << kLimit;
    QTest::newRow("paste an answer") << true << 8 << 8;
}

void AnswerLengthTest::cutAtTheLimit() {
    QFETCH(bool, paste);
    QFETCH(int, length);
    QFETCH(int, kept);
    const QString text = kMebibyte.left(length);
    if (paste) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(box_, Qt::Key_V, Qt::ControlModifier);
    } else {
        box_->setText(text);
    }
    QCOMPARE(box_->text().size(), kept);
    QCOMPARE(box_->text(), text.left(kept));
}

QTEST_MAIN(AnswerLengthTest)
#include "answer_length_test.moc"
