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
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstdlib>
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

struct Sample {
    double handlerUs = 0; // until the click returned
    double updatedUs = 0; // until the repaint that follows was done
};

struct BoxPress {
    std::string operation;
    int drill = 0;
    int press = 0;
    std::string text;
    double handlerUs = 0;
    double updatedUs = 0;
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

    void PlayDrill(int drillNo, bool record) {
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

        Press("Начало", qobject_cast<QPushButton*>(find("Command2")), counter, drillNo, 1, record);
        Expect(label7->text() == QStringLiteral("1") && !label1->text().isEmpty(),
               "Начало did not show question 1");

        int press = 2;
        for (int question = 1; question <= drill::QuestionBank::Count; ++question) {
            const bool correct = question % 2 == 0;
            const QString answer =
                correct ? QString::fromStdString(
                              drill::testing::QuestionShowing(label1->text().toStdString()).Answer1)
                        : QStringLiteral("x=0");
            QTest::keyClicks(text1, answer);
            QCoreApplication::processEvents(); // the typing's repaint is not the press's
            Expect(text1->text() == answer, "the answer was not typed");

            Press("Принять ответ", qobject_cast<QPushButton*>(find("Command3")), counter, drillNo,
                  press++, record);
            const char* verdict = correct ? drill::texts::kCorrect : drill::texts::kWrong;
            Expect(label8->text() == QString::fromUtf8(verdict),
                   "Принять ответ did not show the expected verdict");

            const std::size_t boxesBefore = closer_.boxes().size();
            Press("Ещё пример", qobject_cast<QPushButton*>(find("Command5")), counter, drillNo,
                  press++, record);
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
        label7->removeEventFilter(&counter);
        label8->removeEventFilter(&counter);
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

    int Report(int drills) const {
        std::printf("Click latency on the offscreen platform (%d drill(s) of %d questions; "
                    "times exclude the time a message box stayed open)\n\n",
                    drills, drill::QuestionBank::Count);
        std::printf("| operation | presses | click returned median us | repainted median us | "
                    "repainted p90 us | repainted max us |\n");
        std::printf("|---|---:|---:|---:|---:|---:|\n");
        for (const char* name : {"Начало", "Принять ответ", "Ещё пример"}) {
            const auto found = samples_.find(name);
            if (found == samples_.end()) {
                continue;
            }
            std::vector<double> handler, updated;
            for (const Sample& s : found->second) {
                handler.push_back(s.handlerUs);
                updated.push_back(s.updatedUs);
            }
            std::printf("| %s | %zu | %s | %s | %s | %s |\n", name, handler.size(),
                        Fixed(Median(handler), 1).c_str(), Fixed(Median(updated), 1).c_str(),
                        Fixed(Percentile(updated, 90), 1).c_str(),
                        Fixed(Percentile(updated, 100), 1).c_str());
        }
        std::printf("\nPresses that raised a message box, left out above (the box's own event "
                    "loop does the repaint, inside the excluded open time):\n");
        if (boxPresses_.empty()) {
            std::printf("  none\n");
        }
        std::map<std::string, std::vector<const BoxPress*>> groups;
        for (const BoxPress& b : boxPresses_) {
            groups["\"" + b.operation + "\" (press " + std::to_string(b.press) +
                   " of its drill) raised \"" + b.text + "\""]
                .push_back(&b);
        }
        for (const auto& [what, presses] : groups) {
            std::vector<double> handler, updated;
            for (const BoxPress* b : presses) {
                handler.push_back(b->handlerUs);
                updated.push_back(b->updatedUs);
            }
            std::printf("  %s in %zu drill(s): click returned after a median %s us, events "
                        "processed after %s us\n",
                        what.c_str(), presses.size(), Fixed(Median(handler), 1).c_str(),
                        Fixed(Median(updated), 1).c_str());
        }
        if (!fullBoxUs_.empty()) {
            std::printf("\nA keystroke into the answer box after a 1 MiB paste (kept: %lld "
                        "characters), key press to repaint, %zu keystrokes: median %s us, "
                        "max %s us\n",
                        static_cast<long long>(fullBoxChars_), fullBoxUs_.size(),
                        Fixed(Median(fullBoxUs_), 1).c_str(),
                        Fixed(Percentile(fullBoxUs_, 100), 1).c_str());
        }
        return 0;
    }

private:
    [[noreturn]] static void Fail(const std::string& what) { throw std::runtime_error(what); }

    static void Expect(bool ok, const std::string& what) {
        if (!ok) {
            Fail(what);
        }
    }

    void Press(const char* operation, QPushButton* button, PaintCounter& counter, int drillNo,
               int press, bool record) {
        QCoreApplication::processEvents(); // start from a settled window
        const std::size_t boxesBefore = closer_.boxes().size();
        counter.paints = 0;
        const qint64 t0 = clock_.nsecsElapsed();
        QTest::mouseClick(button, Qt::LeftButton);
        const qint64 t1 = clock_.nsecsElapsed();
        QCoreApplication::processEvents();
        const qint64 t2 = clock_.nsecsElapsed();
        const qint64 modal = closer_.OpenNsSince(boxesBefore);
        const Sample sample{static_cast<double>(t1 - t0 - modal) / 1e3,
                            static_cast<double>(t2 - t0 - modal) / 1e3};
        const bool boxed = closer_.boxes().size() > boxesBefore;
        if (!boxed && counter.paints == 0) {
            Fail(std::string(operation) + " changed nothing that was repainted");
        }
        if (!record) {
            return;
        }
        if (boxed) {
            boxPresses_.push_back({operation, drillNo, press,
                                   closer_.boxes().back().text.toStdString(), sample.handlerUs,
                                   sample.updatedUs});
        } else {
            samples_[operation].push_back(sample);
        }
    }

    QElapsedTimer clock_;
    MessageBoxCloser closer_;
    std::map<std::string, std::vector<Sample>> samples_;
    std::vector<BoxPress> boxPresses_;
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
    unsigned timeoutS = 300;
    bool understood = true;
    for (int i = 1; i < argc && understood; i += 2) {
        const std::string arg = argv[i];
        understood = i + 1 < argc;
        if (!understood) {
            break;
        }
        if (arg == "--drills") {
            drills = std::atoi(argv[i + 1]);
        } else if (arg == "--warmup") {
            warmup = std::atoi(argv[i + 1]);
        } else if (arg == "--timeout-s") {
            timeoutS = static_cast<unsigned>(std::atoi(argv[i + 1]));
        } else {
            understood = false;
        }
    }
    if (!understood || drills < 1 || warmup < 0) {
        std::fprintf(stderr, "usage: click_latency [--drills N] [--warmup N] [--timeout-s S]\n");
        return 2;
    }
    // Never hang a build or a benchmark run, whatever goes modal.
    std::signal(SIGALRM, OnAlarm);
    alarm(timeoutS);

    qputenv("QT_QPA_PLATFORM", "offscreen");
    defaultHandler = qInstallMessageHandler(QuietHandler);
    QApplication app(argc, argv);
    drill::ConfigureApplication(app);

    try {
        Bench bench;
        for (int i = 0; i < warmup; ++i) {
            bench.PlayDrill(0, false);
        }
        for (int i = 1; i <= drills; ++i) {
            bench.PlayDrill(i, true);
        }
        bench.TypeIntoFullBox(20);
        return bench.Report(drills);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "click_latency: %s\n", error.what());
        return 1;
    }
}
