// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QResource>
#include <QtEndian>

#include <array>
#include <utility>

#include "accessibility.h"
#include "announcer.h"
#include "design.h"
#include "form.h"
#include "rule_window.h"
#include "window_placement.h"

namespace drill {

namespace {

QString Q(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// The window with its controls made, for the members that refer to them.
QWidget& Built(QWidget& window) {
    design::Build(window, form::kMainWindow);
    return window;
}

// A picture stored decoded in the resources (see assets/tools/raw_image.cpp),
// drawn from the program's own memory; null if it is malformed.
QImage DecodedPicture(const QString& path) {
    const QResource resource(path);
    constexpr qint64 kHeader = 8;
    if (!resource.isValid() || resource.compressionAlgorithm() != QResource::NoCompression ||
        resource.size() < kHeader) {
        return {};
    }
    const uchar* data = resource.data();
    const auto width = qFromLittleEndian<quint32>(data);
    const auto height = qFromLittleEndian<quint32>(data + 4);
    if (width == 0 || height == 0 || resource.size() != kHeader + qint64(width) * height * 4) {
        return {};
    }
    const QImage image(data + kHeader, int(width), int(height), qsizetype(width) * 4,
                       QImage::Format_RGB32);
    // QImage needs 32-bit aligned rows to work in place; copy if they are not.
    return reinterpret_cast<quintptr>(data + kHeader) % 4 == 0 ? image : image.copy();
}

} // namespace

Form1::Form1(RandomSource& random, QWidget* parent)
    : QWidget(parent), BoundView(static_cast<form::Surface&>(*this)),
      startButton_(design::Control<QPushButton>(Built(*this), form::kStartButton)),
      answerBox_(design::Control<QLineEdit>(*this, form::kAnswerBox)),
      announcer_(new Announcer(this)), quiz_(*this, random) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    PlaceOnScreen(*this, form::kMainWindow.client);

    // Each caption overlaps its counter box by one pixel column; leave that
    // column to the box so its border stays whole.
    for (const form::Captioned& counter : form::kCounterCaptions) {
        auto& label = design::Control<QLabel>(*this, *counter.caption);
        const QRect overlap =
            design::Control<QLabel>(*this, *counter.counter).geometry().translated(-label.pos());
        label.setMask(QRegion(label.rect()).subtracted(QRegion(overlap)));
    }

    // Found by name once: from here on a control of the table is its widget.
    for (std::size_t i = 0; i < form::kMainControls.size(); ++i) {
        widgets_[i] = &design::Control<QWidget>(*this, form::kMainControls[i]);
    }
    for (const form::Operation& operation : form::kOperations) {
        const form::Control& button = *operation.button;
        connect(static_cast<QPushButton*>(&Widget(button)), &QPushButton::clicked, this,
                [this, &button] { binding().Press(quiz_, button); });
    }
    binding().DescribeControls();
}

Form1::~Form1() {
    delete form2_;
}

void Form1::PutText(const form::Control& control, const std::string& text) {
    if (&control == &form::kAnswerBox) {
        answerBox_.setText(Q(text));
    } else {
        static_cast<QLabel&>(Widget(control)).setText(Q(text));
    }
}
void Form1::Announce(const std::string& text) {
    announcer_->Say(Q(text));
}
void Form1::Describe(const form::Control& control, const std::string& description) {
    a11y::SetDescription(Widget(control), Q(description));
}

QWidget& Form1::Widget(const form::Control& control) const {
    return *widgets_.at(form::kMainWindow.IndexOf(control));
}

std::string Form1::AnswerText() const {
    return answerBox_.text().toStdString();
}

void Form1::HideStartButton() {
    startButton_.move(form::Px(form::kHiddenButtonLeft), form::Px(form::kHiddenButtonTop));
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
        if (ratio * form::kDesignDpi > form::kDoublePictureAboveDpi) {
            background_ = QImage(QStringLiteral(":/assets/background@2x.jpg"));
            background_.setDevicePixelRatio(2.0);
        } else {
            background_ = DecodedPicture(QStringLiteral(":/assets/background.rgb32"));
        }
        if (background_.isNull()) {
            // The window still works on its plain colour; say why it looks bare.
            qWarning("transpose-drill: the background picture for a pixel ratio of %g is "
                     "missing or malformed",
                     ratio);
        }
        backgroundRatio_ = ratio;
    }
    return background_;
}

void Form1::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), design::Colour(form::kMainWindow.background));
    painter.drawImage(0, 0, Background());
}

} // namespace drill
