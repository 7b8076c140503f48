// Placement arithmetic: centring, submenu rooms, caption lines, pointer speed.
#include <gtest/gtest.h>

#include "ui/layout.h"

namespace mv {
namespace {

TEST(Layout, CentresInTheFullScreenClientArea) {
    EXPECT_EQ(CentreInFullScreen(720, 480, 1280, 994), (Point{280, 257}));
    EXPECT_EQ(CentreInFullScreen(709, 477, 1280, 994), (Point{285, 258}));
    EXPECT_EQ(CentreInFullScreen(0, 0, 1280, 994), (Point{640, 497}));
    EXPECT_EQ(CentreInFullScreen(1401, 1000, 1280, 994), (Point{-60, -3})) << "truncates toward zero";
}

TEST(Layout, SubmenuOpensWhereThereIsRoom) {
    SubmenuGeometry g;
    g.menu = {500, 300};
    g.menuWidth = 120;
    g.subWidth = 150;
    g.subHeight = 200;
    g.itemHeight = 17;
    g.workArea.right = 1280;
    g.workArea.bottom = 994;
    EXPECT_EQ(PlaceSubmenu(g, 3, 6), (Point{620, 300 + 18 * 3})) << "right, top level with the entry";

    g.workArea.bottom = 300 + 17 * 3 + 199;
    EXPECT_EQ(PlaceSubmenu(g, 3, 6), (Point{620, 300 + (3 - 6 + 1) * 17})) << "right, bottom level";

    g.workArea.right = 500 + 120 + 149;
    EXPECT_EQ(PlaceSubmenu(g, 3, 6), (Point{380, 300 - 2 * 17})) << "left, bottom level";

    g.workArea.bottom = 994;
    EXPECT_EQ(PlaceSubmenu(g, 3, 6), (Point{380, 300 + 17 * 3})) << "left, top level";

    // Exactly at the edge still counts as room.
    g.workArea.right = 500 + 120 + 150;
    g.workArea.bottom = 300 + 17 * 3 + 200;
    EXPECT_EQ(PlaceSubmenu(g, 3, 6), (Point{620, 354}));

}

TEST(Layout, SubmenuJudgesTheWorkAreaOfItsMonitorWithSignedCoordinates) {
    SubmenuGeometry g;
    g.menuWidth = 120;
    g.subWidth = 150;
    g.subHeight = 200;
    g.itemHeight = 17;
    // A monitor left of the primary, its taskbar at the bottom.
    g.workArea = {-1920, 0, 0, 1040};
    g.menu = {-400, 300};
    EXPECT_EQ(PlaceSubmenu(g, 0, 2), (Point{-280, 300})) << "room on the right within the left monitor";
    g.menu = {-200, 300};
    EXPECT_EQ(PlaceSubmenu(g, 0, 2).x, -320) << "-200 + 120 + 150 passes the monitor's right edge at 0";
    // A monitor above the primary.
    g.workArea = {0, -1080, 1920, 0};
    g.menu = {500, -400};
    EXPECT_EQ(PlaceSubmenu(g, 3, 6), (Point{620, -400 + 18 * 3})) << "room below within the upper monitor";
    g.menu = {500, -220};
    EXPECT_EQ(PlaceSubmenu(g, 3, 6), (Point{620, -220 + (3 - 6 + 1) * 17})) << "no room below: bottom level";
    // The primary's taskbar: the work area, not the screen, decides.
    g.workArea = {0, 0, 1920, 1040};
    g.menu = {500, 800};
    EXPECT_EQ(PlaceSubmenu(g, 3, 6).y, 800 + (3 - 6 + 1) * 17) << "800 + 51 + 200 would reach under the taskbar";
}

TEST(Layout, WindowsAreKeptInsideTheWorkArea) {
    const Rect primary{0, 0, 1920, 1040}, left{-1280, -200, 0, 824}, above{0, -1080, 1920, 0};
    EXPECT_EQ(KeepInside({100, 100, 809, 577}, primary), (Rect{100, 100, 809, 577})) << "inside: unmoved";
    EXPECT_EQ(KeepInside({1500, 900, 2209, 1377}, primary), (Rect{1211, 563, 1920, 1040})) << "off right and below";
    EXPECT_EQ(KeepInside({-50, -30, 659, 447}, primary), (Rect{0, 0, 709, 477})) << "off left and above";
    EXPECT_EQ(KeepInside({3000, 3000, 3709, 3477}, primary), (Rect{1211, 563, 1920, 1040}))
        << "on a monitor since unplugged";
    EXPECT_EQ(KeepInside({-1500, -500, -791, -23}, left), (Rect{-1280, -200, -571, 277})) << "left monitor";
    EXPECT_EQ(KeepInside({100, -100, 809, 377}, above), (Rect{100, -477, 809, 0})) << "upper monitor";
    EXPECT_EQ(KeepInside({500, 500, 2500, 2000}, primary), (Rect{0, 0, 2000, 1500}))
        << "larger than the area: its top-left corner in it";
}

TEST(Layout, DialogsCentreOverTheirWindowInsideTheWorkArea) {
    const Rect primary{0, 0, 1920, 1040}, left{-1280, 0, 0, 1024};
    EXPECT_EQ(CentreOver({400, 300, 1109, 777}, 259, 154, primary), (Rect{625, 461, 884, 615}));
    EXPECT_EQ(CentreOver({-1000, 100, -291, 577}, 259, 154, left), (Rect{-775, 261, -516, 415}))
        << "over a window on a monitor left of the primary";
    EXPECT_EQ(CentreOver({1800, 900, 2509, 1377}, 259, 154, primary), (Rect{1661, 886, 1920, 1040}))
        << "a window partly off the area: the dialog stays in";
}

TEST(Layout, TwoLineCaptionsSplitAfterEightUnits) {
    auto s = SplitCaption(u"\u4E09\u6307\u5411\u4E0B\u6ED1\u52A8\u6253\u5F00\u684C\u9762", 5, 0);
    EXPECT_TRUE(s.twoLines);
    EXPECT_EQ(s.first.size(), 8u);
    EXPECT_EQ(s.rest, u"\u684C\u9762");

    s = SplitCaption(u"12345", 5, 0);  // threshold 0: two-line mode, everything on line 1
    EXPECT_TRUE(s.twoLines);
    EXPECT_EQ(s.first, u"12345");
    EXPECT_EQ(s.rest, u"");

    s = SplitCaption(u"1234567", 5, 7);  // not longer than the threshold: one line
    EXPECT_FALSE(s.twoLines);
    EXPECT_EQ(s.first, u"1234567");

    s = SplitCaption(u"Scroll up", 5, 0);  // words: broken at the space, never inside a word
    EXPECT_EQ(s.first, u"Scroll");
    EXPECT_EQ(s.rest, u"up");
    s = SplitCaption(u"Three-finger swipe left", 5, 0);
    EXPECT_EQ(s.first, u"Three-finger");
    EXPECT_EQ(s.rest, u"swipe left");
    s = SplitCaption(u"Two taps", 5, 0);  // eight units fit on one line
    EXPECT_EQ(s.first, u"Two taps");
    EXPECT_EQ(s.rest, u"");

    s = SplitCaption(u"123456789", 7, 7);
    EXPECT_TRUE(s.twoLines);
    EXPECT_EQ(s.first, u"12345678");
    EXPECT_EQ(s.rest, u"9");

    EXPECT_TRUE(SplitCaption(u"123456789", 6, 7).twoLines) << "bit 4 of 6 is set";
    EXPECT_FALSE(SplitCaption(u"123456789", 1, 0).twoLines);
    EXPECT_FALSE(SplitCaption(u"123456789", 3, 0).twoLines);

    // A pair of surrogates across the cut stays whole on line 2.
    s = SplitCaption(u"1234567\U0001F600xy", 4, 0);
    EXPECT_EQ(s.first, u"1234567");
    EXPECT_EQ(s.rest, u"\U0001F600xy");
}

TEST(Layout, PointerSpeedAndStepFromTheRegistry) {
    EXPECT_EQ(RegistrySpeedFromSensitivity(u"10"), 10);
    EXPECT_EQ(RegistrySpeedFromSensitivity(u"100"), 10);
    EXPECT_EQ(RegistrySpeedFromSensitivity(u"7"), 7);
    EXPECT_EQ(RegistrySpeedFromSensitivity(u"20"), 20);
    EXPECT_EQ(RegistrySpeedFromSensitivity(u""), 0);

    EXPECT_EQ(SpeedStepForRegistrySpeed(10), 5);
    EXPECT_EQ(SpeedStepForRegistrySpeed(1), 0);
    EXPECT_EQ(SpeedStepForRegistrySpeed(20), 9);
    EXPECT_EQ(SpeedStepForRegistrySpeed(-4), 0);
}

}  // namespace
}  // namespace mv
