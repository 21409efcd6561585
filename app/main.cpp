// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>

#include "application_setup.h"
#include "clock_random.h"
#include "display_check.h"
#include "main_window.h"

int main(int argc, char* argv[]) {
    if (!drill::CheckDisplay(argc, argv)) {
        return 1;
    }
    QApplication app(argc, argv);
    drill::ConfigureApplication(app);

    drill::ClockRandom random;
    drill::Form1 form(random);
    form.show();
    return app.exec();
}
