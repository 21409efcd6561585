#include "rule_window.h"

#include "accessibility.h"
#include "design.h"
#include "form.h"
#include "window_placement.h"

namespace drill {

using design::TwipRect;
using design::Weight;

namespace {

// One pixel taller than the 1095-twip design box: three wrapped lines of the
// 21 px font need 73.5 px, and at 73 the last line's descenders were cut on
// scaled screens. The extra row overlaps only the empty top of "Например:".
constexpr int kRuleHeight = 1110;

QLabel* Label(QWidget* parent, const char* name, const char* text, const QRect& geometry,
              Weight weight, const QColor& textColour) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    design::StyleLabel(*label, name, geometry, design::DesignFont(21, weight), textColour,
                       Qt::AlignLeft);
    return label;
}

} // namespace

Form2::Form2(QWidget* parent)
    : QWidget(parent), Label3(Label(this, "Label3", "-7x-2x = -5+8",
                                    TwipRect(2160, 2520, 2415, 615), Weight::Bold, design::kBlue)),
      Label2(Label(this, "Label2", "5-7x = 2x+8", TwipRect(2160, 1920, 2295, 495), Weight::Bold,
                   design::kBlue)),
      Label1(Label(this, "Label1", "Например:  ", TwipRect(240, 1560, 1575, 375), Weight::Regular,
                   QColor())),
      Label4(Label(this, "Label4",
                   "При  переносе  слагаемого  из  одной  части  уравнения  в  другую,  нужно  "
                   "поменять  знак  этого  слагаемого  на  противоположный.",
                   TwipRect(240, 480, 6855, kRuleHeight), Weight::Regular, QColor())) {
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Правило"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    Label4->setWordWrap(true);
    setGeometry(TwipRect(3885, 4365, 7275, 4020));
    setFixedSize(size());
    PlaceOnScreen(*this, form::kRuleWindow.client);
    design::Colour(*this, QColor(), design::kField);
    setAutoFillBackground(true);
    a11y::ExposeRuleWindow(*this);
}

} // namespace drill
