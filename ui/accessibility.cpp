#include "accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QTimer>

#include <initializer_list>

#include "main_window.h"
#include "rule_window.h"

namespace drill::a11y {

namespace {

// A top-level QWidget is exposed as a mere filler; a window role lets a screen
// reader announce the window by its title when it opens.
QAccessibleInterface* WindowRole(const QString& key, QObject* object) {
    if (key == QLatin1String(Form1::staticMetaObject.className()) ||
        key == QLatin1String(Form2::staticMetaObject.className())) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    }
    return nullptr;
}

// Before any window exists: Qt caches an interface as soon as a window sets its
// title, so a factory installed later would not be asked.
void InstallWindowRole() {
    QAccessible::installFactory(WindowRole);
}
Q_COREAPP_STARTUP_FUNCTION(InstallWindowRole)

const char* const kDescribeTimer = "a11yDescribeTimer";

QString FromUtf8(const char* text) {
    return QString::fromUtf8(text);
}

// A display keeps its text as its accessible name (a fixed name would hide the
// changing text); the description says what the display is.
void DescribeDisplay(QWidget& display, const char* role) {
    display.setAccessibleDescription(FromUtf8(role));
}

void SetDescription(QWidget& control, const QString& description) {
    // Every change is spoken on the focused control: say only real ones.
    if (control.accessibleDescription() != description) {
        control.setAccessibleDescription(description);
    }
}

// "Уравнение 5x-4=x+2. Верно" once a problem is shown, else the verdict line alone.
QString ControlDescription(const Form1& window) {
    const QString verdict = window.Label8->text();
    const QString problem = window.Label1->text();
    if (problem.isEmpty()) {
        return verdict;
    }
    return QStringLiteral("%1 %2. %3")
        .arg(window.Label1->accessibleDescription(), problem, verdict);
}

void DescribeControls(Form1& window) {
    const QString description = ControlDescription(window);
    for (QWidget* control :
         std::initializer_list<QWidget*>{window.Command1, window.Command2, window.Command5,
                                         window.Command7, window.Text1, window.Command3}) {
        SetDescription(*control, description);
    }
}

} // namespace

void ExposeMainWindow(Form1& window) {
    window.Text1->setAccessibleName(FromUtf8("Ответ"));
    DescribeDisplay(*window.Label1, "Уравнение");
    DescribeDisplay(*window.Label7, "Номер вопроса");
    DescribeDisplay(*window.Label5, "Число ошибок");
    DescribeDisplay(*window.Label8, "Результат проверки");
    DescribeControls(window);

    // One operation of the quiz changes several displays in a row; describing the
    // controls once, after it, keeps a screen reader from speaking stale halves.
    auto* timer = new QTimer(&window);
    timer->setObjectName(QLatin1String(kDescribeTimer));
    timer->setSingleShot(true);
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, &window, [&window] { DescribeControls(window); });
}

void MainWindowDisplaysChanged(Form1& window) {
    auto* timer =
        window.findChild<QTimer*>(QLatin1String(kDescribeTimer), Qt::FindDirectChildrenOnly);
    if (timer) {
        timer->start();
    } else {
        DescribeControls(window); // not yet exposed: nobody to coalesce for
    }
}

void ExposeRuleWindow(Form2& window) {
    // The labels were created bottom-up, so a screen reader going through the
    // window's children in order would start with the worked example.
    window.setAccessibleDescription(
        QStringLiteral("%1 %2 %3; %4")
            .arg(window.Label4->text().simplified(), window.Label1->text().simplified(),
                 window.Label2->text().simplified(), window.Label3->text().simplified()));
}

} // namespace drill::a11y
