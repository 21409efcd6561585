#pragma once

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QWidget>

#include "bordered_label.h"
#include "clock_random.h"
#include "drill_button.h"
#include "quiz.h"
#include "rule_window.h"

namespace drill {

// The drill's main window: shows what the quiz tells it and passes each
// button click to the quiz. It makes no decisions of its own.
class Form1 : public QWidget, public QuizView {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    const Quiz& quiz() const { return quiz_; }
    // The rule window while it is open, else null.
    Form2* ruleWindow() const { return form2_; }

    // QuizView
    std::string AnswerText() const override;
    void SetAnswerText(const std::string& text) override;
    void SetProblemText(const std::string& text) override;
    void SetQuestionNoText(const std::string& text) override;
    void SetMistakeText(const std::string& text) override;
    void SetVerdictText(const std::string& text) override;
    void HideStartButton() override;
    void ShowRuleWindow() override;
    void ShowMessage(const std::string& text, const std::string& title, MessageIcon icon) override;
    void EndProgram() override;

    // Controls, in the order the window creates them.
    DrillButton* const Command3;
    QLineEdit* const Text1;
    DrillButton* const Command7;
    DrillButton* const Command5;
    DrillButton* const Command2;
    DrillButton* const Command1;
    QLabel* const Label3;
    QLabel* const Label8;
    BorderedLabel* const Label7;
    QLabel* const Label6;
    BorderedLabel* const Label5;
    QLabel* const Label4;
    QLabel* const Label2;
    QLabel* const Label1;

private slots:
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command5_Click();
    void Command7_Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    const QImage& Background();

    ClockRandom random_;
    Quiz quiz_;
    QPointer<Form2> form2_;
    QImage background_;
    qreal backgroundRatio_ = 0;
};

} // namespace drill
