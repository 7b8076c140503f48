// The page rule of the settings window: pages and cells of the slots, the tabs' caption
// rectangles, and which gesture the function button edits after a page switch.
#include <gtest/gtest.h>

#include <vector>

#include "ui/gesture_pages.h"

namespace mv {
namespace {

TEST(GesturePages, SlotsFillTheirPagesRowByRow) {
    std::vector<int> pages, cells;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        pages.push_back(PageOfSlot(slot));
        cells.push_back(CellOfSlot(slot));
    }
    EXPECT_EQ(pages, (std::vector<int>{1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3}));
    EXPECT_EQ(cells, (std::vector<int>{0, 1, 2, 3, 4, 5, 0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(FirstSlotOfPage(1), 0);
    EXPECT_EQ(FirstSlotOfPage(2), 6);
    EXPECT_EQ(FirstSlotOfPage(3), 11);
    EXPECT_EQ(PageOfSlot(17), 0);
    EXPECT_EQ(PageOfSlot(-1), 0);
}

TEST(GesturePages, TheShownTabsCaptionIsOnePixelHigher) {
    EXPECT_EQ(TabTextRect(1), (Rect{30, 10, 90, 30}));
    EXPECT_EQ(TabTextRect(2), (Rect{30, 10, 110, 30}));
    EXPECT_EQ(TabTextRect(3), (Rect{30, 10, 90, 30}));
    EXPECT_EQ(TabTextRectAfterSwitch(1, 1), (Rect{30, 9, 90, 29}));
    EXPECT_EQ(TabTextRectAfterSwitch(2, 1), (Rect{30, 10, 110, 30}));
    EXPECT_EQ(TabTextRectAfterSwitch(2, 2), (Rect{30, 9, 110, 29}));
    EXPECT_EQ(TabTextRectAfterSwitch(3, 2), (Rect{30, 10, 90, 30}));
}

TEST(GesturePages, ASwitchSelectsTheGestureLastSelectedOnThatPage) {
    GesturePages pages;
    EXPECT_EQ(pages.currentSlot(), 0);
    EXPECT_EQ(pages.shownPage(), 1);
    pages.select(1);
    // Page 3 was never visited: its first gesture.
    EXPECT_EQ(pages.switchTo(3), 11);
    pages.select(pages.switchTo(3));
    pages.select(13);
    EXPECT_EQ(pages.switchTo(2), 6);
    pages.select(6);
    // Back to page 1: the gesture selected there before, not the hidden one from page 3.
    EXPECT_EQ(pages.switchTo(1), 1);
    pages.select(1);
    EXPECT_EQ(pages.switchTo(3), 13);
    // An unknown page changes nothing.
    EXPECT_EQ(pages.switchTo(4), pages.currentSlot());
    EXPECT_EQ(pages.shownPage(), 3);
}

TEST(GesturePages, TheFunctionButtonNeverEditsAGestureOffThePage) {
    GesturePages pages;
    EXPECT_FALSE(pages.functionButtonEnabled()) << "slot 0 has no function menu";
    pages.select(1);
    EXPECT_TRUE(pages.functionButtonEnabled());
    for (int slot : {2, 3}) {
        pages.select(slot);
        EXPECT_FALSE(pages.functionButtonEnabled()) << slot;
    }
    pages.select(1);
    // Shown page changed without a selection: slot 1's tile is hidden, so no editing.
    pages.switchTo(3);
    EXPECT_FALSE(pages.slotShown(1));
    EXPECT_FALSE(pages.functionButtonEnabled());
    pages.select(16);
    EXPECT_FALSE(pages.functionButtonEnabled()) << "slot 16 has no function menu";
    pages.select(15);
    EXPECT_TRUE(pages.functionButtonEnabled());
    pages.select(99);
    EXPECT_EQ(pages.currentSlot(), 15);
}

}  // namespace
}  // namespace mv
