#include "main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPainter>
#include <QResource>
#include <QtEndian>

#include "accessibility.h"
#include "design.h"
#include "form.h"
#include "quiz_texts.h"
#include "rule_window.h"
#include "window_placement.h"

namespace drill {

using design::kBlue;
using design::kButtonFace;
using design::kField;
using design::kNavy;
using design::kRed;
using design::TwipRect;
using design::Weight;

namespace {

DrillButton* Button(QWidget* parent, const char* name, const char* text, const QRect& geometry) {
    auto* button = new DrillButton(QString::fromUtf8(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setFont(design::DesignFont(16, Weight::Bold));
    design::Colour(*button, QColor(), kButtonFace);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

template <typename Kind = QLabel>
Kind* Label(QWidget* parent, const char* name, const char* text, const QRect& geometry,
            const QFont& font, const QColor& textColour, Qt::Alignment alignment) {
    auto* label = new Kind(QString::fromUtf8(text), parent);
    design::StyleLabel(*label, name, geometry, font, textColour, alignment);
    return label;
}

QLineEdit* AnswerBox(QWidget* parent) {
    auto* box = new QLineEdit(QStringLiteral("Записывать здесь"), parent);
    box->setObjectName(QStringLiteral("Text1"));
    box->setGeometry(TwipRect(2760, 3960, 5055, 735));
    box->setFont(design::DesignFont(35, Weight::Regular));
    design::Colour(*box, kBlue, kField);
    box->setAlignment(Qt::AlignCenter);
    box->setMaxLength(form::kAnswerMaxLength);
    return box;
}

QString Q(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// A picture stored decoded in the resources (see assets/tools/raw_image.cpp),
// drawn from the program's own memory; null if it is missing or malformed.
QImage DecodedPicture(const QString& path) {
    const QResource resource(path);
    constexpr qint64 kHeader = 8;
    if (!resource.isValid() || resource.compressionAlgorithm() != QResource::NoCompression ||
        resource.size() < kHeader) {
        return {};
    }
    const uchar* data = resource.data();
    const quint32 width = qFromLittleEndian<quint32>(data);
    const quint32 height = qFromLittleEndian<quint32>(data + 4);
    if (width == 0 || height == 0 || resource.size() != kHeader + qint64(width) * height * 4) {
        return {};
    }
    const QImage image(data + kHeader, int(width), int(height), int(width) * 4,
                       QImage::Format_RGB32);
    // QImage needs 32-bit aligned rows to work in place; copy if they are not.
    return reinterpret_cast<quintptr>(data + kHeader) % 4 == 0 ? image : image.copy();
}

} // namespace

Form1::Form1(QWidget* parent)
    : QWidget(parent),
      Command3(Button(this, "Command3", "Принять ответ", TwipRect(4320, 4800, 2295, 495))),
      Text1(AnswerBox(this)),
      Command7(Button(this, "Command7", "Выход", TwipRect(6600, 6240, 1935, 495))),
      Command5(Button(this, "Command5", "Ещё пример", TwipRect(4440, 5400, 2055, 495))),
      Command2(Button(this, "Command2", "Начало", TwipRect(4680, 1200, 1695, 495))),
      Command1(Button(this, "Command1", "Правило", TwipRect(2280, 6240, 2055, 495))),
      Label3(Label(this, "Label3", "(Без пробелов. Буквы - латинские строчные.)",
                   TwipRect(960, 2400, 8655, 375), design::DesignFont(16, Weight::Bold), QColor(),
                   Qt::AlignHCenter)),
      Label8(Label(this, "Label8", texts::kVerdictHint, TwipRect(2520, 2760, 5535, 375),
                   design::DesignFont(16, Weight::Bold), kRed, Qt::AlignHCenter)),
      Label7(Label<BorderedLabel>(this, "Label7", "", TwipRect(3120, 1080, 615, 375),
                                  design::DesignFont(16, Weight::Bold), kNavy, Qt::AlignHCenter)),
      Label6(Label(this, "Label6", "Задано вопросов:", TwipRect(1080, 1080, 2055, 255),
                   design::DesignFont(15, Weight::Bold), kNavy, Qt::AlignLeft)),
      Label5(Label<BorderedLabel>(this, "Label5", "", TwipRect(9360, 1080, 615, 375),
                                  design::DesignFont(16, Weight::Bold), kRed, Qt::AlignHCenter)),
      Label4(Label(this, "Label4", "Сделано  ошибок:", TwipRect(7320, 1080, 2055, 255),
                   design::DesignFont(15, Weight::Bold), kNavy, Qt::AlignLeft)),
      Label2(Label(this, "Label2",
                   "Перенесите неизвестные в левую часть уравнения, числа - в правую.",
                   TwipRect(600, 2040, 9495, 375), design::DesignFont(19, Weight::Regular), kBlue,
                   Qt::AlignHCenter)),
      Label1(Label(this, "Label1", "", TwipRect(3000, 3120, 4575, 615),
                   design::DesignFont(35, Weight::Regular), kBlue, Qt::AlignHCenter)),
      quiz_(*this, random_) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(texts::kTitle));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    // Fixed: a larger window would bring the moved-away start button into view.
    setGeometry(TwipRect(2325, 1695, 10590, 7305));
    setFixedSize(size());
    PlaceOnScreen(*this, form::kMainWindow.client);
    design::Colour(*this, QColor(), kButtonFace);

    // Each caption overlaps its counter box by one pixel column; leave that
    // column to the box so its border stays whole.
    for (auto [caption, box] : {std::pair<QLabel*, QLabel*>{Label6, Label7}, {Label4, Label5}}) {
        const QRect overlap = box->geometry().translated(-caption->pos());
        caption->setMask(QRegion(caption->rect()).subtracted(QRegion(overlap)));
    }

    setTabOrder(Command1, Command2);
    setTabOrder(Command2, Command5);
    setTabOrder(Command5, Command7);
    setTabOrder(Command7, Text1);
    setTabOrder(Text1, Command3);
    Command1->setFocus(Qt::OtherFocusReason);

    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(Command7, &QPushButton::clicked, this, &Form1::Command7_Click);
    a11y::ExposeMainWindow(*this);
}

Form1::~Form1() {
    delete form2_;
}

void Form1::Command1_Click() {
    quiz_.ShowRule();
}
void Form1::Command2_Click() {
    quiz_.Start();
}
void Form1::Command3_Click() {
    quiz_.AcceptAnswer();
}
void Form1::Command5_Click() {
    quiz_.NextExample();
}
void Form1::Command7_Click() {
    quiz_.Quit();
}

std::string Form1::AnswerText() const {
    return Text1->text().toStdString();
}
void Form1::SetAnswerText(const std::string& text) {
    Text1->setText(Q(text));
}
void Form1::SetProblemText(const std::string& text) {
    Label1->setText(Q(text));
    a11y::MainWindowDisplaysChanged(*this);
}
void Form1::SetQuestionNoText(const std::string& text) {
    Label7->setText(Q(text));
}
void Form1::SetMistakeText(const std::string& text) {
    Label5->setText(Q(text));
}
void Form1::SetVerdictText(const std::string& text) {
    Label8->setText(Q(text));
    a11y::MainWindowDisplaysChanged(*this);
}

void Form1::HideStartButton() {
    Command2->move(design::Px(17000), 0);
}

void Form1::ShowRuleWindow() {
    if (!form2_) {
        form2_ = new Form2;
    }
    form2_->show();
    form2_->raise();
    form2_->activateWindow();
}

void Form1::ShowMessage(const std::string& text, const std::string& title, MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::Information,
                    Q(title), Q(text), QMessageBox::Ok, this);
    box.exec();
}

void Form1::EndProgram() {
    close();
    QCoreApplication::quit();
}

void Form1::closeEvent(QCloseEvent* event) {
    // The rule window serves only this drill: it goes with it.
    if (form2_) {
        form2_->close();
    }
    event->accept();
}

const QImage& Form1::Background() {
    const qreal ratio = devicePixelRatioF();
    if (ratio != backgroundRatio_) {
        // Sharp on high-DPI screens: the double-size picture from 1.5x up.
        if (ratio > 1.25) {
            background_ = QImage(QStringLiteral(":/assets/background@2x.jpg"));
            background_.setDevicePixelRatio(2.0);
        } else {
            background_ = DecodedPicture(QStringLiteral(":/assets/background.rgb32"));
            if (background_.isNull()) {
                background_ = QImage(QStringLiteral(":/assets/background.jpg"));
            }
        }
        backgroundRatio_ = ratio;
    }
    return background_;
}

void Form1::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kButtonFace);
    painter.drawImage(0, 0, Background());
}

} // namespace drill
