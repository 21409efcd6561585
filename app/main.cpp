#include <QApplication>

#include "application_setup.h"
#include "display_check.h"
#include "main_window.h"

int main(int argc, char* argv[]) {
    if (!drill::CheckDisplay(argc, argv)) {
        return 1;
    }
    QApplication app(argc, argv);
    drill::ConfigureApplication(app);

    drill::Form1 form;
    form.show();
    return app.exec();
}
