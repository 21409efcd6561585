// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <array>

#include "binding.h"
#include "quiz.h"

class QLineEdit;
class QPushButton;

namespace drill {

class Announcer;
class Form2;

// The drill's main window: shows what the quiz tells it and passes each
// button click to the quiz. It makes no decisions of its own: the binding
// shared with the page makes them.
class Form1 : public QWidget, private form::Surface, public form::BoundView {
    Q_OBJECT
public:
    // The random source shuffles the questions; it must outlive the window.
    explicit Form1(RandomSource& random, QWidget* parent = nullptr);
    ~Form1() override;

    // QuizView
    std::string AnswerText() const override;
    void HideStartButton() override;
    void ShowRuleWindow() override;
    void ShowMessage(const std::string& text, const std::string& title, MessageIcon icon) override;
    void EndProgram() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // form::Surface
    void PutText(const form::Control& control, const std::string& text) override;
    void Announce(const std::string& text) override;
    void Describe(const form::Control& control, const std::string& description) override;

    const QImage& Background();
    // The widget made for a control of the main window's table.
    QWidget& Widget(const form::Control& control) const;

    QPushButton& startButton_;
    QLineEdit& answerBox_;
    Announcer* const announcer_;
    Quiz quiz_;
    std::array<QWidget*, form::kMainControls.size()> widgets_{};
    QPointer<Form2> form2_;
    QImage background_;
    qreal backgroundRatio_ = 0;
};

} // namespace drill
