// SPDX-License-Identifier: GPL-3.0-or-later
// The windows' table and what a screen reader is told between operations.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "announce.h"
#include "form.h"

namespace {

using drill::form::Announcement;
using drill::form::Displays;

struct AnnouncementCase {
    const char* name;
    Displays before, after;
    const char* said;
};

void PrintTo(const AnnouncementCase& c, std::ostream* os) {
    *os << c.name;
}

class AnnouncementTest : public testing::TestWithParam<AnnouncementCase> {};

TEST_P(AnnouncementTest, SaysOnlyWhatChanged) {
    const AnnouncementCase& c = GetParam();
    EXPECT_EQ(Announcement(c.before, c.after), c.said);
}

INSTANTIATE_TEST_SUITE_P(
    Displays, AnnouncementTest,
    testing::Values(AnnouncementCase{"FirstProblem",
                                     {"", "", "Исправления - до нажатия ПРИНЯТЬ ОТВЕТ"},
                                     {"1", "5x-4=x+2", "Исправления - до нажатия ПРИНЯТЬ ОТВЕТ"},
                                     "Вопрос 1. Уравнение 5x-4=x+2"},
                    AnnouncementCase{"NextProblemAfterVerdict",
                                     {"1", "5x-4=x+2", "Верно"},
                                     {"2", "8-3x=2x+1", "Исправления - до нажатия ПРИНЯТЬ ОТВЕТ"},
                                     "Вопрос 2. Уравнение 8-3x=2x+1"},
                    AnnouncementCase{"Right",
                                     {"3", "x+4=8+3x", "Исправления - до нажатия ПРИНЯТЬ ОТВЕТ"},
                                     {"3", "x+4=8+3x", "Верно"},
                                     "Верно"},
                    AnnouncementCase{"Wrong",
                                     {"3", "x+4=8+3x", "Исправления - до нажатия ПРИНЯТЬ ОТВЕТ"},
                                     {"3", "x+4=8+3x", "Ошибка"},
                                     "Ошибка"},
                    // A second answer, an empty box, a repeated start: nothing changed.
                    AnnouncementCase{
                        "Unchanged", {"3", "x+4=8+3x", "Ошибка"}, {"3", "x+4=8+3x", "Ошибка"}, ""},
                    // The end: the problem stays and the hint returns; the message box speaks.
                    AnnouncementCase{"HintIsNoVerdict",
                                     {"20", "x+4=8+3x", "Верно"},
                                     {"20", "x+4=8+3x", "Исправления - до нажатия ПРИНЯТЬ ОТВЕТ"},
                                     ""}),
    [](const testing::TestParamInfo<AnnouncementCase>& info) { return info.param.name; });

// The table itself: the tab chain is whole and every control sits inside its window.
TEST(FormTable, TabOrderAndBoxes) {
    for (const auto* window : {&drill::form::kMainWindow, &drill::form::kRuleWindow}) {
        std::set<std::string_view> names;
        for (const auto& control : window->controls) {
            EXPECT_EQ(window->IndexOf(control), names.size()) << control.name;
            EXPECT_TRUE(names.insert(control.name).second) << control.name;
            EXPECT_LE(control.box.left + control.box.width, window->client.width) << control.name;
            EXPECT_LE(control.box.top + control.box.height, window->client.height) << control.name;
            EXPECT_EQ(control.tabIndex >= 0, control.kind != drill::form::Kind::Label)
                << control.name;
        }
    }
    // A control of another window stands nowhere in this one's table.
    EXPECT_EQ(drill::form::kMainWindow.IndexOf(drill::form::kRuleWindow.controls.front()),
              drill::form::kMainWindow.controls.size());
    EXPECT_EQ(drill::form::Px(drill::form::kMainWindow.client),
              (drill::form::PixelBox{155, 113, 706, 487}));
    EXPECT_EQ(drill::form::kMainWindow.Find("Text1").font.PixelSize(), 35);
    EXPECT_EQ(drill::form::kRuleWindow.Find("Label4").font.PixelSize(), 21);
}

// Twips and points at a screen's dpi, rounded to the nearest with halves up.
struct ScaleCase {
    int dpi, twips, pixels, centipoints, fontPixels;
};
TEST(FormTable, ScalesToDpi) {
    for (const ScaleCase& c :
         {ScaleCase{96, 4327, 288, 1125, 15}, ScaleCase{120, 10590, 883, 1125, 19},
          ScaleCase{144, 7305, 731, 2625, 53}, ScaleCase{192, 7, 1, 1575, 42}}) {
        EXPECT_EQ(drill::form::Px(c.twips, c.dpi), c.pixels) << c.dpi;
        EXPECT_EQ((drill::form::Font{c.centipoints, drill::form::Weight::Bold}.PixelSize(c.dpi)),
                  c.fontPixels)
            << c.dpi;
    }
}

} // namespace
