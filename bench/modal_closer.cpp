#include "modal_closer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMessageBox>
#include <QMetaObject>

namespace drill::bench {

ModalCloser::ModalCloser(const QElapsedTimer& clock) : clock_(clock) {
    QCoreApplication::instance()->installEventFilter(this);
}

ModalCloser::~ModalCloser() {
    if (QCoreApplication::instance()) {
        QCoreApplication::instance()->removeEventFilter(this);
    }
}

qint64 ModalCloser::OpenNsSince(std::size_t from) const {
    qint64 total = 0;
    for (std::size_t i = from; i < boxes_.size(); ++i) {
        total += boxes_[i].openNs();
    }
    return total;
}

bool ModalCloser::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Show && event->type() != QEvent::Hide) {
        return false;
    }
    auto* box = qobject_cast<QMessageBox*>(watched);
    if (!box) {
        return false;
    }
    if (event->type() == QEvent::Show) {
        boxes_.push_back({box->text(), clock_.nsecsElapsed(), -1});
        // Queued: the box's own event loop is running by the time this is
        // delivered, so exec() returns as it would after a click on OK.
        QMetaObject::invokeMethod(box, &QMessageBox::accept, Qt::QueuedConnection);
    } else if (!boxes_.empty() && boxes_.back().hiddenNs < 0) {
        boxes_.back().hiddenNs = clock_.nsecsElapsed();
    }
    return false;
}

} // namespace drill::bench
