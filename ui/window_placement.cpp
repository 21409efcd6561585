// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include "placement.h"

namespace drill {

namespace {

// The native window's own margins: the widget's copy is renewed only when the
// window moves or is resized, and a window manager that frames a window
// already shown (one started after the program) does neither.
form::FrameMargins Margins(const QWidget& window) {
    const QMargins margins =
        window.windowHandle() ? window.windowHandle()->frameMargins() : QMargins();
    return {margins.left(), margins.top(), margins.right(), margins.bottom()};
}

// Watches the window (and, once it exists, its native window) until the
// frame's margins are known, and places it for each new set of margins; a
// move by the user leaves the margins as they are and is left alone.
class Placer : public QObject {
public:
    Placer(QWidget& window, const form::TwipBox& designed)
        : QObject(&window), window_(window), designed_(form::Px(designed)) {
        window.installEventFilter(this);
        Place({});
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Show:
            // The native window exists from here on; its expose is the first
            // moment the frame is surely there.
            if (watched == &window_ && window_.windowHandle() && !watchingHandle_) {
                window_.windowHandle()->installEventFilter(this);
                watchingHandle_ = true;
            }
            [[fallthrough]];
        case QEvent::Expose:
        case QEvent::Move:
        case QEvent::Resize:
            if (const form::FrameMargins margins = Margins(window_); margins != placedFor_) {
                Place(margins);
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    void Place(const form::FrameMargins& margins) {
        placedFor_ = margins;
        const QScreen* screen = QGuiApplication::screenAt(QPoint(designed_.left, designed_.top));
        if (!screen) {
            screen = window_.screen();
        }
        if (!screen) {
            return; // no screen to fit (Qt has none): the designed place stays
        }
        const QRect area = screen->availableGeometry();
        const form::Point corner =
            form::ClientPosition({designed_.left, designed_.top, window_.width(), window_.height()},
                                 margins, {area.x(), area.y(), area.width(), area.height()});
        window_.setGeometry(corner.x, corner.y, window_.width(), window_.height());
    }

    QWidget& window_;
    const form::PixelBox designed_;
    form::FrameMargins placedFor_;
    bool watchingHandle_ = false;
};

} // namespace

void PlaceOnScreen(QWidget& window, const form::TwipBox& designedClient) {
    new Placer(window, designedClient);
}

} // namespace drill
