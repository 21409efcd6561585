// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The two windows as data: every control's name, kind, text, box, font, colours,
// alignment and tab order, written once here and read by every front end and by
// the tests. Standard library only, so that any toolkit (or a web page) can
// build its windows from it.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "quiz_texts.h"

namespace drill::form {

struct Rgb {
    std::uint8_t r, g, b;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

// Positions and sizes are designed in twips, 1/1440 inch.
struct TwipBox {
    int left, top, width, height;
};

// A box in device-independent pixels (96 per inch).
struct PixelBox {
    int left, top, width, height;
    friend constexpr bool operator==(const PixelBox&, const PixelBox&) = default;
};

// The design's screen: 96 dots per inch, where 15 twips make one pixel.
inline constexpr int kDesignDpi = 96;

// Pixels at `dpi` dots per inch, rounded to the nearest (half away from zero,
// as the Windows edition's MulDiv does). The design's boxes are whole pixels at
// 96 dpi give or take a twip or two, which rounds to the nearest.
constexpr int Px(int twips, int dpi = kDesignDpi) {
    return (twips * dpi + 720) / 1440;
}
constexpr PixelBox Px(TwipBox box, int dpi = kDesignDpi) {
    return {Px(box.left, dpi), Px(box.top, dpi), Px(box.width, dpi), Px(box.height, dpi)};
}

enum class Kind { Button, TextBox, Label };
enum class Align { Left, Centre };
enum class Weight { Regular, Bold };

struct Font {
    int centipoints; // 1200 is 12 pt
    Weight weight;
    // The em height in pixels at `dpi`, rounded to the nearest; at 96 dpi every
    // size of the design comes out whole.
    constexpr int PixelSize(int dpi = kDesignDpi) const {
        return (centipoints * dpi + 3600) / 7200;
    }
    friend constexpr bool operator==(const Font&, const Font&) = default;
};

struct Control {
    std::string_view name;
    Kind kind;
    std::string_view text; // at start
    TwipBox box;
    Font font;
    // Empty: the system's text colour, which the program keeps black (the
    // fields' colours are fixed, so a light system text colour would vanish).
    std::optional<Rgb> textColour = std::nullopt;
    Rgb background;
    Align align;
    bool border = false;   // a thin single black line
    bool wordWrap = false; // wraps at word boundaries within its box
    int tabIndex = -1;     // -1: takes no focus
    // What a screen reader calls the control; empty: its text.
    std::string_view accessibleName = {};
    // What a display is, said after its text.
    std::string_view accessibleDescription = {};
};

struct Window {
    std::string_view name;
    std::string_view caption;
    TwipBox client; // designed place on the screen and size of the client area
    Rgb background;
    std::span<const Control> controls; // in creation order

    // The control of that name, looked up while compiling: a name of no
    // control is no constant expression and fails the build.
    consteval const Control& Find(std::string_view controlName) const {
        for (const Control& control : controls) {
            if (control.name == controlName) {
                return control;
            }
        }
        throw "no such control";
    }

    // Where a control stands in this window's table; the table's size for a
    // control of another window.
    constexpr std::size_t IndexOf(const Control& control) const {
        for (std::size_t i = 0; i < controls.size(); ++i) {
            if (&controls[i] == &control) {
                return i;
            }
        }
        return controls.size();
    }

    // The controls that take the focus, in the order Tab walks them.
    std::vector<const Control*> TabOrder() const {
        std::vector<const Control*> chain;
        for (const Control& control : controls) {
            if (control.tabIndex >= 0) {
                chain.push_back(&control);
            }
        }
        std::sort(chain.begin(), chain.end(),
                  [](const Control* a, const Control* b) { return a->tabIndex < b->tabIndex; });
        return chain;
    }

