// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QMessageBox>
#include <QObject>
#include <QString>

#include <vector>

namespace drill::testing {

// Answers every message box as soon as it is shown, with its own OK button, so
// that a modal exec() never blocks a test or a benchmark. It records what each
// box looked like and for how long it was up, from its Show event to its Hide
// event: the user's reading time, which a benchmark takes out of a press's
// latency. Any other window that goes modal is closed too and counted as a
// stray, so that a test can fail on it.
class MessageBoxCloser : public QObject {
public:
    struct Box {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        int buttonCount = 0;
        QMessageBox::StandardButton button = QMessageBox::NoButton;
        QString buttonText;
        Qt::WindowModality modality = Qt::NonModal;
        QWidget* parent = nullptr;
        qint64 shownNs = 0; // on the clock
        qint64 hiddenNs = -1;
        qint64 openNs() const { return hiddenNs < 0 ? 0 : hiddenNs - shownNs; }
    };

    // Installs itself on the application. The clock, if given, must be the
    // timer the caller measures with, so that the intervals can be subtracted.
    explicit MessageBoxCloser(const QElapsedTimer* clock = nullptr);
    ~MessageBoxCloser() override;

    const std::vector<Box>& boxes() const { return boxes_; }
    int strays() const { return strays_; }

    // The summed open time of the boxes from index `from` on.
    qint64 OpenNsSince(std::size_t from) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    qint64 Now() const;

    const QElapsedTimer* clock_;
    QElapsedTimer ownClock_;
    std::vector<Box> boxes_;
    int strays_ = 0;
};

} // namespace drill::testing
