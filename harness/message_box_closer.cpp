// SPDX-License-Identifier: GPL-3.0-or-later
#include "message_box_closer.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QWidget>

namespace drill::testing {

MessageBoxCloser::MessageBoxCloser(const QElapsedTimer* clock) : clock_(clock) {
    ownClock_.start();
    QCoreApplication::instance()->installEventFilter(this);
}

MessageBoxCloser::~MessageBoxCloser() {
    if (QCoreApplication::instance()) {
        QCoreApplication::instance()->removeEventFilter(this);
    }
}

qint64 MessageBoxCloser::Now() const {
    return (clock_ ? clock_ : &ownClock_)->nsecsElapsed();
}

qint64 MessageBoxCloser::OpenNsSince(std::size_t from) const {
    qint64 total = 0;
    for (std::size_t i = from; i < boxes_.size(); ++i) {
        total += boxes_[i].openNs();
    }
    return total;
}

bool MessageBoxCloser::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Show && event->type() != QEvent::Hide) {
        return false;
    }
    auto* box = qobject_cast<QMessageBox*>(watched);
    if (!box) {
        auto* window = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show && window && window->isWindow() && window->isModal()) {
            ++strays_;
            QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
        }
        return false;
    }
    if (event->type() == QEvent::Hide) {
        if (!boxes_.empty() && boxes_.back().hiddenNs < 0) {
            boxes_.back().hiddenNs = Now();
        }
        return false;
    }
    Box record;
    record.title = box->windowTitle();
    record.text = box->text();
    record.icon = box->icon();
    const auto buttons = box->buttons();
    record.buttonCount = static_cast<int>(buttons.size());
    if (!buttons.isEmpty()) {
        record.button = box->standardButton(buttons.constFirst());
        record.buttonText = buttons.constFirst()->text();
    }
    record.modality = box->windowModality();
    record.parent = box->parentWidget();
    record.shownNs = Now();
    boxes_.push_back(record);
    // Queued: the box's own event loop is running by the time this is
    // delivered, so exec() returns as it would after a click on OK.
    if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
        QMetaObject::invokeMethod(ok, &QAbstractButton::click, Qt::QueuedConnection);
    } else {
        ++strays_; // a box the user could not simply acknowledge
        QMetaObject::invokeMethod(box, &QMessageBox::reject, Qt::QueuedConnection);
    }
    return false;
}

} // namespace drill::testing