    // The control of a name known only at run time; null if there is none.
    constexpr const Control* Lookup(std::string_view controlName) const {
        for (const Control& control : controls) {
            if (control.name == controlName) {
                return &control;
            }
        }
        return nullptr;
    }
};

inline constexpr Rgb kButtonFace{128, 255, 255};
inline constexpr Rgb kField{192, 255, 255};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kNavy{0, 0, 128};
inline constexpr Rgb kBlue{0, 0, 192};
inline constexpr Rgb kBlack{0, 0, 0};

// Where the start button goes once the drill has started: beyond the right
// edge, still enabled and in the tab order.
inline constexpr int kHiddenButtonLeft = 17000;
inline constexpr int kHiddenButtonTop = 0;

// The background picture's size in pixels (one more than the client area each
// way, drawn unscaled from the top-left corner).
inline constexpr int kPictureWidth = 707;
inline constexpr int kPictureHeight = 488;
// Above this many dots per inch the double-size picture is drawn instead,
// scaled down: sharp on high-DPI screens from 1.5 times the design's up.
inline constexpr int kDoublePictureAboveDpi = 120;

// The answer box keeps at most this many characters, a paste is cut there: no
// answer is longer than a dozen, and laying out megabytes of one line on every
// cursor blink would stall the program.
inline constexpr int kAnswerMaxLength = 32767;

inline constexpr Font kButtonFont{1200, Weight::Bold};
inline constexpr Font kCaptionFont{1125, Weight::Bold};
inline constexpr Font kLineFont{1200, Weight::Bold};
inline constexpr Font kBigFont{2625, Weight::Regular};

// One control a row reads better than the formatter's packing.
// clang-format off
inline constexpr std::array kMainControls{
    Control{.name = "Command3", .kind = Kind::Button, .text = "Принять ответ",
            .box = {4320, 4800, 2295, 495}, .font = kButtonFont, .background = kButtonFace,
            .align = Align::Centre, .tabIndex = 13},
    Control{.name = "Text1", .kind = Kind::TextBox, .text = "Записывать здесь",
            .box = {2760, 3960, 5055, 735}, .font = kBigFont, .textColour = kBlue,
            .background = kField, .align = Align::Centre, .tabIndex = 11,
            .accessibleName = "Ответ"},
    Control{.name = "Command7", .kind = Kind::Button, .text = "Выход",
            .box = {6600, 6240, 1935, 495}, .font = kButtonFont, .background = kButtonFace,
            .align = Align::Centre, .tabIndex = 9},
    Control{.name = "Command5", .kind = Kind::Button, .text = "Ещё пример",
            .box = {4440, 5400, 2055, 495}, .font = kButtonFont, .background = kButtonFace,
            .align = Align::Centre, .tabIndex = 8},
    Control{.name = "Command2", .kind = Kind::Button, .text = "Начало",
            .box = {4680, 1200, 1695, 495}, .font = kButtonFont, .background = kButtonFace,
            .align = Align::Centre, .tabIndex = 1},
    Control{.name = "Command1", .kind = Kind::Button, .text = "Правило",
            .box = {2280, 6240, 2055, 495}, .font = kButtonFont, .background = kButtonFace,
            .align = Align::Centre, .tabIndex = 0},
    Control{.name = "Label3", .kind = Kind::Label,
            .text = "(Без пробелов. Буквы - латинские строчные.)",
            .box = {960, 2400, 8655, 375}, .font = kLineFont, .background = kField,
            .align = Align::Centre},
    Control{.name = "Label8", .kind = Kind::Label, .text = texts::kVerdictHint,
            .box = {2520, 2760, 5535, 375}, .font = kLineFont, .textColour = kRed,
            .background = kField, .align = Align::Centre,
            .accessibleDescription = "Результат проверки"},
    Control{.name = "Label7", .kind = Kind::Label, .text = "",
            .box = {3120, 1080, 615, 375}, .font = kLineFont, .textColour = kNavy,
            .background = kField, .align = Align::Centre, .border = true,
            .accessibleDescription = "Номер вопроса"},
    Control{.name = "Label6", .kind = Kind::Label, .text = "Задано вопросов:",
            .box = {1080, 1080, 2055, 255}, .font = kCaptionFont, .textColour = kNavy,
            .background = kField, .align = Align::Left},
    Control{.name = "Label5", .kind = Kind::Label, .text = "",
            .box = {9360, 1080, 615, 375}, .font = kLineFont, .textColour = kRed,
            .background = kField, .align = Align::Centre, .border = true,
            .accessibleDescription = "Число ошибок"},
    Control{.name = "Label4", .kind = Kind::Label, .text = "Сделано  ошибок:",
            .box = {7320, 1080, 2055, 255}, .font = kCaptionFont, .textColour = kNavy,
            .background = kField, .align = Align::Left},
    Control{.name = "Label2", .kind = Kind::Label,
            .text = "Перенесите неизвестные в левую часть уравнения, числа - в правую.",
            .box = {600, 2040, 9495, 375}, .font = {1425, Weight::Regular}, .textColour = kBlue,
            .background = kField, .align = Align::Centre},
    Control{.name = "Label1", .kind = Kind::Label, .text = "",
            .box = {3000, 3120, 4575, 615}, .font = kBigFont, .textColour = kBlue,
            .background = kField, .align = Align::Centre,
            .accessibleDescription = texts::kEquation},
};

inline constexpr Font kRuleFont{1575, Weight::Regular};
inline constexpr Font kRuleFontBold{1575, Weight::Bold};

inline constexpr std::array kRuleControls{
    Control{.name = "Label3", .kind = Kind::Label, .text = "-7x-2x = -5+8",
            .box = {2160, 2520, 2415, 615}, .font = kRuleFontBold, .textColour = kBlue,
            .background = kField, .align = Align::Left},
    Control{.name = "Label2", .kind = Kind::Label, .text = "5-7x = 2x+8",
            .box = {2160, 1920, 2295, 495}, .font = kRuleFontBold, .textColour = kBlue,
            .background = kField, .align = Align::Left},
    Control{.name = "Label1", .kind = Kind::Label, .text = "Например:  ",
            .box = {240, 1560, 1575, 375}, .font = kRuleFont, .background = kField,
            .align = Align::Left},
    // One pixel taller than the 1095-twip design box: three wrapped lines of the
    // 21 px font need 73.5 px, and at 73 the last line's descenders were cut on
    // scaled screens. The extra row overlaps only the empty top of "Например:".
    Control{.name = "Label4", .kind = Kind::Label,
            .text = "При  переносе  слагаемого  из  одной  части  уравнения  в  другую,  нужно  "
                    "поменять  знак  этого  слагаемого  на  противоположный.",
            .box = {240, 480, 6855, 1110}, .font = kRuleFont, .background = kField,
            .align = Align::Left, .wordWrap = true},
};

// clang-format on

inline constexpr Window kMainWindow{
    "Form1", texts::kTitle, {2325, 1695, 10590, 7305}, kButtonFace, kMainControls};
inline constexpr Window kRuleWindow{
    "Form2", "Правило", {3885, 4365, 7275, 4020}, kField, kRuleControls};

// The main window's controls by what they are: the one place that says which
// designed control is which. Find runs at compile time, so a misspelt name
// fails the build.
inline constexpr const Control& kProblem = kMainWindow.Find("Label1");
inline constexpr const Control& kAnswerBox = kMainWindow.Find("Text1");
inline constexpr const Control& kVerdict = kMainWindow.Find("Label8");
inline constexpr const Control& kQuestionNo = kMainWindow.Find("Label7");
inline constexpr const Control& kMistakes = kMainWindow.Find("Label5");
inline constexpr const Control& kStartButton = kMainWindow.Find("Command2");
inline constexpr const Control& kAcceptButton = kMainWindow.Find("Command3");
inline constexpr const Control& kNextButton = kMainWindow.Find("Command5");
inline constexpr const Control& kRuleButton = kMainWindow.Find("Command1");
inline constexpr const Control& kQuitButton = kMainWindow.Find("Command7");
// The counters' captions, each overlapping its box by one pixel column.
inline constexpr const Control& kQuestionNoCaption = kMainWindow.Find("Label6");
inline constexpr const Control& kMistakesCaption = kMainWindow.Find("Label4");

// The same, by the words the page and the tests use for them.
struct Role {
    std::string_view name;
    const Control* control;
};
inline constexpr std::array kMainRoles{
    Role{"problem", &kProblem},       Role{"answerBox", &kAnswerBox}, Role{"verdict", &kVerdict},
    Role{"questionNo", &kQuestionNo}, Role{"mistakes", &kMistakes},   Role{"start", &kStartButton},
    Role{"accept", &kAcceptButton},   Role{"next", &kNextButton},     Role{"rule", &kRuleButton},
    Role{"quit", &kQuitButton},
};

// Each counter with the caption that titles it.
struct Captioned {
    const Control* counter;
    const Control* caption;
};
inline constexpr std::array kCounterCaptions{Captioned{&kQuestionNo, &kQuestionNoCaption},
                                             Captioned{&kMistakes, &kMistakesCaption}};

// The rule window read in order (it creates its labels bottom-up): the rule,
// "Например:", then the example before and after the move.
inline constexpr std::array kRuleReadingOrder{
    &kRuleWindow.Find("Label4"), &kRuleWindow.Find("Label1"), &kRuleWindow.Find("Label2"),
    &kRuleWindow.Find("Label3")};

} // namespace drill::form
