// SPDX-License-Identifier: GPL-3.0-or-later
#include "application_setup.h"

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QImageReader>
#include <QLibraryInfo>
#include <QPalette>
#include <QPixmap>
#include <QStyle>
#include <QStyleFactory>
#include <QTimer>
#include <QTranslator>

#include <utility>

#include "accessibility.h"

namespace drill {

namespace {

// Puts the light palette back whenever something (a desktop's theme plugin
// on a colour scheme change, say) replaces the application's palette.
class PaletteKeeper : public QObject {
public:
    PaletteKeeper(QApplication& app, QPalette palette)
        : QObject(&app), app_(app), palette_(std::move(palette)) {
        app.setPalette(palette_);
        app.installEventFilter(this);
        // Not from inside the change: the widgets are still being told of it.
        restore_.setSingleShot(true);
        restore_.setInterval(0);
        connect(&restore_, &QTimer::timeout, this, [this] {
            app_.setPalette(palette_); // no change, no event: no loop
        });
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &app_ && event->type() == QEvent::ApplicationPaletteChange &&
            !restore_.isActive()) {
            restore_.start();
        }
        return false;
    }

private:
    QApplication& app_;
    const QPalette palette_;
    QTimer restore_;
};

} // namespace

void ConfigureApplication(QApplication& app) {
    a11y::InstallFactories();
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // The design's fields are fixed light colours and its "default" text is
    // black: the desktop's colour scheme must not reach the windows.
    new PaletteKeeper(app, app.style()->standardPalette());

    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        app.installTranslator(translator);
    } else {
        delete translator; // English buttons are better than none
    }

    // Each size is decoded at once and sent to the window system: three cover
    // title bars and task lists (one list, in assets/icon_sizes.cmake); the
    // desktop menu has the full set installed.
    QIcon icon;
    for (int size : {DRILL_WINDOW_ICON_SIZES}) {
        // Naming the format keeps the reader from loading every image plugin
        // to ask whether it knows the file.
        QImageReader reader(QStringLiteral(":/assets/icon-%1.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        const QImage image = reader.read();
        if (image.isNull()) {
            qWarning("transpose-drill: no %dx%d icon: %s", size, size,
                     qPrintable(reader.errorString()));
            continue;
        }
        icon.addPixmap(QPixmap::fromImage(image));
    }
    app.setWindowIcon(icon);
}

} // namespace drill
