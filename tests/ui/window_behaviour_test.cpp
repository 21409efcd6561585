// SPDX-License-Identifier: GPL-3.0-or-later
// The main window and the rule window driven as a user drives them: real
// mouse clicks and key presses on the real widgets.

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

#include "announcer.h"
#include "application_setup.h"
#include "fake_quiz_view.h"
#include "main_window.h"
#include "message_box_closer.h"
#include "quiz_texts.h"
#include "rule_window.h"
#include "shown_windows.h"

using drill::testing::MessageBoxCloser;
using BoxRecord = MessageBoxCloser::Box;

namespace {

const QString kTitle = QString::fromUtf8(drill::texts::kTitle);
const QString kHint = QString::fromUtf8(drill::texts::kVerdictHint);
const QString kCorrect = QString::fromUtf8(drill::texts::kCorrect);
const QString kWrong = QString::fromUtf8(drill::texts::kWrong);
const QString kDrillOver = QString::fromUtf8(drill::texts::kDrillOver);

using drill::testing::Q;
using drill::testing::Shot;

// Everything the user can see change in the main window.
struct Screen {
    QString answer, problem, questionNo, mistakes, verdict;
    QRect startButton;
    bool operator==(const Screen&) const = default;
};

// The main window's controls, found as a user's tools find them: by name.
struct Controls {
    explicit Controls(const drill::Form1& form)
        : Command1(Find<QPushButton>(form, "Command1")),
          Command2(Find<QPushButton>(form, "Command2")),
          Command3(Find<QPushButton>(form, "Command3")),
          Command5(Find<QPushButton>(form, "Command5")),
          Command7(Find<QPushButton>(form, "Command7")), Text1(Find<QLineEdit>(form, "Text1")),
          Label1(Find<QLabel>(form, "Label1")), Label5(Find<QLabel>(form, "Label5")),
          Label7(Find<QLabel>(form, "Label7")), Label8(Find<QLabel>(form, "Label8")) {}

    template <typename T> static T* Find(const QWidget& form, const char* name) {
        T* found = form.findChild<T*>(QString::fromLatin1(name));
        if (!found) {
            qFatal("no control %s", name);
        }
        return found;
    }

    QPushButton *Command1, *Command2, *Command3, *Command5, *Command7;
    QLineEdit* Text1;
    QLabel *Label1, *Label5, *Label7, *Label8;
};

Screen Look(const Controls& c) {
    return {c.Text1->text(),  c.Label1->text(), c.Label7->text(),
            c.Label5->text(), c.Label8->text(), c.Command2->geometry()};
}

char* Describe(const Screen& s) {
    return qstrdup(qPrintable(QStringLiteral("answer '%1' problem '%2' no '%3' mistakes '%4' "
                                             "verdict '%5'")
                                  .arg(s.answer, s.problem, s.questionNo, s.mistakes, s.verdict)));
}

QList<drill::Form2*> RuleWindows() {
    QList<drill::Form2*> found;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* rule = qobject_cast<drill::Form2*>(widget); rule && rule->isVisible()) {
            found << rule;
        }
    }
    return found;
}

bool HasCyrillic(const QString& text) {
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() >= 0x0400 && c.unicode() <= 0x04FF; });
}

enum class Setup { BeforeStart, Started, Answered };
enum class BoxCase { ConfirmAnswer, AnswerFirst, DrillOver };
enum class Closing { RuleWindow, MainWindow, ExitButton };

} // namespace

namespace QTest {
template <> char* toString(const Screen& screen) {
    return Describe(screen);
}
} // namespace QTest

Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(BoxCase)
Q_DECLARE_METATYPE(Closing)
Q_DECLARE_METATYPE(Qt::Key)
Q_DECLARE_METATYPE(Qt::KeyboardModifiers)

class WindowBehaviourTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startState();
    void tabOrder_data();
    void tabOrder();
    void keysClickFocusedButton_data();
    void keysClickFocusedButton();
    void inertKeys_data();
    void inertKeys();
    void heldKeyClicksOnce_data();
    void heldKeyClicksOnce();

    void startButton();
    void startButtonAreaShowsBackground();
    void verdicts_data();
    void verdicts();

    void messageBoxes_data();
    void messageBoxes();

    void ruleWindowIsSingle();
    void ruleWindowComesToTheFront();
    void closing_data();
    void closing();

    void qtTextsInRussian();

