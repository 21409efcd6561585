#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <vector>

namespace drill::testing {

// What a message box looked like while it was open.
struct BoxRecord {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttonCount = 0;
    QMessageBox::StandardButton button = QMessageBox::NoButton;
    QString buttonText;
    Qt::WindowModality modality = Qt::NonModal;
    QWidget* parent = nullptr;
};

// Answers every modal box the window opens, so that a test never waits on a
// blocking exec(). While armed it polls for the active modal widget, records a
// message box's properties and closes it with its own button. Anything else
// that goes modal, or a box still open after the watchdog time, is closed too
// and counted as a stray so the test can fail on it.
class ModalBoxCatcher {
public:
    explicit ModalBoxCatcher(int watchdogMs = 2000) : watchdogMs_(watchdogMs) {
        poll_.setInterval(10);
        QObject::connect(&poll_, &QTimer::timeout, [this] { Poll(); });
        poll_.start();
    }
    ~ModalBoxCatcher() { poll_.stop(); }

    ModalBoxCatcher(const ModalBoxCatcher&) = delete;
    ModalBoxCatcher& operator=(const ModalBoxCatcher&) = delete;

    const std::vector<BoxRecord>& boxes() const { return boxes_; }
    int strays() const { return strays_; }
    void clear() {
        boxes_.clear();
        strays_ = 0;
    }

private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            openFor_.invalidate();
            return;
        }
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) {
            ++strays_;
            modal->close();
            return;
        }
        if (box != current_) {
            current_ = box;
            openFor_.start();
            Record(*box);
        }
        // A box that its own button does not close is shut after the watchdog time.
        if (openFor_.elapsed() > watchdogMs_) {
            ++strays_;
            box->done(0);
            return;
        }
        if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
            ok->click();
        } else if (!box->buttons().isEmpty()) {
            box->buttons().constFirst()->click();
        } else {
            box->done(0);
        }
    }

    void Record(const QMessageBox& box) {
        BoxRecord record;
        record.title = box.windowTitle();
        record.text = box.text();
        record.icon = box.icon();
        const auto buttons = box.buttons();
        record.buttonCount = static_cast<int>(buttons.size());
        if (!buttons.isEmpty()) {
            record.button = box.standardButton(buttons.constFirst());
            record.buttonText = buttons.constFirst()->text();
        }
        record.modality = box.windowModality();
        record.parent = box.parentWidget();
        boxes_.push_back(record);
    }

    int watchdogMs_;
    QTimer poll_;
    QPointer<QMessageBox> current_;
    QElapsedTimer openFor_;
    std::vector<BoxRecord> boxes_;
    int strays_ = 0;
};

} // namespace drill::testing
