// Horizontal scrolling: the class table, the four treatments and the search for
// the scroll bar of a window on small fake window trees.
#include <gtest/gtest.h>

#include "actions/find_scroll_bar.h"
#include "actions/input_codes.h"
#include "support/fake_platform.h"

namespace mv {
namespace {

using Lines = std::vector<std::string>;

constexpr WindowHandle kTop = 0x100;
constexpr WindowHandle kBar = 0x200;
constexpr std::uint32_t kHScroll = 0x00100000;

class Scroll : public ::testing::Test {
protected:
    // A top-level window of `className` under the pointer at (100, 100), with a
    // horizontal scroll bar along its bottom edge.
    void windowWithBar(const std::u16string& className, std::uint32_t style = 0) {
        p.addWindow(kTop, 0, className, {0, 0, 400, 300}, style);
        p.addWindow(kBar, kTop, u"ScrollBar", {0, 280, 380, 300});
        p.defaultWindowAtPoint = kTop;
    }
    WindowHandle find(WindowHandle window) {
        CFindScrollBar finder(p, p.cursor);
        return finder.FindScrollTarget(window);
    }
    static Lines times(int n, const Lines& step) {
        Lines out;
        for (int i = 0; i < n; ++i) out.insert(out.end(), step.begin(), step.end());
        return out;
    }