private:
    void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void Type(const std::string& ascii) {
        QTest::keyClicks(c_->Text1, QString::fromStdString(ascii));
    }
    void Start() {
        Click(c_->Command2);
        QCOMPARE(c_->Label7->text(), QStringLiteral("1"));
    }
    // What a screen reader started now would find: the last news.
    QString Heard() const {
        return QAccessible::queryAccessibleInterface(form_->findChild<drill::Announcer*>())
            ->text(QAccessible::Name);
    }
    // A text that no question accepts.
    static constexpr const char* kWrongAnswer = "x=0";

    // The question on show, as the window shows it.
    const drill::Question& OnShow() const {
        return drill::testing::QuestionShowing(c_->Label1->text().toStdString());
    }

    drill::testing::ScriptedRandom random_;
    std::unique_ptr<drill::Form1> form_;
    std::unique_ptr<Controls> c_;
    std::unique_ptr<MessageBoxCloser> catcher_;
};

void WindowBehaviourTest::initTestCase() {
    drill::ConfigureApplication(*qobject_cast<QApplication*>(QCoreApplication::instance()));
}

void WindowBehaviourTest::init() {
    catcher_ = std::make_unique<MessageBoxCloser>();
    form_ = std::make_unique<drill::Form1>(random_);
    c_ = std::make_unique<Controls>(*form_);
    QVERIFY(drill::testing::ShowActive(*form_));
}

void WindowBehaviourTest::cleanup() {
    c_.reset();
    form_.reset();
    for (drill::Form2* stray : RuleWindows()) {
        delete stray;
    }
    const int strays = catcher_->strays();
    catcher_.reset();
    QCOMPARE(strays, 0);
}

void WindowBehaviourTest::startState() {
    QCOMPARE(c_->Text1->text(), QStringLiteral("Записывать здесь"));
    QCOMPARE(c_->Label1->text(), QString());
    QCOMPARE(c_->Label7->text(), QString());
    QCOMPARE(c_->Label5->text(), QString());
    QCOMPARE(c_->Label8->text(), kHint);
    QCOMPARE(QApplication::focusWidget(), c_->Command1);
}

void WindowBehaviourTest::tabOrder_data() {
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<QStringList>("visits");
    QTest::newRow("Tab") << Qt::Key_Tab << QStringList{"Command2", "Command5", "Command7", "Text1",
                                                       "Command3", "Command1", "Command2"};
    QTest::newRow("Shift+Tab") << Qt::Key_Backtab
                               << QStringList{"Command3", "Text1",    "Command7", "Command5",
                                              "Command2", "Command1", "Command3"};
}

void WindowBehaviourTest::tabOrder() {
    QFETCH(Qt::Key, key);
    QFETCH(QStringList, visits);
    QStringList visited;
    for (int i = 0; i < visits.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), key);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, visits);
}

void WindowBehaviourTest::keysClickFocusedButton_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    for (const char* button : {"Command1", "Command2", "Command3", "Command5"}) {
        QTest::addRow("%s Space", button)
            << QString::fromLatin1(button) << Qt::Key_Space << Qt::KeyboardModifiers();
        QTest::addRow("%s Return", button)
            << QString::fromLatin1(button) << Qt::Key_Return << Qt::KeyboardModifiers();
        QTest::addRow("%s keypad Enter", button) << QString::fromLatin1(button) << Qt::Key_Enter
                                                 << Qt::KeyboardModifiers(Qt::KeypadModifier);
    }
}

// Each press clicks the button once, and whatever the click does, the focus
// stays where the user put it, even on the start button after it has moved
// out of the window.
void WindowBehaviourTest::keysClickFocusedButton() {
    QFETCH(QString, button);
    QFETCH(Qt::Key, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    auto* target = form_->findChild<QPushButton*>(button);
    QVERIFY(target);
    QSignalSpy clicks(target, &QAbstractButton::clicked);
    target->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), target);

    QTest::keyClick(target, key, modifiers);

    QCOMPARE(clicks.count(), 1);
    QCOMPARE(form_->focusWidget(), target);
    if (!catcher_->boxes().empty()) {
        // The offscreen platform does not hand activation back after a
        // message box closes; a desktop does.
        form_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    }
    QCOMPARE(QApplication::focusWidget(), target);
    if (target == c_->Command2) {
        QCOMPARE(c_->Label7->text(), QStringLiteral("1"));
        QCOMPARE(c_->Command2->pos(), QPoint(1133, 0));
    }
}

