// SPDX-License-Identifier: GPL-3.0-or-later
// Click latency of the real main window: whole drills played through mouse
// clicks on its buttons, on Qt's offscreen platform. For every press it times
// the click itself (the slot runs synchronously inside it) and the click plus
// the event processing that repaints the changed controls, and it checks that
// the controls show what the press should have produced.

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

#include "application_setup.h"
#include "bench_stats.h"
#include "clock_random.h"
#include "fake_quiz_view.h"
#include "main_window.h"
#include "message_box_closer.h"
#include "quiz_texts.h"

namespace {

using drill::Form1;
using drill::bench::Fixed;
using drill::bench::Median;
using drill::bench::Percentile;
using drill::testing::MessageBoxCloser;

struct Samples {
    std::vector<double> handlerUs; // until the click returned
    std::vector<double> updatedUs; // until the repaint that follows was done
};

// Counts paint events of the widgets it watches.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return false;
    }
};

class Bench {
public:
    Bench() : closer_(&clock_) { clock_.start(); }

    void PlayDrill(bool record) {
        drill::ClockRandom random;
        Form1 form(random);
        const auto find = [&form](const char* name) {
            return form.findChild<QWidget*>(QString::fromLatin1(name));
        };
        auto* text1 = qobject_cast<QLineEdit*>(find("Text1"));
        auto* label1 = qobject_cast<QLabel*>(find("Label1"));
        auto* label7 = qobject_cast<QLabel*>(find("Label7"));
        auto* label8 = qobject_cast<QLabel*>(find("Label8"));
        form.show();
        if (!QTest::qWaitForWindowExposed(&form)) {
            Fail("the main window was not exposed");
        }
        QCoreApplication::processEvents();
        PaintCounter counter;
        label7->installEventFilter(&counter);
        label8->installEventFilter(&counter);

        Press("Начало", qobject_cast<QPushButton*>(find("Command2")), counter, record);
        Expect(label7->text() == QStringLiteral("1") && !label1->text().isEmpty(),
               "Начало did not show question 1");

        for (int question = 1; question <= drill::QuestionBank::Count; ++question) {
            const bool correct = question % 2 == 0;
            const QString answer =
                correct ? QString::fromStdString(
                              drill::testing::QuestionShowing(label1->text().toStdString()).Answer1)
                        : QStringLiteral("x=0");
            QTest::keyClicks(text1, answer);
            QCoreApplication::processEvents(); // the typing's repaint is not the press's
            Expect(text1->text() == answer, "the answer was not typed");

            Press("Принять ответ", qobject_cast<QPushButton*>(find("Command3")), counter, record);
            const char* verdict = correct ? drill::texts::kCorrect : drill::texts::kWrong;
            Expect(label8->text() == QString::fromUtf8(verdict),
                   "Принять ответ did not show the expected verdict");

            const std::size_t boxesBefore = closer_.boxes().size();
            Press("Ещё пример", qobject_cast<QPushButton*>(find("Command5")), counter, record);
            if (question < drill::QuestionBank::Count) {
                Expect(label7->text() == QString::number(question + 1) && !label1->text().isEmpty(),
                       "Ещё пример did not show the next question");
            } else {
                Expect(closer_.boxes().size() == boxesBefore + 1 &&
                           closer_.boxes().back().text ==
                               QString::fromUtf8(drill::texts::kDrillOver),
                       "the end of the drill raised no closing message");
            }
        }
    }

    // Typing into an answer box filled by a huge paste: a backspace and a
    // letter in turn, each with the repaint it causes.
    void TypeIntoFullBox(int keystrokes) {
        drill::ClockRandom random;
        Form1 form(random);
        auto* text1 = form.findChild<QLineEdit*>(QStringLiteral("Text1"));
        form.show();
        if (!QTest::qWaitForWindowExposed(&form)) {
            Fail("the main window was not exposed");
        }
        text1->setFocus(Qt::OtherFocusReason);
        text1->setText(QString(1024 * 1024, QLatin1Char('x')));
        fullBoxChars_ = text1->text().size();
        QCoreApplication::processEvents();
        for (int i = 0; i < keystrokes; ++i) {
            const qint64 t0 = clock_.nsecsElapsed();
            QTest::keyClick(text1, i % 2 == 0 ? Qt::Key_Backspace : Qt::Key_Y);
            text1->repaint();
            QCoreApplication::processEvents();
            fullBoxUs_.push_back(static_cast<double>(clock_.nsecsElapsed() - t0) / 1e3);
        }
        Expect(text1->text().size() == fullBoxChars_, "the full box did not stay full");
    }

