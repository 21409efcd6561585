#pragma once

#include <QLabel>
#include <QWidget>

namespace drill {

// The rule of the drill with one worked example; only read and closed.
class Form2 : public QWidget {
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);

    // Labels, in the order the window creates them.
    QLabel* const Label3;
    QLabel* const Label2;
    QLabel* const Label1;
    QLabel* const Label4;
};

} // namespace drill
