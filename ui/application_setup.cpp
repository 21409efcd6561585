// SPDX-License-Identifier: GPL-3.0-or-later
#include "application_setup.h"

#include <QApplication>
#include <QIcon>
#include <QImageReader>
#include <QLibraryInfo>
#include <QPixmap>
#include <QStyleFactory>
#include <QTranslator>

namespace drill {

void ConfigureApplication(QApplication& app) {
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        app.installTranslator(translator);
    } else {
        delete translator; // English buttons are better than none
    }

    // Each size is decoded at once and sent to the window system: three cover
    // title bars and task lists; the desktop menu has the full set installed.
    QIcon icon;
    for (int size : {16, 32, 48}) {
        // Naming the format keeps the reader from loading every image plugin
        // to ask whether it knows the file.
        QImageReader reader(QStringLiteral(":/assets/icon-%1.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    app.setWindowIcon(icon);
}

} // namespace drill
