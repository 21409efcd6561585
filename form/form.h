// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The two windows as data: every control's name, kind, text, box, font, colours,
// alignment and tab order, written once here and read by every front end and by
// the tests. Standard library only, so that any toolkit (or a web page) can
// build its windows from it.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

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

// 15 twips make one pixel; the design's boxes are whole pixels give or take
// a twip or two, which rounds to the nearest.
constexpr int Px(int twips) {
    return (twips + 7) / 15;
}
constexpr PixelBox Px(TwipBox box) {
    return {Px(box.left), Px(box.top), Px(box.width), Px(box.height)};
}

enum class Kind { Button, TextBox, Label };
enum class Align { Left, Centre };
enum class Weight { Regular, Bold };

struct Font {
    int centipoints; // 1200 is 12 pt
    Weight weight;
    // Pixels at 96 dpi; every size of the design comes out whole.
    constexpr int PixelSize() const { return (centipoints * 4 + 150) / 300; }
};

struct Control {
    std::string_view name;
    Kind kind;
    std::string_view text; // at start
    TwipBox box;
    Font font;
    // Empty: the system's text colour, which the program keeps black (the
    // fields' colours are fixed, so a light system text colour would vanish).
    std::optional<Rgb> textColour;
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

    // The control of that name; it must exist.
    constexpr const Control& Find(std::string_view controlName) const {
        for (const Control& control : controls) {
            if (control.name == controlName) {
                return control;
            }
        }
        throw "no such control"; // not a constant expression: fails the build
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

// The answer box keeps at most this many characters, a paste is cut there: no
// answer is longer than a dozen, and laying out megabytes of one line on every
// cursor blink would stall the program.
inline constexpr int kAnswerMaxLength = 32767;

inline constexpr Font kButtonFont{1200, Weight::Bold};

// One control a row reads better than the formatter's packing.
// clang-format off
inline constexpr std::array kMainControls{
    Control{"Command3", Kind::Button, "Принять ответ", {4320, 4800, 2295, 495}, kButtonFont,
            std::nullopt, kButtonFace, Align::Centre, false, false, 13},
    Control{"Text1", Kind::TextBox, "Записывать здесь", {2760, 3960, 5055, 735},
            {2625, Weight::Regular}, kBlue, kField, Align::Centre, false, false, 11, "Ответ"},
    Control{"Command7", Kind::Button, "Выход", {6600, 6240, 1935, 495}, kButtonFont,
            std::nullopt, kButtonFace, Align::Centre, false, false, 9},
    Control{"Command5", Kind::Button, "Ещё пример", {4440, 5400, 2055, 495}, kButtonFont,
            std::nullopt, kButtonFace, Align::Centre, false, false, 8},
    Control{"Command2", Kind::Button, "Начало", {4680, 1200, 1695, 495}, kButtonFont,
            std::nullopt, kButtonFace, Align::Centre, false, false, 1},
    Control{"Command1", Kind::Button, "Правило", {2280, 6240, 2055, 495}, kButtonFont,
            std::nullopt, kButtonFace, Align::Centre, false, false, 0},
    Control{"Label3", Kind::Label, "(Без пробелов. Буквы - латинские строчные.)",
            {960, 2400, 8655, 375}, {1200, Weight::Bold}, std::nullopt, kField, Align::Centre},
    Control{"Label8", Kind::Label, texts::kVerdictHint, {2520, 2760, 5535, 375},
            {1200, Weight::Bold}, kRed, kField, Align::Centre, false, false, -1, {},
            "Результат проверки"},
    Control{"Label7", Kind::Label, "", {3120, 1080, 615, 375}, {1200, Weight::Bold}, kNavy,
            kField, Align::Centre, true, false, -1, {}, "Номер вопроса"},
    Control{"Label6", Kind::Label, "Задано вопросов:", {1080, 1080, 2055, 255},
            {1125, Weight::Bold}, kNavy, kField, Align::Left},
    Control{"Label5", Kind::Label, "", {9360, 1080, 615, 375}, {1200, Weight::Bold}, kRed,
            kField, Align::Centre, true, false, -1, {}, "Число ошибок"},
    Control{"Label4", Kind::Label, "Сделано  ошибок:", {7320, 1080, 2055, 255},
            {1125, Weight::Bold}, kNavy, kField, Align::Left},
    Control{"Label2", Kind::Label,
            "Перенесите неизвестные в левую часть уравнения, числа - в правую.",
            {600, 2040, 9495, 375}, {1425, Weight::Regular}, kBlue, kField, Align::Centre},
    Control{"Label1", Kind::Label, "", {3000, 3120, 4575, 615}, {2625, Weight::Regular}, kBlue,
            kField, Align::Centre, false, false, -1, {}, "Уравнение"},
};

inline constexpr Font kRuleFont{1575, Weight::Regular};
inline constexpr Font kRuleFontBold{1575, Weight::Bold};

inline constexpr std::array kRuleControls{
    Control{"Label3", Kind::Label, "-7x-2x = -5+8", {2160, 2520, 2415, 615}, kRuleFontBold,
            kBlue, kField, Align::Left},
    Control{"Label2", Kind::Label, "5-7x = 2x+8", {2160, 1920, 2295, 495}, kRuleFontBold, kBlue,
            kField, Align::Left},
    Control{"Label1", Kind::Label, "Например:  ", {240, 1560, 1575, 375}, kRuleFont,
            std::nullopt, kField, Align::Left},
    // One pixel taller than the 1095-twip design box: three wrapped lines of the
    // 21 px font need 73.5 px, and at 73 the last line's descenders were cut on
    // scaled screens. The extra row overlaps only the empty top of "Например:".
    Control{"Label4", Kind::Label,
            "При  переносе  слагаемого  из  одной  части  уравнения  в  другую,  нужно  "
            "поменять  знак  этого  слагаемого  на  противоположный.",
            {240, 480, 6855, 1110}, kRuleFont, std::nullopt, kField, Align::Left, false, true},
};

// clang-format on

inline constexpr Window kMainWindow{
    "Form1", texts::kTitle, {2325, 1695, 10590, 7305}, kButtonFace, kMainControls};
inline constexpr Window kRuleWindow{
    "Form2", "Правило", {3885, 4365, 7275, 4020}, kField, kRuleControls};

// The rule window read in order (it creates its labels bottom-up): the rule,
// "Например:", then the example before and after the move.
inline constexpr std::array kRuleReadingOrder{"Label4", "Label1", "Label2", "Label3"};

} // namespace drill::form
