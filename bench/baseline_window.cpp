// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for start-up and memory: the least a Qt Widgets program does
// to show a window of the drill's size with one line of text.

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Baseline window"));
    auto* label =
        new QLabel(QStringLiteral("Перенос слагаемых из одной части уравнения в другую"), &window);
    label->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(label);
    window.setFixedSize(706, 487);
    window.show();
    return app.exec();
}