void WindowBehaviourTest::inertKeys_data() {
    QTest::addColumn<bool>("started");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    const Qt::KeyboardModifiers none;
    const Qt::KeyboardModifiers keypad(Qt::KeypadModifier);
    for (bool started : {false, true}) {
        const char* when = started ? "during the drill" : "before the start";
        QTest::addRow("Return in the answer box %s", when)
            << started << "Text1" << Qt::Key_Return << none;
        QTest::addRow("keypad Enter in the answer box %s", when)
            << started << "Text1" << Qt::Key_Enter << keypad;
        QTest::addRow("Esc in the answer box %s", when)
            << started << "Text1" << Qt::Key_Escape << none;
        QTest::addRow("Esc on a button %s", when)
            << started << "Command5" << Qt::Key_Escape << none;
    }
}

// No button is the default or the cancel button: such keys must neither
// accept an answer nor close anything.
void WindowBehaviourTest::inertKeys() {
    QFETCH(bool, started);
    QFETCH(QString, focus);
    QFETCH(Qt::Key, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    if (started) {
        Start();
    }
    c_->Text1->setFocus(Qt::TabFocusReason);
    c_->Text1->selectAll();
    Type("5x-x=4+2");
    auto* target = form_->findChild<QWidget*>(focus);
    target->setFocus(Qt::TabFocusReason);
    const Screen before = Look(*c_);
    QSignalSpy clicks3(c_->Command3, &QAbstractButton::clicked);
    QSignalSpy clicks5(c_->Command5, &QAbstractButton::clicked);

    QTest::keyClick(target, key, modifiers);
    QGuiApplication::sync(); // whatever the key posted has run

    QCOMPARE(Look(*c_), before);
    QCOMPARE(clicks3.count(), 0);
    QCOMPARE(clicks5.count(), 0);
    QVERIFY(catcher_->boxes().empty());
    QVERIFY(form_->isVisible());
    QVERIFY(RuleWindows().isEmpty());
    QCOMPARE(QApplication::focusWidget(), target);
}

void WindowBehaviourTest::heldKeyClicksOnce_data() {
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("Return") << Qt::Key_Return << Qt::KeyboardModifiers();
    QTest::newRow("keypad Enter") << Qt::Key_Enter << Qt::KeyboardModifiers(Qt::KeypadModifier);
    QTest::newRow("Space") << Qt::Key_Space << Qt::KeyboardModifiers();
}

// A held key repeats as the window system sends it: release and press again,
// both marked as repeats. "Ещё пример" must move on once, not skip questions
// and count each one as a mistake.
void WindowBehaviourTest::heldKeyClicksOnce() {
    QFETCH(Qt::Key, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    Start();
    QPushButton* next = c_->Command5;
    next->setFocus(Qt::TabFocusReason);
    QSignalSpy clicks(next, &QAbstractButton::clicked);
    const QString text = key == Qt::Key_Space ? QStringLiteral(" ") : QStringLiteral("\r");
    const auto send = [&](QEvent::Type type, bool repeat) {
        QKeyEvent event(type, key, modifiers, text, repeat);
        QApplication::sendEvent(next, &event);
    };
    send(QEvent::KeyPress, false);
    for (int i = 0; i < 5; ++i) {
        send(QEvent::KeyRelease, true);
        send(QEvent::KeyPress, true);
    }
    send(QEvent::KeyRelease, false);

    QCOMPARE(clicks.count(), 1);
    QCOMPARE(c_->Label7->text(), QStringLiteral("2"));
    QCOMPARE(c_->Label5->text(), QStringLiteral("1"));
    QVERIFY(catcher_->boxes().empty());
}

void WindowBehaviourTest::startButton() {
    const QSize size = c_->Command2->size();
    Click(c_->Command2);

    const QString problem = Q(OnShow().Problem);
    QVERIFY(!problem.isEmpty());
    QCOMPARE(c_->Label1->text(), problem);
    QCOMPARE(c_->Label7->text(), QStringLiteral("1"));
    QCOMPARE(c_->Text1->text(), QString());
    QCOMPARE(c_->Label5->text(), QString());
    QCOMPARE(c_->Label8->text(), kHint);
    QCOMPARE(c_->Command2->pos(), QPoint(1133, 0));
    QCOMPARE(c_->Command2->size(), size);
    QVERIFY(c_->Command2->isEnabled());
    QVERIFY(!form_->rect().intersects(c_->Command2->geometry()));
    QVERIFY(catcher_->boxes().empty());
}

// Where the start button was, the window's picture shows through.
void WindowBehaviourTest::startButtonAreaShowsBackground() {
    const QRect area(312, 80, 113, 33);
    const QImage picture =
        QImage(QStringLiteral(":/assets/background.jpg")).convertToFormat(QImage::Format_RGB32);
    const auto matching = [&](const QImage& shot) {
        int same = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                same += shot.pixel(x, y) == picture.pixel(x, y);
            }
        }
        return same;
    };
    const int pixels = area.width() * area.height();
    const QImage before = Shot(*form_);
    QVERIFY2(matching(before) < pixels / 2, "the button covers its area at the start");

    Click(c_->Command2);
    const QImage after = Shot(*form_);
    QCOMPARE(matching(after), pixels);
}