    void Report(int drills) const {
        std::printf("Click latency on the offscreen platform (%d drill(s) of %d questions; "
                    "times exclude the time a message box stayed open)\n\n",
                    drills, drill::QuestionBank::Count);
        std::printf("| operation | presses | click returned median us | repainted median us | "
                    "repainted p90 us | repainted max us |\n");
        std::printf("|---|---:|---:|---:|---:|---:|\n");
        for (const char* name : {"Начало", "Принять ответ", "Ещё пример"}) {
            const Samples& s = samples_.at(name);
            std::printf("| %s | %zu | %s | %s | %s | %s |\n", name, s.handlerUs.size(),
                        Fixed(Median(s.handlerUs), 1).c_str(),
                        Fixed(Median(s.updatedUs), 1).c_str(),
                        Fixed(Percentile(s.updatedUs, 90), 1).c_str(),
                        Fixed(Percentile(s.updatedUs, 100), 1).c_str());
        }
        // The box's own event loop does their repaint, inside the excluded open time.
        std::printf("\nPresses that raised \"%s\", left out above: %zu, the click returned after a "
                    "median %s us\n",
                    drill::texts::kDrillOver, boxed_.handlerUs.size(),
                    Fixed(Median(boxed_.handlerUs), 1).c_str());
        std::printf("\nA keystroke into the answer box after a 1 MiB paste (kept: %lld "
                    "characters), key press to repaint, %zu keystrokes: median %s us, "
                    "max %s us\n",
                    static_cast<long long>(fullBoxChars_), fullBoxUs_.size(),
                    Fixed(Median(fullBoxUs_), 1).c_str(),
                    Fixed(Percentile(fullBoxUs_, 100), 1).c_str());
    }

private:
    [[noreturn]] static void Fail(const std::string& what) { throw std::runtime_error(what); }

    static void Expect(bool ok, const std::string& what) {
        if (!ok) {
            Fail(what);
        }
    }

    void Press(const char* operation, QPushButton* button, PaintCounter& counter, bool record) {
        QCoreApplication::processEvents(); // start from a settled window
        const std::size_t boxesBefore = closer_.boxes().size();
        counter.paints = 0;
        const qint64 t0 = clock_.nsecsElapsed();
        QTest::mouseClick(button, Qt::LeftButton);
        const qint64 t1 = clock_.nsecsElapsed();
        QCoreApplication::processEvents();
        const qint64 t2 = clock_.nsecsElapsed();
        const qint64 modal = closer_.OpenNsSince(boxesBefore);
        const bool boxed = closer_.boxes().size() > boxesBefore;
        if (!boxed && counter.paints == 0) {
            Fail(std::string(operation) + " changed nothing that was repainted");
        }
        if (record) {
            Samples& s = boxed ? boxed_ : samples_[operation];
            s.handlerUs.push_back(static_cast<double>(t1 - t0 - modal) / 1e3);
            s.updatedUs.push_back(static_cast<double>(t2 - t0 - modal) / 1e3);
        }
    }

    QElapsedTimer clock_;
    MessageBoxCloser closer_;
    std::map<std::string, Samples> samples_;
    Samples boxed_;
    qsizetype fullBoxChars_ = 0;
    std::vector<double> fullBoxUs_;
};

// The offscreen platform warns on every fixed-size window; nothing to act on.
QtMessageHandler defaultHandler = nullptr;
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("does not support propagateSizeHints"))) {
        return;
    }
    defaultHandler(type, context, message);
}

extern "C" void OnAlarm(int) {
    static const char message[] = "click_latency: timed out\n";
    [[maybe_unused]] const auto written = write(STDERR_FILENO, message, sizeof message - 1);
    _exit(2);
}

} // namespace

int main(int argc, char* argv[]) {
    int drills = 20;
    int warmup = 1;
    int timeoutS = 300;
    if (!drill::bench::ReadOptions(
            argc, argv,
            {{"--drills", &drills}, {"--warmup", &warmup}, {"--timeout-s", &timeoutS}}) ||
        drills < 1 || warmup < 0 || timeoutS < 1) {
        std::fprintf(stderr, "usage: click_latency [--drills N] [--warmup N] [--timeout-s S]\n");
        return 2;
    }
    // Never hang a build or a benchmark run, whatever goes modal.
    std::signal(SIGALRM, OnAlarm);
    alarm(static_cast<unsigned>(timeoutS));

    qputenv("QT_QPA_PLATFORM", "offscreen");
    defaultHandler = qInstallMessageHandler(QuietHandler);
    QApplication app(argc, argv);
    drill::ConfigureApplication(app);

    try {
        Bench bench;
        for (int i = -warmup; i < drills; ++i) {
            bench.PlayDrill(i >= 0); // the warm-up drills are not counted
        }
        bench.TypeIntoFullBox(20);
        bench.Report(drills);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "click_latency: %s\n", error.what());
        return 1;
    }
}