    test::FakeActions a;
    test::FakePlatform& p = a.platform;
    Lines& log = a.platform.log;
};

TEST_F(Scroll, ScrollBarClassesPostLineStepsToTheBarsParent) {
    const char16_t* classes[] = {u"_WwG",   u"paneClassDC", u"VISIOG",   u"PSViewC",  u"EditControl",
                                 u"FrontPageEditorDocumentView", u"AVL_AVView", u"OGrid", u"OFormSub",
                                 u"OPrtPrevPage"};
    for (const char16_t* name : classes) {
        test::FakeActions fresh;
        a.platform = fresh.platform;
        windowWithBar(name);
        a.function.ScrollHorizontal(+3);
        Lines expected{"debug ClassName:" + test::Utf8(name)};
        const Lines step = times(3, {"post 100 114 0 200"});
        expected.insert(expected.end(), step.begin(), step.end());
        EXPECT_EQ(log, expected) << test::Utf8(name);
        log.clear();
        a.function.ScrollHorizontal(-2);
        EXPECT_EQ(log, (Lines{"debug ClassName:" + test::Utf8(name), "post 100 114 1 200", "post 100 114 1 200"}));
    }
}

TEST_F(Scroll, ClassNamesMatchExactlyAndCaseSensitively) {
    windowWithBar(u"excel7", kHScroll);  // not "EXCEL7": the window-messages treatment
    a.function.ScrollHorizontal(+1);
    EXPECT_EQ(log, (Lines{"debug ClassName:excel7", "post 100 114 0 0"}));
}

TEST_F(Scroll, ExcelClicksTheArrowsAndPutsThePointerBack) {
    windowWithBar(u"EXCEL7");
    a.function.ScrollHorizontal(+3);
    EXPECT_EQ(log, (Lines{"debug ClassName:EXCEL7", "setcursor 5 285", "mouse 8002 data=0 extra=0 dx=5 dy=285",
                          "mouse 8004 data=0 extra=0 dx=5 dy=285", "mouse 8002 data=0 extra=0 dx=5 dy=285",
                          "mouse 8004 data=0 extra=0 dx=5 dy=285", "mouse 8002 data=0 extra=0 dx=5 dy=285",
                          "mouse 8004 data=0 extra=0 dx=5 dy=285", "setcursor 100 100"}));

    log.clear();
    p.swappedButtons = true;
    p.extraInfo = 0x1234;  // arrow clicks pass 0, not the message extra information
    a.function.ScrollHorizontal(-1);
    EXPECT_EQ(log, (Lines{"debug ClassName:EXCEL7", "setcursor 375 285", "mouse 8008 data=0 extra=0 dx=375 dy=285",
                          "mouse 8010 data=0 extra=0 dx=375 dy=285", "setcursor 100 100"}));
}

TEST_F(Scroll, BrowsersGetArrowKeysWithoutAnySearch) {
    for (const char16_t* name : {u"MozillaWindowClass", u"Chrome_RenderWidgetHostHWND", u"OperaWindowClass"}) {
        test::FakeActions fresh;
        a.platform = fresh.platform;
        p.classNames[kTop] = name;  // no tree at all: a search would find nothing
        p.defaultWindowAtPoint = kTop;
        a.function.ScrollHorizontal(+3);
        Lines expected{"debug ClassName:" + test::Utf8(name)};
        const Lines step = times(3, {"post 100 100 25 14B0001", "post 100 101 25 C14B0001"});
        expected.insert(expected.end(), step.begin(), step.end());
        EXPECT_EQ(log, expected);
        log.clear();
        a.function.ScrollHorizontal(-1);
        EXPECT_EQ(log, (Lines{"debug ClassName:" + test::Utf8(name), "post 100 100 27 14D0001",
                              "post 100 101 27 C14D0001"}));
    }
}

TEST_F(Scroll, UnlistedWindowWithHScrollPostsLeftAndSendsRight) {
    p.addWindow(kTop, 0, u"MyGrid", {0, 0, 400, 300}, kHScroll);
    p.defaultWindowAtPoint = kTop;
    a.function.ScrollHorizontal(+3);
    EXPECT_EQ(log, (Lines{"debug ClassName:MyGrid", "post 100 114 0 0", "post 100 114 0 0", "post 100 114 0 0"}));
    log.clear();
    a.function.ScrollHorizontal(-3);
    EXPECT_EQ(log, (Lines{"debug ClassName:MyGrid", "send 100 114 1 0", "send 100 114 1 0", "send 100 114 1 0"}));
}

TEST_F(Scroll, UnlistedWindowWithABarChildStillMessagesThePointerWindow) {
    windowWithBar(u"MyView");
    a.function.ScrollHorizontal(+1);
    EXPECT_EQ(log, (Lines{"debug ClassName:MyView", "post 100 114 0 0"}));
}

// After both debugger lines, the last resort: one horizontal wheel notch per step, leftwards
// negative, each with the extra information of the moment; no window message.
TEST_F(Scroll, NothingToScrollWritesTheSecondDebugLineThenTurnsTheHorizontalWheel) {
    p.addWindow(kTop, 0, u"Plain", {0, 0, 400, 300});
    p.defaultWindowAtPoint = kTop;
    p.extraInfo = 0x5A;
    a.function.ScrollHorizontal(+3);
    EXPECT_EQ(log, (Lines{"debug ClassName:Plain", "debug No scroll bar found\\n", "mouse 1000 data=-120 extra=5A",
                          "mouse 1000 data=-120 extra=5A", "mouse 1000 data=-120 extra=5A"}));
    log.clear();
    a.function.ScrollHorizontal(-2);
    EXPECT_EQ(log, (Lines{"debug ClassName:Plain", "debug No scroll bar found\\n", "mouse 1000 data=120 extra=5A",
                          "mouse 1000 data=120 extra=5A"}));

    // A listed class whose scroll bar is missing ends the same way.
    test::FakeActions fresh;
    a.platform = fresh.platform;
    p.addWindow(kTop, 0, u"EXCEL7", {0, 0, 400, 300});
    p.defaultWindowAtPoint = kTop;
    a.function.ScrollHorizontal(-1);
    EXPECT_EQ(log, (Lines{"debug ClassName:EXCEL7", "debug No scroll bar found\\n", "mouse 1000 data=120 extra=0"}));
}

TEST_F(Scroll, DesktopIconsAndTheDesktopAreLeftAlone) {
    p.addWindow(0x300, 0, u"Progman", {0, 0, 1280, 1024});
    p.addWindow(0x310, 0x300, u"SHELLDLL_DefView", {0, 0, 1280, 1024});
    p.addWindow(0x320, 0x310, u"SysListView32", {0, 0, 1280, 1024}, kHScroll);
    p.defaultWindowAtPoint = 0x320;
    a.function.ScrollHorizontal(+3);
    EXPECT_EQ(log, (Lines{"debug ClassName:SysListView32"}));

    log.clear();
    p.classNames[p.desktop] = u"#32769";
    p.styles[p.desktop] = kHScroll;
    p.defaultWindowAtPoint = p.desktop;
    a.function.ScrollHorizontal(-3);
    EXPECT_EQ(log, (Lines{"debug ClassName:#32769"}));

    // A list view anywhere else scrolls like any other window.
    log.clear();
    p.addWindow(0x400, 0, u"CabinetWClass", {0, 0, 800, 600});
    p.addWindow(0x410, 0x400, u"SysListView32", {0, 0, 800, 600}, kHScroll);
    p.defaultWindowAtPoint = 0x410;
    a.function.ScrollHorizontal(+1);
    EXPECT_EQ(log, (Lines{"debug ClassName:SysListView32", "post 410 114 0 0"}));
}

TEST_F(Scroll, InternetExplorerDocumentScrollsByTenPixelsPerStep) {
    p.addWindow(kTop, 0, u"Internet Explorer_Server", {0, 0, 400, 300});
    p.defaultWindowAtPoint = kTop;
    const Lines left = {"coinit", "loadlib OLEACC.DLL", "register WM_HTML_GETOBJECT",
                        "sendtimeout 100 C0DE 0 0 flags=2 timeout=1000", "scrollby 7C800000 4711 -10 0",
                        "freelib 7C800000", "couninit"};
    a.function.ScrollHorizontal(+2);
    Lines expected{"debug ClassName:Internet Explorer_Server"};
    const Lines steps = times(2, left);
    expected.insert(expected.end(), steps.begin(), steps.end());
    EXPECT_EQ(log, expected);

    // scrollBy refused: one line step instead.
    log.clear();
    p.documentScroll = DocumentScroll::Refused;
    a.function.ScrollBrowserDocument(false);
    EXPECT_EQ(log, (Lines{"coinit", "loadlib OLEACC.DLL", "register WM_HTML_GETOBJECT",
                          "sendtimeout 100 C0DE 0 0 flags=2 timeout=1000", "scrollby 7C800000 4711 10 0",
                          "send 100 114 1 0", "freelib 7C800000", "couninit"}));

    // No document: the step ends silently.
    log.clear();
    p.documentScroll = DocumentScroll::Unavailable;
    a.function.ScrollBrowserDocument(true);
    EXPECT_EQ(log.size(), 7u);
    EXPECT_EQ(std::count(log.begin(), log.end(), "send 100 114 0 0"), 0);

    // A document of a process below our integrity level is never asked for.
    log.clear();
    p.lowerIntegrity.insert(kTop);
    a.function.ScrollBrowserDocument(true);
    EXPECT_EQ(log, (Lines{"coinit", "loadlib OLEACC.DLL", "freelib 7C800000", "couninit"}));
    p.lowerIntegrity.clear();

    // No accessibility module: COM is released again and nothing else happens.
    log.clear();
    p.libraries["OLEACC.DLL"] = 0;
    a.function.ScrollBrowserDocument(true);
    EXPECT_EQ(log, (Lines{"coinit", "loadlib OLEACC.DLL", "couninit"}));
}

TEST_F(Scroll, TallOrPassedScrollBarsAreNeverChosen) {
    p.addWindow(kTop, 0, u"_WwG", {0, 0, 400, 300});
    p.addWindow(0x210, kTop, u"ScrollBar", {380, 0, 400, 280});  // taller than wide
    p.addWindow(0x220, kTop, u"NUIScrollbar", {0, 280, 90, 300});  // ends left of the pointer
    p.defaultWindowAtPoint = kTop;
    EXPECT_EQ(find(kTop), 0u);
    a.function.ScrollHorizontal(+1);
    EXPECT_EQ(log, (Lines{"debug ClassName:_WwG", "debug No scroll bar found\\n", "mouse 1000 data=-120 extra=0"}));

    p.addWindow(0x230, kTop, u"NUIScrollbar", {0, 280, 380, 300});
    EXPECT_EQ(find(kTop), 0x230u);
}

TEST_F(Scroll, TheWindowItselfOrTheChildUnderThePointerComesFirst) {
    p.addWindow(kTop, 0, u"_WwG", {0, 0, 400, 300}, kHScroll);
    p.addWindow(kBar, kTop, u"ScrollBar", {0, 280, 380, 300});
    EXPECT_EQ(find(kTop), kTop);

    // A child under the pointer that scrolls wins over the window.
    p.addWindow(0x120, 0, u"Frame", {0, 0, 400, 300});
    p.addWindow(0x121, 0x120, u"Pane", {50, 50, 200, 200}, kHScroll);
    p.addWindow(0x122, 0x120, u"ScrollBar", {0, 280, 380, 300});
    EXPECT_EQ(find(0x120), 0x121u);

    // Over a "ScrollBar" child itself, only that bar counts.
    p.cursor = {100, 290};
    EXPECT_EQ(find(0x120), 0x122u);
    p.cursor = {10, 290};
    p.rects[0x122] = {0, 200, 20, 300};
    EXPECT_EQ(find(0x120), 0u);
}

TEST_F(Scroll, WrapperScrollBarsYieldTheirHorizontalChild) {
    p.addWindow(kTop, 0, u"AVL_AVView", {0, 0, 400, 300});
    p.addWindow(0x110, kTop, u"AVL_AVPageView", {0, 0, 380, 280});
    p.addWindow(0x120, kTop, u"AVL_AVScrollBar", {380, 0, 400, 280});
    p.addWindow(0x121, 0x120, u"ScrollBar", {380, 0, 400, 280}, kSbsVert);
    p.addWindow(0x130, kTop, u"AVL_AVScrollBar", {0, 280, 380, 300});
    p.addWindow(0x131, 0x130, u"ScrollBar", {0, 280, 380, 300});
    p.defaultWindowAtPoint = kTop;
    EXPECT_EQ(find(kTop), 0x131u);
    // The wrapper's child is taken even when its shape alone would not qualify.
    p.rects[0x131] = {0, 280, 10, 300};
    EXPECT_EQ(find(kTop), 0x131u);
    a.function.ScrollHorizontal(+1);
    EXPECT_EQ(log, (Lines{"debug ClassName:AVL_AVView", "post 130 114 0 131"}));

    // Vertical and size-box children do not count.
    p.styles[0x131] = kSbsSizeBox;
    EXPECT_EQ(find(kTop), 0u);
}

TEST_F(Scroll, PreviousAfxSiblingsAreSearchedOneLevelDown) {
    for (const char16_t* afx : {u"AfxWnd70", u"AfxWnd42"}) {
        test::FakeActions fresh;
        a.platform = fresh.platform;
        p.addWindow(0x100, 0, u"Frame", {0, 0, 800, 600});
        p.addWindow(0x110, 0x100, afx, {0, 0, 800, 600});
        p.addWindow(0x111, 0x110, u"Panel", {0, 0, 800, 580});
        p.addWindow(0x112, 0x110, u"ScrollBar", {0, 580, 780, 600});
        p.addWindow(0x120, 0x100, u"_WwG", {0, 0, 800, 580});
        EXPECT_EQ(find(0x120), 0x112u) << test::Utf8(afx);
    }
    // Only the backward pass descends: the same container after the window is not entered.
    p.addWindow(0x200, 0, u"Frame", {0, 0, 800, 600});
    p.addWindow(0x210, 0x200, u"_WwG", {0, 0, 800, 580});
    p.addWindow(0x220, 0x200, u"AfxWnd70", {0, 0, 800, 600});
    p.addWindow(0x221, 0x220, u"ScrollBar", {0, 580, 780, 600});
    EXPECT_EQ(find(0x210), 0u);
}

TEST_F(Scroll, NestedAfxContainersAreEnteredThroughTheirFirstChild) {
    // AfxWnd70 > AfxWnd42 (scrolling by its style) is found; the descent
    // continues into a nested container only where the first child qualifies
    // itself, since a first child has no previous siblings to walk back over.
    p.addWindow(0x100, 0, u"Frame", {0, 0, 800, 600});
    p.addWindow(0x110, 0x100, u"AfxWnd70", {0, 0, 800, 600});
    p.addWindow(0x111, 0x110, u"AfxWnd42", {0, 0, 800, 600}, kHScroll);
    p.addWindow(0x112, 0x111, u"ScrollBar", {0, 580, 780, 600});
    p.addWindow(0x120, 0x100, u"_WwG", {0, 0, 800, 580});
    EXPECT_EQ(find(0x120), 0x111u);
    p.styles.erase(0x111);
    EXPECT_EQ(find(0x120), 0u);
}

TEST_F(Scroll, DirectUiSearchesTheFirstTwoChildren) {
    p.addWindow(0x100, 0, u"DirectUIHWND", {0, 0, 800, 600});
    p.addWindow(0x110, 0x100, u"CtrlNotifySink", {0, 0, 10, 10});
    p.addWindow(0x111, 0x110, u"Button", {0, 0, 10, 10});
    p.addWindow(0x120, 0x100, u"CtrlNotifySink", {0, 500, 800, 600});
    p.addWindow(0x121, 0x120, u"NUIScrollbar", {0, 580, 780, 600});
    p.cursor = {100, 100};  // over no child: the window itself is the hit window
    EXPECT_EQ(find(0x100), 0x121u);
}

TEST_F(Scroll, MozillaChildHandsOverToItsParent) {
    p.addWindow(0x100, 0, u"GeckoFrame", {0, 0, 800, 600});
    p.addWindow(0x110, 0x100, u"MozillaWindowClass", {0, 0, 800, 600});
    EXPECT_EQ(find(0x100), 0x100u);
}

TEST_F(Scroll, PaneWindowsEnumerateBarsWithinTwentyFivePixels) {
    // The pane sits at 100..500; its bars live one level down in a sibling container.
    p.addWindow(0x100, 0, u"Frame", {0, 0, 800, 600});
    p.addWindow(0x110, 0x100, u"paneClassDC", {100, 0, 500, 400});
    p.addWindow(0x120, 0x100, u"Container", {0, 400, 800, 600});
    p.addWindow(0x121, 0x120, u"ScrollBar", {74, 400, 400, 420});   // left edge 26 px out
    p.addWindow(0x122, 0x120, u"ScrollBar", {110, 420, 526, 440});  // right edge 26 px out
    p.addWindow(0x123, 0x120, u"ScrollBar", {80, 440, 100, 600});   // tall
    p.addWindow(0x124, 0x120, u"NUIScrollbar", {75, 440, 525, 460});
    p.addWindow(0x125, 0x120, u"ScrollBar", {100, 460, 500, 480});  // also fits, but later
    p.cursor = {200, 100};
    p.defaultWindowAtPoint = 0x110;
    EXPECT_EQ(find(0x110), 0x124u);
    EXPECT_EQ(EnumScrollBarBounds, (Rect{100, 0, 500, 400}));
    a.function.ScrollHorizontal(+1);
    EXPECT_EQ(log, (Lines{"debug ClassName:paneClassDC", "post 120 114 0 124"}));

    // The pointer must be left of the bar's right edge.
    p.cursor = {600, 100};
    EXPECT_EQ(find(0x110), 0u);
    // Other classes never enumerate.
    p.cursor = {200, 100};
    p.classNames[0x110] = u"_WwG";
    EXPECT_EQ(find(0x110), 0u);
    p.classNames[0x110] = u"VISIOG";
    EXPECT_EQ(find(0x110), 0x124u);
}

TEST_F(Scroll, ScrollBarMessagesNeverGoToAMissingParent) {
    p.addWindow(kTop, 0, u"_WwG", {0, 0, 400, 300}, kHScroll);  // top level: no parent to tell
    p.defaultWindowAtPoint = kTop;
    a.function.ScrollHorizontal(+3);
    EXPECT_EQ(log, (Lines{"debug ClassName:_WwG"}));
}

TEST_F(Scroll, ZeroStepsDoNothing) {
    windowWithBar(u"_WwG");
    a.function.ScrollHorizontal(0);
    EXPECT_TRUE(log.empty());
}

TEST(ScrollWindows, DesktopListViewNeedsAProgmanAncestor) {
    test::FakePlatform p;
    p.addWindow(0x10, 0, u"Progman", {});
    p.addWindow(0x11, 0x10, u"SHELLDLL_DefView", {});
    p.addWindow(0x12, 0x11, u"SysListView32", {});
    p.addWindow(0x20, 0, u"WorkerW", {});
    p.addWindow(0x21, 0x20, u"SysListView32", {});
    EXPECT_TRUE(IsDesktopListView(p, 0x12));
    EXPECT_FALSE(IsDesktopListView(p, 0x21));
    EXPECT_FALSE(IsDesktopListView(p, 0x10));  // the Progman window itself is no descendant
    EXPECT_FALSE(IsScrollableWindow(p, 0x12));
    EXPECT_TRUE(IsScrollableWindow(p, 0x21));
    EXPECT_TRUE(IsScrollableWindow(p, 0x11));
    EXPECT_FALSE(IsScrollableWindow(p, 0));
    EXPECT_FALSE(IsScrollableWindow(p, p.desktop));
}

}  // namespace
}  // namespace mv
