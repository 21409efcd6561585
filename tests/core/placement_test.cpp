// SPDX-License-Identifier: GPL-3.0-or-later
// Where the windows open on screens smaller and larger than the design's.

#include <gtest/gtest.h>

#include "form.h"
#include "placement.h"

namespace {

using drill::form::ClientPosition;
using drill::form::FrameMargins;
using drill::form::PixelBox;
using drill::form::Point;
using drill::form::Px;

const PixelBox kMain = Px(drill::form::kMainWindow.client); // 155, 113, 706 x 487
const PixelBox kRule = Px(drill::form::kRuleWindow.client); // 259, 291, 485 x 268
constexpr FrameMargins kNone{};
constexpr FrameMargins kThin{1, 21, 1, 1};  // a slim title bar
constexpr FrameMargins kThick{4, 30, 4, 8}; // wide borders

struct PlacementCase {
    const char* name;
    PixelBox designed;
    FrameMargins frame;
    PixelBox available;
    Point client;
};

void PrintTo(const PlacementCase& c, std::ostream* os) {
    *os << c.name;
}

class PlacementTest : public testing::TestWithParam<PlacementCase> {};

TEST_P(PlacementTest, ClientCorner) {
    const PlacementCase& c = GetParam();
    const Point got = ClientPosition(c.designed, c.frame, c.available);
    EXPECT_EQ(got.x, c.client.x);
    EXPECT_EQ(got.y, c.client.y);
}

TEST_P(PlacementTest, WholeFrameOnScreenWhenItCanBe) {
    const PlacementCase& c = GetParam();
    const Point got = ClientPosition(c.designed, c.frame, c.available);
    const int width = c.frame.left + c.designed.width + c.frame.right;
    const int height = c.frame.top + c.designed.height + c.frame.bottom;
    const int left = got.x - c.frame.left, top = got.y - c.frame.top;
    if (width <= c.available.width) {
        EXPECT_GE(left, c.available.left);
        EXPECT_LE(left + width, c.available.left + c.available.width);
    }
    if (height <= c.available.height) {
        EXPECT_GE(top, c.available.top);
        EXPECT_LE(top + height, c.available.top + c.available.height);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Screens, PlacementTest,
    testing::Values(
        PlacementCase{"LargeScreenKeepsDesign", kMain, kThin, {0, 0, 1280, 1024}, {155, 113}},
        PlacementCase{"ThickFrameStillFits", kMain, kThick, {0, 0, 1024, 768}, {155, 113}},
        // 862 px of frame on 800: moved left by the excess only; 601 on 600: up by one.
        PlacementCase{"NarrowAndShort", kMain, kThin, {0, 0, 800, 600}, {93, 112}},
        PlacementCase{"NarrowNoFrameYet", kMain, kNone, {0, 0, 800, 600}, {94, 113}},
        // Read off a frame not yet grown round the window: as no frame at all.
        PlacementCase{
            "FrameStillBeingBuilt", kMain, {1, 20, -706, -506}, {0, 0, 800, 600}, {94, 113}},
        PlacementCase{"NetbookBottomCut", kMain, kThin, {0, 0, 1024, 600}, {155, 112}},
        PlacementCase{"NetbookThickFrame", kMain, kThick, {0, 0, 1024, 600}, {155, 105}},
        // A panel at the top and one on the left shrink the available area.
        PlacementCase{"PanelsAroundDesign", kMain, kThin, {48, 30, 1232, 994}, {155, 113}},
        PlacementCase{"PanelBelowOnNetbook", kMain, kThin, {0, 0, 1024, 560}, {155, 72}},
        PlacementCase{"FitsExactly", kMain, kNone, {0, 0, 861, 600}, {155, 113}},
        PlacementCase{"OnePixelShort", kMain, kNone, {0, 0, 860, 600}, {154, 113}},
        // Larger than the screen: the title bar and close box stay reachable.
        PlacementCase{"LargerThanScreen", kMain, kThin, {0, 0, 640, 480}, {1, 21}},
        // A second screen to the right: the window moves onto it whole.
        PlacementCase{"ScreenBesides", kMain, kThin, {1280, 0, 1024, 768}, {1281, 113}},
        PlacementCase{"RuleFitsSmallScreen", kRule, kThin, {0, 0, 800, 600}, {259, 291}},
        PlacementCase{"RuleOnTinyScreen", kRule, kThin, {0, 0, 640, 480}, {154, 211}}),
    [](const testing::TestParamInfo<PlacementCase>& info) { return info.param.name; });

} // namespace
