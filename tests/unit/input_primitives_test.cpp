// Exact event sequences of the pointer, wheel, key and shortcut primitives.
#include <gtest/gtest.h>

#include "actions/input_codes.h"
#include "support/fake_platform.h"

namespace mv {
namespace {

using Lines = std::vector<std::string>;

class InputPrimitives : public ::testing::Test {
protected:
    test::FakeActions a;
    Lines& log = a.platform.log;
};

TEST_F(InputPrimitives, ClicksAreDownThenUpWithZeroCoordinatesAndFreshExtraInfo) {
    a.platform.extraInfo = 0xFF515700;
    a.function.SendLeftClick();
    a.function.SendRightClick();
    a.function.SendMiddleClick();
    EXPECT_EQ(log, (Lines{"mouse 2 data=0 extra=FF515700", "mouse 4 data=0 extra=FF515700",
                          "mouse 8 data=0 extra=FF515700", "mouse 10 data=0 extra=FF515700",
                          "mouse 20 data=0 extra=FF515700", "mouse 40 data=0 extra=FF515700"}));
}

TEST_F(InputPrimitives, XButtonsDifferOnlyInTheDataWord) {
    a.function.SendXButton1Click();
    a.function.SendXButton2Click();
    EXPECT_EQ(log, (Lines{"mouse 80 data=1 extra=0", "mouse 100 data=1 extra=0", "mouse 80 data=2 extra=0",
                          "mouse 100 data=2 extra=0"}));
}

TEST_F(InputPrimitives, DoubleClickIsFourEventsWithoutPause) {
    a.function.SendDoubleClick();
    EXPECT_EQ(log, (Lines{"mouse 2 data=0 extra=0", "mouse 4 data=0 extra=0", "mouse 2 data=0 extra=0",
                          "mouse 4 data=0 extra=0"}));
}

TEST_F(InputPrimitives, WheelSendsExactlyOneNotch) {
    a.function.SendWheel(120);
    a.function.SendWheel(-120);
    EXPECT_EQ(log, (Lines{"mouse 800 data=120 extra=0", "mouse 800 data=-120 extra=0"}));
}

TEST_F(InputPrimitives, TapKeyIsExtendedDownAndUp) {
    a.function.TapKey(kVkVolumeUp);
    EXPECT_EQ(log, (Lines{"key AF 1", "key AF 3"}));
}

TEST_F(InputPrimitives, EditingShortcutsHoldCtrlAroundTheirLetter) {
    struct Case {
        void (CFunction::*op)();
        const char* letter;
    };
    const Case cases[] = {{&CFunction::SendCut, "58"},       {&CFunction::SendCopy, "43"},
                          {&CFunction::SendPaste, "56"},     {&CFunction::SendSelectAll, "41"},
                          {&CFunction::SendFind, "46"},      {&CFunction::SendNew, "4E"},
                          {&CFunction::SendPrint, "50"},     {&CFunction::SendSave, "53"}};
    for (const auto& c : cases) {
        log.clear();
        (a.function.*c.op)();
        const std::string k = c.letter;
        EXPECT_EQ(log, (Lines{"key 11 1", "key " + k + " 1", "key " + k + " 3", "key 11 3"})) << k;
    }
}

TEST_F(InputPrimitives, ShortcutReleasesModifiersInReverseOrder) {
    a.function.SendShortcut({kVkLControl, kVkLWin}, kVkBack);
    EXPECT_EQ(log, (Lines{"key A2 1", "key 5B 1", "key 8 1", "key 8 3", "key 5B 3", "key A2 3"}));
}

TEST_F(InputPrimitives, PostKeyToNullWindowDoesNothingAtAll) {
    a.function.PostKeyToWindow(0, kPostCtrl | kPostShift | kPostWin | kPostAlt, 'A');
    EXPECT_TRUE(log.empty());
}

TEST_F(InputPrimitives, PostKeyBuildsLParamFromScanCodeAndExtendedRule) {
    // The fake layout maps vk to 0x100 + (vk & 0x7F): only the low byte may be used.
    a.function.PostKeyToWindow(0x1234, kPostCtrl, kVkLeft);
    EXPECT_EQ(log, (Lines{"key 11 1", "post 1234 100 25 1250001", "post 1234 101 25 C1250001", "key 11 3"}));

    log.clear();
    a.function.PostKeyToWindow(0x1234, 0, 'A');
    EXPECT_EQ(log, (Lines{"post 1234 100 41 410001", "post 1234 101 41 C0410001"}));
}

TEST_F(InputPrimitives, PostKeyExtendedSetCoversExactlyTheListedKeys) {
    for (int vk = 0; vk < 256; ++vk) {
        log.clear();
        a.function.PostKeyToWindow(1, 0, static_cast<std::uint8_t>(vk));
        ASSERT_EQ(log.size(), 2u);
        const bool extended = vk == 0x0D || vk == 0x11 || (vk >= 0x21 && vk <= 0x28) || vk == 0x2D ||
                              vk == 0x2E || vk == 0x6F || vk == 0xA2 || vk == 0xA3;
        const std::uint32_t lParam = std::stoul(log[0].substr(log[0].rfind(' ') + 1), nullptr, 16);
        EXPECT_EQ((lParam & 0x01000000u) != 0, extended) << std::hex << vk;
        EXPECT_EQ(lParam & 0xFFFF, 1u);
    }
}

TEST_F(InputPrimitives, PostKeyPressesModifiersCtrlShiftWinAltAndReleasesInTheSameOrder) {
    a.function.PostKeyToWindow(7, kPostAlt | kPostWin | kPostShift | kPostCtrl, 'B');
    ASSERT_EQ(log.size(), 10u);
    EXPECT_EQ((Lines(log.begin(), log.begin() + 4)), (Lines{"key 11 1", "key 10 1", "key 5B 1", "key 12 1"}));
    EXPECT_EQ((Lines(log.begin() + 6, log.end())), (Lines{"key 11 3", "key 10 3", "key 5B 3", "key 12 3"}));
}

}  // namespace
}  // namespace mv
