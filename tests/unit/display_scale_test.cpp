// Display scale: the one rounding rule, the window's rectangles and the menu rows at each
// scale, the skin sets tried for a DPI and the size of a picture taken from another set.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "ui/bmp_menu_model.h"
#include "ui/button_paint.h"
#include "ui/display_scale.h"
#include "ui/feedback_rules.h"
#include "ui/layout.h"
#include "ui/window_layout.h"

namespace mv {
namespace {

constexpr std::int32_t kDpis[] = {96, 120, 144, 168, 192};

bool Overlap(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The main window's controls, its gesture tiles and its animation, at 96 DPI.
std::vector<Rect> MainWindowRects() {
    using namespace main_layout;
    std::vector<Rect> all{kClose, kMinimize, kReset, kApply, kVersion, kFunction, kPointer, kAnimation, kSelector};
    all.insert(all.end(), kTabs.begin(), kTabs.end());
    all.insert(all.end(), kTiles.begin(), kTiles.end());
    return all;
}

TEST(DisplayScale, RoundsToTheNearestPixelHalvesAwayFromZero) {
    // 125 %: quarters; 150 %: halves; 175 %: quarters again; 200 %: exact.
    EXPECT_EQ(ScaleToDpi(1, 120), 1);
    EXPECT_EQ(ScaleToDpi(2, 120), 3);   // 2.5
    EXPECT_EQ(ScaleToDpi(3, 120), 4);   // 3.75
    EXPECT_EQ(ScaleToDpi(17, 120), 21);  // 21.25
    EXPECT_EQ(ScaleToDpi(1, 144), 2);   // 1.5
    EXPECT_EQ(ScaleToDpi(17, 144), 26);  // 25.5
    EXPECT_EQ(ScaleToDpi(-17, 144), -26);
    EXPECT_EQ(ScaleToDpi(-2, 120), -3);
    EXPECT_EQ(ScaleToDpi(2, 168), 4);   // 3.5
    EXPECT_EQ(ScaleToDpi(17, 168), 30);  // 29.75
    EXPECT_EQ(ScaleToDpi(17, 192), 34);
    EXPECT_EQ(ScaleToDpi(12, 110), 14);  // 13.75: any DPI, not only the drawn ones
    EXPECT_EQ(ScaleToDpi(0, 144), 0);
    EXPECT_EQ(ScaleToDpi(17, 0), 17) << "no DPI: 96";
    EXPECT_EQ(ScaleToDpi(1000000, 192), 2000000) << "no overflow in between";

    // The window at each scale: the 96-DPI size times the scale, within half a pixel.
    const std::int32_t widths[] = {709, 886, 1064, 1241, 1418};
    const std::int32_t heights[] = {477, 596, 716, 835, 954};
    for (std::size_t i = 0; i < std::size(kDpis); ++i) {
        EXPECT_EQ(ScaleToDpi(main_layout::kWidth, kDpis[i]), widths[i]) << kDpis[i];
        EXPECT_EQ(ScaleToDpi(main_layout::kHeight, kDpis[i]), heights[i]) << kDpis[i];
    }

    for (const std::int32_t dpi : kDpis) {
        for (std::int32_t v = -800; v <= 800; ++v) {
            const std::int32_t s = ScaleToDpi(v, dpi);
            ASSERT_LE(std::abs(s * 96.0 - v * static_cast<double>(dpi)), 48.0) << v << " at " << dpi;
            ASSERT_EQ(ScaleToDpi(-v, dpi), -s) << v << " at " << dpi;
            ASSERT_GE(ScaleToDpi(v + 1, dpi), s) << "never decreases: " << v << " at " << dpi;
            ASSERT_EQ(UnscaleFromDpi(s, dpi), v) << "measured back: " << v << " at " << dpi;
        }
    }
    EXPECT_EQ(UnscaleFromDpi(77, 144), 51);  // 51.33
    EXPECT_EQ(UnscaleFromDpi(78, 144), 52);
}

TEST(DisplayScale, AtNinetySixDpiEveryFigureStaysAsItIs) {
    for (std::int32_t v = -2000; v <= 2000; ++v) ASSERT_EQ(ScaleToDpi(v, 96), v);
    for (const Rect& r : MainWindowRects()) EXPECT_EQ(ScaleRect(r, 96), r);
    EXPECT_EQ(MenuEntryRect(4, 17, 120), (Rect{0, 72, 120, 89}));
    EXPECT_EQ(MenuLevelHeight(12, 17, 0), 216);
}

TEST(DisplayScale, RectanglesAreScaledEdgeByEdge) {
    EXPECT_EQ(ScaleRect(main_layout::kTiles[0], 144), (Rect{77, 200, 248, 357}));
    EXPECT_EQ(ScaleRect(main_layout::kClose, 192), (Rect{1364, 0, 1418, 52}));
    EXPECT_EQ(ScaleRect(main_layout::kClose, 144).right, ScaleToDpi(main_layout::kWidth, 144))
        << "the close button still ends at the window's right edge";
    EXPECT_EQ(ScalePoint(main_layout::kMenuCorner, 120), (Point{51, 494}));
}

// Neighbours at 96 DPI stay neighbours: no two controls overlap at any scale, rectangles that
// touch still touch, and a gap stays a gap of the scaled width, give or take a pixel.
TEST(DisplayScale, NeighbouringTilesNeitherOverlapNorLeaveGaps) {
    const std::vector<Rect> rects = MainWindowRects();
    for (const std::int32_t dpi : {120, 168}) {
        const double k = dpi / 96.0;
        for (std::size_t a = 0; a < rects.size(); ++a)
            for (std::size_t b = a + 1; b < rects.size(); ++b) {
                ASSERT_FALSE(Overlap(rects[a], rects[b])) << "rectangles " << a << " and " << b << " at 96 DPI";
                EXPECT_FALSE(Overlap(ScaleRect(rects[a], dpi), ScaleRect(rects[b], dpi)))
                    << "rectangles " << a << " and " << b << " at " << dpi;
            }
        // The tiles of a row and the rows of tiles: every tile and every gap has the width
        // the scale gives it, within a pixel, so the grid stays even.
        const auto& t = main_layout::kTiles;
        for (std::size_t i = 0; i < t.size(); ++i) {
            const Rect s = ScaleRect(t[i], dpi);
            EXPECT_LE(std::abs(s.width() - t[i].width() * k), 1.0) << "tile " << i << " at " << dpi;
            EXPECT_LE(std::abs(s.height() - t[i].height() * k), 1.0) << "tile " << i << " at " << dpi;
            if (i % 3 != 2) {
                const Rect next = ScaleRect(t[i + 1], dpi);
                EXPECT_EQ(next.top, s.top);
                EXPECT_GT(next.left, s.right) << "a gap between tiles " << i << " and " << i + 1;
                EXPECT_LE(std::abs((next.left - s.right) - (t[i + 1].left - t[i].right) * k), 1.0);
            }
            if (i < 3) {
                const Rect below = ScaleRect(t[i + 3], dpi);
                EXPECT_EQ(below.left, s.left);
                EXPECT_EQ(below.right, s.right);
                EXPECT_GT(below.top, s.bottom);
                EXPECT_LE(std::abs((below.top - s.bottom) - (t[i + 3].top - t[i].bottom) * k), 1.0);
            }
        }
        // Cells cut from the page sheets: the same grid, one pixel narrower than the tiles.
        for (std::size_t i = 0; i + 1 < t.size(); ++i) {
            if (i % 3 == 2) continue;
            EXPECT_GT(ScaleRect(main_layout::Cell(i + 1), dpi).left, ScaleRect(main_layout::Cell(i), dpi).right);
        }
        // The close and minimize buttons keep their one-pixel gap, reset and apply their
        // eleven pixels, scaled.
        EXPECT_GE(ScaleRect(main_layout::kClose, dpi).left - ScaleRect(main_layout::kMinimize, dpi).right, 1);
        EXPECT_LE(std::abs(ScaleRect(main_layout::kApply, dpi).left - ScaleRect(main_layout::kReset, dpi).right - 11 * k),
                  1.0);
    }
}

// Menu rows and the one-pixel line below each fill the level from top to bottom.
TEST(DisplayScale, MenuRowsAndTheirLinesFillTheLevelExactly) {
    for (const std::int32_t dpi : kDpis) {
        const double k = dpi / 96.0;
        for (const std::size_t entries : {std::size_t{6}, std::size_t{7}, std::size_t{12}}) {
            std::int32_t y = 0;
            for (std::size_t i = 0; i < entries; ++i) {
                const Rect row = MenuEntryRect(static_cast<std::int32_t>(i), 17, 240, dpi);
                EXPECT_EQ(row.top, y) << "row " << i << " at " << dpi << ": no gap, no overlap above it";
                EXPECT_LE(std::abs(row.height() - 17 * k), 1.0) << "row " << i << " at " << dpi;
                const Rect next = MenuEntryRect(static_cast<std::int32_t>(i + 1), 17, 240, dpi);
                EXPECT_GE(next.top - row.bottom, 1) << "the line below row " << i << " at " << dpi;
                y = next.top;
            }
            EXPECT_EQ(y, MenuLevelHeight(entries, 17, 0, dpi)) << "the last line ends the level at " << dpi;
        }
    }
}

TEST(DisplayScale, SubmenuOffsetsAreScaledFromTheFirstLevel) {
    SubmenuGeometry g;
    g.menu = {500, 300};
    g.menuWidth = 240;  // the 150 % first level
    g.subWidth = 276;
    g.subHeight = 324;
    g.itemHeight = 17;
    g.workArea.right = 1920;
    g.workArea.bottom = 1200;
    g.dpi = 144;
    EXPECT_EQ(PlaceSubmenu(g, 3, 7), (Point{740, 300 + 81})) << "beside entry 3, whose top is 54 x 1.5";
    g.workArea.bottom = 300 + 77 + 323;  // 17 x 3 x 1.5 = 76.5
    EXPECT_EQ(PlaceSubmenu(g, 3, 7), (Point{740, 300 - 77})) << "bottom level with the entry: (3 - 7 + 1) x 17 x 1.5";
    g.workArea.right = 500 + 240 + 275;
    EXPECT_EQ(PlaceSubmenu(g, 3, 7).x, 260);
}

TEST(DisplayScale, CaptionsAndTheFeedbackLabelKeepTheirDistancesAtEveryScale) {
    CaptionInput in;
    in.caption = u"abc";
    in.textRectSet = true;
    in.textRect = {0, 122, 110, 42};
    in.client = {0, 0, 171, 158};
    in.dpi = 144;
    CaptionPlacement p = PlaceCaption(in);
    EXPECT_EQ(p.first, (Rect{0, 183, 165, 63}));
    EXPECT_EQ(p.second, (Rect{0, 206, 165, 86})) << "line 2: 15 pixels lower at 96 DPI";
    in.textRectSet = false;
    in.offsetX = 0;
    in.dpi = 192;
    p = PlaceCaption(in);
    EXPECT_EQ(p.first.left, 2);
    EXPECT_EQ(p.second.top, 12);

    const Rect work{0, 0, 2560, 1400};
    EXPECT_EQ(FeedbackLabelPosition({100, 100}, 160, 48, work, 192), (Point{132, 144}));
    EXPECT_EQ(FeedbackLabelPosition({2500, 100}, 160, 48, work, 192), (Point{2500 - 16 - 160, 144}));
    EXPECT_EQ(FeedbackLabelPosition({100, 100}, 80, 24, work), (Point{116, 122}));
}

TEST(DisplayScale, SkinSetsTriedForADpi) {
    using V = std::vector<std::int32_t>;
    EXPECT_EQ(SkinScalesToTry(96), (V{100}));
    EXPECT_EQ(SkinScalesToTry(72), (V{100}));
    EXPECT_EQ(SkinScalesToTry(120), (V{125, 150, 175, 200, 100}));
    EXPECT_EQ(SkinScalesToTry(144), (V{150, 175, 200, 100}));
    EXPECT_EQ(SkinScalesToTry(168), (V{175, 200, 100}));
    EXPECT_EQ(SkinScalesToTry(192), (V{200, 100}));
    EXPECT_EQ(SkinScalesToTry(110), (V{125, 150, 175, 200, 100})) << "115 %: the nearest larger set first";
    EXPECT_EQ(SkinScalesToTry(216), (V{100})) << "225 %: no larger set, the 100 % set";
    EXPECT_EQ(SkinScalesToTry(0), (V{100}));
    EXPECT_EQ(SkinScaleFolder(100), u"");
    EXPECT_EQ(SkinScaleFolder(150), u"150\\");
    for (const std::int32_t percent : kSkinScales) EXPECT_EQ(DpiOfPercent(percent) * 100, percent * 96);
}

TEST(DisplayScale, APictureFromAnotherSetTakesTheSizeOfTheWantedSet) {
    // The main sheet, 709 x 477 at 96 DPI.
    EXPECT_EQ(SizeAtDpi({1064, 716}, 150, 144), (PixelSize{1064, 716})) << "the set for the DPI: as it is";
    EXPECT_EQ(SizeAtDpi({1241, 835}, 175, 144), (PixelSize{1064, 716})) << "the 175 % set scaled down";
    EXPECT_EQ(SizeAtDpi({709, 477}, 100, 144), (PixelSize{1064, 716})) << "the 100 % set scaled up";
    EXPECT_EQ(SizeAtDpi({886, 596}, 125, 110), (PixelSize{ScaleToDpi(709, 110), ScaleToDpi(477, 110)}));
    EXPECT_EQ(SizeAtDpi({709, 477}, 100, 216), (PixelSize{1595, 1073}));
    // A menu row picture of 17 pixels at every scale.
    for (const std::int32_t percent : kSkinScales)
        for (const std::int32_t dpi : kDpis)
            EXPECT_EQ(SizeAtDpi({ScaleToDpi(17, DpiOfPercent(percent)), 1}, percent, dpi).width, ScaleToDpi(17, dpi))
                << percent << " % to " << dpi;
}

}  // namespace
}  // namespace mv
