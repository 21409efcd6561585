#include <QApplication>

#include "application_setup.h"
#include "main_window.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    drill::ConfigureApplication(app);

    drill::Form1 form;
    form.show();
    return app.exec();
}
