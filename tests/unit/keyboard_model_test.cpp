// The settings window from the keyboard: tab stops, arrows among tabs and tiles, and the
// function menu's keys.
#include <gtest/gtest.h>

#include "ui/gesture_pages.h"
#include "ui/keyboard_model.h"

namespace mv {
namespace {

TEST(KeyboardFocus, TabGoesRoundTheStopsAndPassesADisabledFunctionButton) {
    std::vector<FocusStop> forward{FocusStop::Tabs};
    for (int i = 0; i < 7; ++i) forward.push_back(NextFocusStop(forward.back(), false, true));
    EXPECT_EQ(forward, (std::vector<FocusStop>{FocusStop::Tabs, FocusStop::Tiles, FocusStop::FunctionButton,
                                               FocusStop::PointerSpeed, FocusStop::ProfileSelector,
                                               FocusStop::RestoreDefaults, FocusStop::Apply, FocusStop::Tabs}));
    EXPECT_EQ(NextFocusStop(FocusStop::Tabs, true, true), FocusStop::Apply);
    EXPECT_EQ(NextFocusStop(FocusStop::Tiles, false, false), FocusStop::PointerSpeed);
    EXPECT_EQ(NextFocusStop(FocusStop::PointerSpeed, true, false), FocusStop::Tiles);
}

TEST(KeyboardFocus, TabsMoveWithLeftAndRightAndCtrlTabGoesRound) {
    EXPECT_EQ(TabAfterArrow(1, Arrow::Left), 1);
    EXPECT_EQ(TabAfterArrow(1, Arrow::Right), 2);
    EXPECT_EQ(TabAfterArrow(3, Arrow::Right), 3);
    EXPECT_EQ(TabAfterArrow(2, Arrow::Down), 2);
    EXPECT_EQ(PageAfterCtrlTab(3, false), 1);
    EXPECT_EQ(PageAfterCtrlTab(1, true), 3);
    EXPECT_EQ(PageAfterCtrlTab(2, false), 3);
}

TEST(KeyboardFocus, ArrowsMoveAmongTheTilesOfThePageInRowsOfThree) {
    // Page 1: slots 0-5 (two full rows); page 2: slots 6-10 (a row of three, a row of two).
    EXPECT_EQ(TileAfterArrow(0, Arrow::Right), 1);
    EXPECT_EQ(TileAfterArrow(2, Arrow::Right), 3) << "Right runs on into the next row";
    EXPECT_EQ(TileAfterArrow(0, Arrow::Left), 0);
    EXPECT_EQ(TileAfterArrow(1, Arrow::Down), 4);
    EXPECT_EQ(TileAfterArrow(4, Arrow::Up), 1);
    EXPECT_EQ(TileAfterArrow(4, Arrow::Down), 4);
    EXPECT_EQ(TileAfterArrow(5, Arrow::Right), 5) << "never onto another page";
    EXPECT_EQ(TileAfterArrow(8, Arrow::Down), 10) << "to the last tile of a shorter row";
    EXPECT_EQ(TileAfterArrow(10, Arrow::Right), 10);
    EXPECT_EQ(TileAfterArrow(6, Arrow::Left), 6);
    for (int slot = 0; slot < kSlotCount; ++slot)
        for (Arrow a : {Arrow::Left, Arrow::Right, Arrow::Up, Arrow::Down})
            EXPECT_EQ(PageOfSlot(TileAfterArrow(slot, a)), PageOfSlot(slot)) << slot;
}

using Key = MenuKeys::Key;
using Kind = MenuKeys::Step::Kind;

TEST(MenuKeysTest, FirstLevelSecondLevelAndAPick) {
    MenuKeys menu({3, 0, 2});  // the second category has no second level
    EXPECT_EQ(menu.category(), 0);
    EXPECT_EQ(menu.Press(Key::Up), (MenuKeys::Step{Kind::Highlight, 2, -1})) << "wraps round";
    EXPECT_EQ(menu.Press(Key::Up), (MenuKeys::Step{Kind::Highlight, 1, -1}));
    EXPECT_EQ(menu.Press(Key::Right), MenuKeys::Step{}) << "nothing to open";
    EXPECT_EQ(menu.Press(Key::Down), (MenuKeys::Step{Kind::Highlight, 2, -1}));
    EXPECT_EQ(menu.Press(Key::Enter), (MenuKeys::Step{Kind::OpenLevel, 2, 0}));
    EXPECT_TRUE(menu.secondLevelOpen());
    EXPECT_EQ(menu.Press(Key::Down), (MenuKeys::Step{Kind::Highlight, 2, 1}));
    EXPECT_EQ(menu.Press(Key::Down), (MenuKeys::Step{Kind::Highlight, 2, 0}));
    EXPECT_EQ(menu.Press(Key::Left), (MenuKeys::Step{Kind::CloseLevel, 2, -1}));
    EXPECT_EQ(menu.Press(Key::Right), (MenuKeys::Step{Kind::OpenLevel, 2, 0}));
    EXPECT_EQ(menu.Press(Key::Up), (MenuKeys::Step{Kind::Highlight, 2, 1}));
    EXPECT_EQ(menu.Press(Key::Enter), (MenuKeys::Step{Kind::Pick, 2, 1}));
}

TEST(MenuKeysTest, EscapeGoesBackALevelThenCloses) {
    MenuKeys menu({2});
    menu.Press(Key::Enter);
    EXPECT_EQ(menu.Press(Key::Escape), (MenuKeys::Step{Kind::CloseLevel, 0, -1}));
    EXPECT_EQ(menu.Press(Key::Escape), (MenuKeys::Step{Kind::CloseMenu, 0, -1}));
    MenuKeys empty({});
    EXPECT_EQ(empty.Press(Key::Down), MenuKeys::Step{});
    EXPECT_EQ(empty.Press(Key::Escape).kind, Kind::CloseMenu);
}

TEST(AccessKeyTest, NamesLoseTheMarksAndKeysAreFound) {
    EXPECT_EQ(NameWithoutAccessKey(u"&Apply"), u"Apply");
    EXPECT_EQ(NameWithoutAccessKey(u"Cut && paste"), u"Cut & paste");
    EXPECT_EQ(NameWithoutAccessKey(u"应用(&A)"), u"应用") << "the bracketed key goes with its brackets";
    EXPECT_EQ(NameWithoutAccessKey(u"a (&&)"), u"a (&)") << "an escaped & in brackets is text";
    EXPECT_EQ(NameWithoutAccessKey(u"trailing &"), u"trailing ");
    EXPECT_EQ(NameWithoutAccessKey(u""), u"");
    EXPECT_EQ(WithoutAccessMarks(u"退出(&X)"), u"退出(X)");
    EXPECT_EQ(WithoutAccessMarks(u"E&xit && more"), u"Exit & more");
    EXPECT_EQ(AccessKeyOf(u"&apply"), u'A');
    EXPECT_EQ(AccessKeyOf(u"Cut && &paste"), u'P');
    EXPECT_EQ(AccessKeyOf(u"设置(&S)"), u'S');
    EXPECT_EQ(AccessKeyOf(u"no key &&"), 0);
    EXPECT_EQ(AccessKeyOf(u"end &"), 0);
}

TEST(AccessKeyTest, CaptionsDrawWithoutTheirKeyUntilTheKeyboardIsUsed) {
    EXPECT_EQ(DrawnCaption(u"&Cancel", false), u"Cancel");
    EXPECT_EQ(DrawnCaption(u"&Cancel", true), u"&Cancel");
    EXPECT_EQ(DrawnCaption(u"取消(&C)", false), u"取消") << "the bracketed key shows only with the cues";
    EXPECT_EQ(DrawnCaption(u"取消(&C)", true), u"取消(&C)");
    EXPECT_EQ(DrawnCaption(u"Cut && &paste", false), u"Cut && paste") << "an escaped & still draws as one";
    EXPECT_EQ(DrawnCaption(u"OK", false), u"OK");

    EXPECT_EQ(MarkedCaption(u"Cancel", u"&Cancel"), u"&Cancel");
    EXPECT_EQ(MarkedCaption(u"取消", u"取消(&C)"), u"取消(&C)");
    EXPECT_EQ(MarkedCaption(u"Cancel", u""), u"Cancel") << "a file without the marked text";
    EXPECT_EQ(MarkedCaption(u"Abbrechen", u"&Cancel"), u"Abbrechen") << "texts that disagree";
    EXPECT_EQ(MarkedCaption(u"Cancel", u"Cancel"), u"Cancel") << "no key marked";
}

TEST(DialogKeysTest, TabGoesRoundTheAvailableStops) {
    using C = DialogControl;
    std::vector<DialogStop> stops = {{C::Slider, 0, true}, {C::Toggle, u'P', true}, {C::Button, u'O', false},
                                     {C::Button, u'C', true}};
    EXPECT_EQ(NextDialogStop(stops, -1, false), 0) << "nothing focused: the first";
    EXPECT_EQ(NextDialogStop(stops, -1, true), 3) << "nothing focused, Shift+Tab: the last";
    EXPECT_EQ(NextDialogStop(stops, 1, false), 3) << "the disabled stop is passed";
    EXPECT_EQ(NextDialogStop(stops, 3, false), 0) << "round from the last";
    EXPECT_EQ(NextDialogStop(stops, 0, true), 3) << "round from the first";
    EXPECT_EQ(NextDialogStop(stops, 3, true), 1);
    for (auto& s : stops) s.available = false;
    EXPECT_EQ(NextDialogStop(stops, 0, false), -1);
    EXPECT_EQ(NextDialogStop({}, -1, false), -1);
}

TEST(DialogKeysTest, AccessKeysPressTheirStopPlainKeysOnlyWithoutText) {
    using C = DialogControl;
    const std::vector<DialogStop> buttons = {{C::Slider, 0, true}, {C::Toggle, u'P', true}, {C::Button, u'O', true},
                                             {C::Button, u'C', false}};
    EXPECT_EQ(DialogStopOfAccessKey(buttons, u'o', true), 2) << "any case";
    EXPECT_EQ(DialogStopOfAccessKey(buttons, u'P', false), 1) << "a plain key in a dialog without text";
    EXPECT_EQ(DialogStopOfAccessKey(buttons, u'C', true), -1) << "a disabled button";
    EXPECT_EQ(DialogStopOfAccessKey(buttons, u'X', true), -1);
    EXPECT_EQ(DialogStopOfAccessKey(buttons, 0, true), -1);
    const std::vector<DialogStop> withText = {{C::Text, 0, true}, {C::Button, u'B', true}};
    EXPECT_EQ(DialogStopOfAccessKey(withText, u'B', false), -1) << "a plain key is typed into the text";
    EXPECT_EQ(DialogStopOfAccessKey(withText, u'B', true), 1);
}

TEST(DialogKeysTest, SliderKeysStayWithinTheSlider) {
    EXPECT_EQ(SliderPositionAfter(4, 10, SliderKey::Right), 5);
    EXPECT_EQ(SliderPositionAfter(4, 10, SliderKey::Up), 5);
    EXPECT_EQ(SliderPositionAfter(4, 10, SliderKey::Left), 3);
    EXPECT_EQ(SliderPositionAfter(4, 10, SliderKey::Down), 3);
    EXPECT_EQ(SliderPositionAfter(0, 10, SliderKey::Left), 0);
    EXPECT_EQ(SliderPositionAfter(9, 10, SliderKey::Right), 9);
    EXPECT_EQ(SliderPositionAfter(4, 10, SliderKey::Home), 0);
    EXPECT_EQ(SliderPositionAfter(4, 10, SliderKey::End), 9);
    EXPECT_EQ(SliderPositionAfter(8, 10, SliderKey::PageUp), 9);
    EXPECT_EQ(SliderPositionAfter(2, 10, SliderKey::PageDown), 0);
    EXPECT_EQ(SliderPositionAfter(3, 0, SliderKey::Right), 0);
}

}  // namespace
}  // namespace mv