void WindowBehaviourTest::verdicts_data() {
    QTest::addColumn<QString>("answer"); // "correct", "wrong" or "none"
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<QString>("mistakesAfterNext");
    QTest::newRow("correct") << "correct" << kCorrect << "";
    QTest::newRow("wrong") << "wrong" << kWrong << "1";
    QTest::newRow("moved on without an answer") << "none" << kHint << "1";
}

// The verdict shows at once; the mistake count only at the next question. No
// screen reader runs (the offscreen platform has none), yet one started later
// must find the last news.
void WindowBehaviourTest::verdicts() {
    QFETCH(QString, answer);
    QFETCH(QString, verdict);
    QFETCH(QString, mistakesAfterNext);
    QVERIFY(!QAccessible::isActive());
    Start();
    const QString first = c_->Label1->text();
    if (answer != QLatin1String("none")) {
        Type(answer == QLatin1String("correct") ? OnShow().Answer1 : kWrongAnswer);
        Click(c_->Command3);
        QCOMPARE(Heard(), verdict);
    }
    QCOMPARE(c_->Label8->text(), verdict);
    QCOMPARE(c_->Label5->text(), QString());

    Click(c_->Command5);
    QVERIFY(catcher_->boxes().empty());
    QCOMPARE(c_->Label5->text(), mistakesAfterNext);
    QCOMPARE(c_->Label7->text(), QStringLiteral("2"));
    QCOMPARE(c_->Label8->text(), kHint);
    QCOMPARE(c_->Text1->text(), QString());
    QCOMPARE(c_->Label1->text(), Q(OnShow().Problem));
    QVERIFY(c_->Label1->text() != first);
    QCOMPARE(Heard(), QStringLiteral("Вопрос 2. Уравнение ") + c_->Label1->text());
}

void WindowBehaviourTest::messageBoxes_data() {
    QTest::addColumn<BoxCase>("scenario");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QMessageBox::Icon>("icon");
    QTest::newRow("next example before accepting")
        << BoxCase::ConfirmAnswer << "Подтвердите принятие ответа" << QMessageBox::Information;
    QTest::newRow("rule while a question waits")
        << BoxCase::AnswerFirst << "Вначале дайте ответ, затем можете повторить правило."
        << QMessageBox::Warning;
    QTest::newRow("end of the drill")
        << BoxCase::DrillOver << "Опрос окончен." << QMessageBox::Information;
}

void WindowBehaviourTest::messageBoxes() {
    QFETCH(BoxCase, scenario);
    QFETCH(QString, text);
    QFETCH(QMessageBox::Icon, icon);
    Start();
    Screen expected;
    switch (scenario) {
    case BoxCase::ConfirmAnswer:
        Type("5x");
        expected = Look(*c_);
        Click(c_->Command5);
        break;
    case BoxCase::AnswerFirst:
        expected = Look(*c_);
        Click(c_->Command1);
        QVERIFY(RuleWindows().isEmpty());
        break;
    case BoxCase::DrillOver:
        // Moving on with an empty answer box asks nothing until the end.
        for (int i = 0; i < 19; ++i) {
            Click(c_->Command5);
        }
        QVERIFY(catcher_->boxes().empty());
        Click(c_->Command5);
        break;
    }
    QCOMPARE(catcher_->boxes().size(), 1u);
    const BoxRecord& box = catcher_->boxes().front();
    QCOMPARE(box.text, text);
    QCOMPARE(box.icon, icon);
    QCOMPARE(box.title, kTitle);
    QCOMPARE(box.buttonCount, 1);
    QCOMPARE(box.button, QMessageBox::Ok);
    QVERIFY(box.modality != Qt::NonModal);
    QCOMPARE(box.parent, form_.get());
    if (scenario != BoxCase::DrillOver) {
        QCOMPARE(Look(*c_), expected);
    }
    QVERIFY(form_->isVisible());
}

