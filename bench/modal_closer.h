#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <vector>

namespace drill::bench {

// Closes every message box as soon as it is shown, so that a modal exec()
// never blocks a benchmark, and records for how long each box was up: from
// its Show event to its Hide event. That interval is the user's reading time
// and is taken out of a press's latency.
class ModalCloser : public QObject {
public:
    struct Box {
        QString text;
        qint64 shownNs = 0; // on clock()
        qint64 hiddenNs = -1;
        qint64 openNs() const { return hiddenNs < 0 ? 0 : hiddenNs - shownNs; }
    };

    // Installs itself on the application; clock() must be the timer the
    // caller measures with, so that the intervals can be subtracted.
    explicit ModalCloser(const QElapsedTimer& clock);
    ~ModalCloser() override;

    const std::vector<Box>& boxes() const { return boxes_; }
    void clear() { boxes_.clear(); }

    // The summed open time of the boxes from index `from` on.
    qint64 OpenNsSince(std::size_t from) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const QElapsedTimer& clock_;
    std::vector<Box> boxes_;
};

} // namespace drill::bench