// The rule window stands on its own beside the drill and is never doubled.
void WindowBehaviourTest::ruleWindowIsSingle() {
    Click(c_->Command1);
    QCOMPARE(RuleWindows().size(), 1);
    drill::Form2* rule = RuleWindows().front();
    QCOMPARE(rule->parentWidget(), nullptr);
    QVERIFY(!rule->isModal());
    QCOMPARE(rule->windowModality(), Qt::NonModal);

    Click(c_->Command1);
    QCOMPARE(RuleWindows().size(), 1);
    QCOMPARE(RuleWindows().front(), rule);
    QVERIFY(catcher_->boxes().empty());

    // The drill can be started while the rule is open.
    Click(c_->Command2);
    QCOMPARE(c_->Label7->text(), QStringLiteral("1"));

    const QPointer<drill::Form2> closed = rule;
    rule->close();
    QTRY_COMPARE(RuleWindows().size(), 0);
    QTRY_VERIFY(closed.isNull());
    QVERIFY(form_->isVisible());

    // Answered: the rule may be read again, in a new window.
    Type(kWrongAnswer);
    Click(c_->Command3);
    Click(c_->Command1);
    QCOMPARE(RuleWindows().size(), 1);
    QVERIFY(catcher_->boxes().empty());
}

// "Правило" on an open rule window that lies behind the main window brings it
// to the front and gives it the keyboard; otherwise the press shows nothing.
void WindowBehaviourTest::ruleWindowComesToTheFront() {
    Click(c_->Command1);
    QCOMPARE(RuleWindows().size(), 1);
    drill::Form2* rule = RuleWindows().front();
    QVERIFY(QTest::qWaitForWindowActive(rule));

    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    Click(c_->Command1);
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::activeWindow(), static_cast<QWidget*>(rule), 1000);
    QCOMPARE(RuleWindows().size(), 1);
}

void WindowBehaviourTest::closing_data() {
    QTest::addColumn<Closing>("how");
    QTest::addColumn<bool>("mainStaysOpen");
    QTest::newRow("closing the rule window") << Closing::RuleWindow << true;
    QTest::newRow("closing the main window") << Closing::MainWindow << false;
    QTest::newRow("exit button") << Closing::ExitButton << false;
}

void WindowBehaviourTest::closing() {
    QFETCH(Closing, how);
    QFETCH(bool, mainStaysOpen);
    Click(c_->Command1);
    QCOMPARE(RuleWindows().size(), 1);
    QPointer<drill::Form2> rule = RuleWindows().front();
    switch (how) {
    case Closing::RuleWindow:
        rule->close();
        break;
    case Closing::MainWindow:
        form_->close();
        break;
    case Closing::ExitButton:
        Click(c_->Command7);
        break;
    }
    QTRY_VERIFY(rule.isNull());
    QCOMPARE(RuleWindows().size(), 0);
    QCOMPARE(form_->isVisible(), mainStaysOpen);
    QVERIFY(catcher_->boxes().empty());
}

// Qt's own texts come in Russian where the translation is installed.
void WindowBehaviourTest::qtTextsInRussian() {
    // The test command installs the translations: missing, they are a failure.
    const QString catalogue =
        QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_ru.qm");
    QVERIFY2(QFile::exists(catalogue), qPrintable(catalogue + QStringLiteral(" is not installed")));
    std::unique_ptr<QMenu> menu(c_->Text1->createStandardContextMenu());
    QStringList texts;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator()) {
            texts << action->text();
        }
    }
    QVERIFY(texts.size() >= 5);
    for (const QString& text : texts) {
        QVERIFY2(HasCyrillic(text), qPrintable(text));
    }
}

QTEST_MAIN(WindowBehaviourTest)
#include "window_behaviour_test.moc"
