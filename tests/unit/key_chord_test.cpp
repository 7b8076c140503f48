// Key chords: their text, the chords Windows keeps, and capturing one from key presses.
#include <gtest/gtest.h>

#include "actions/key_chord.h"

namespace mv {
namespace {

const MouseButtonNames kButtons{u"Left click", u"Right click", u"Middle click"};

std::string Text(const KeyChord& chord) {
    const std::u16string t = ChordText(chord, kButtons);
    return std::string(t.begin(), t.end());
}

TEST(ChordText, ModifiersInPlayingOrderThenTheKeys) {
    EXPECT_EQ(Text({kChordLeftCtrl | kChordLeftShift, 'T', 0}), "Ctrl+Shift+T");
    // Either hand names the same modifier; order is Ctrl, Shift, Alt, Win whatever the bits.
    EXPECT_EQ(Text({0x80 | 0x40 | 0x20 | 0x10, 0x70, 0}), "Ctrl+Shift+Alt+Win+F1");
    EXPECT_EQ(Text({kChordLeftCtrl, 'K', 'C'}), "Ctrl+K+C");
    EXPECT_EQ(Text({kChordLeftCtrl, kChordLeftButton, 0}), "Ctrl+Left click");
    EXPECT_EQ(Text({0, kChordRightButton, kChordMiddleButton}), "Right click+Middle click");
    EXPECT_EQ(Text({kChordLeftAlt, 0, 0}), "Alt");
    EXPECT_EQ(Text({}), "");
}

TEST(ChordText, KeyNames) {
    const std::pair<std::uint8_t, const char*> names[] = {
        {'7', "7"},         {0x60, "Num 0"},      {0x69, "Num 9"},  {0x87, "F24"},   {0x22, "Page Down"},
        {0x25, "Left"},     {0x2E, "Delete"},     {0xBA, ";"},      {0xDC, "\\"},    {0xAF, "Volume Up"},
        {0x1B, "Esc"},      {0x0D, "Enter"},      {0xFF, "Key 0xFF"}, {0x07, "Key 0x07"},
    };
    for (const auto& [vk, name] : names) {
        const std::u16string t = KeyName(vk, kButtons);
        EXPECT_EQ(std::string(t.begin(), t.end()), name) << int(vk);
    }
}

TEST(ReservedChords, CtrlAltDelAndWinLWithEitherHand) {
    EXPECT_EQ(FindReservedChord({kChordLeftCtrl | kChordLeftAlt, 0x2E, 0}), ReservedChord::CtrlAltDel);
    EXPECT_EQ(FindReservedChord({0x10 | 0x40, 0, 0x6E}), ReservedChord::CtrlAltDel);
    EXPECT_EQ(FindReservedChord({0x80, 'L', 0}), ReservedChord::WinL);
    EXPECT_EQ(FindReservedChord({kChordLeftWin | kChordLeftShift, 0, 'L'}), ReservedChord::WinL);
    // Near misses are ordinary chords.
    EXPECT_EQ(FindReservedChord({kChordLeftCtrl, 0x2E, 0}), ReservedChord::None);
    EXPECT_EQ(FindReservedChord({kChordLeftCtrl | kChordLeftAlt, 'T', 0}), ReservedChord::None);
    EXPECT_EQ(FindReservedChord({kChordLeftCtrl, 'L', 0}), ReservedChord::None);
}

using R = ChordCapture::Result;

TEST(ChordCaptureTest, CtrlShiftTIsTakenWhenEveryKeyIsUp) {
    ChordCapture c;
    EXPECT_EQ(c.keyDown(0xA2), R::Pending);
    EXPECT_EQ(c.keyDown(0xA0), R::Pending);
    EXPECT_EQ(c.keyDown('T'), R::Pending);
    EXPECT_EQ(c.keyDown('T'), R::Pending);  // auto-repeat
    EXPECT_EQ(c.shown(), (KeyChord{kChordLeftCtrl | kChordLeftShift, 'T', 0}));
    EXPECT_TRUE(c.chord().empty());
    EXPECT_EQ(c.keyUp('T'), R::Pending);
    EXPECT_EQ(c.keyUp(0xA0), R::Pending);
    EXPECT_EQ(c.keyUp(0xA2), R::Captured);
    EXPECT_EQ(c.chord(), (KeyChord{kChordLeftCtrl | kChordLeftShift, 'T', 0}));
}

TEST(ChordCaptureTest, RightHandModifiersTwoKeysAndAThirdRefused) {
    ChordCapture c;
    c.keyDown(0xA3);  // right Ctrl
    c.keyDown(0x5C);  // right Win
    c.keyDown('K');
    c.keyUp('K');
    c.keyDown('C');
    EXPECT_EQ(c.keyDown('X'), R::TooManyKeys);
    c.keyUp('X');  // never part of the chord
    c.keyUp('C');
    c.keyUp(0x5C);
    EXPECT_EQ(c.keyUp(0xA3), R::Captured);
    EXPECT_EQ(c.chord(), (KeyChord{0x10 | 0x80, 'K', 'C'}));
}

TEST(ChordCaptureTest, ReservedAndInterruptedCapturesKeepThePreviousChord) {
    ChordCapture c;
    c.setChord({kChordLeftCtrl, 'A', 0});
    c.keyDown(0xA2);
    c.keyDown(0xA4);
    c.keyDown(0x2E);
    c.keyUp(0x2E);
    c.keyUp(0xA4);
    EXPECT_EQ(c.keyUp(0xA2), R::Reserved);
    EXPECT_EQ(c.chord(), (KeyChord{kChordLeftCtrl, 'A', 0}));

    c.keyDown(0x5B);
    c.keyDown('L');
    EXPECT_EQ(c.interrupted(), R::Interrupted);  // the desktop was locked under us
    EXPECT_FALSE(c.building());
    EXPECT_EQ(c.chord(), (KeyChord{kChordLeftCtrl, 'A', 0}));
    EXPECT_EQ(c.keyUp('L'), R::Pending);  // late releases change nothing
    EXPECT_EQ(c.interrupted(), R::Pending);
}

TEST(ChordCaptureTest, MouseButtonsFillTheFreeKeys) {
    ChordCapture c;
    c.keyDown(0xA2);
    EXPECT_EQ(c.keyUp(0xA2), R::Captured);  // Ctrl alone
    EXPECT_TRUE(c.addMouseButton(kChordLeftButton));
    EXPECT_TRUE(c.addMouseButton(kChordMiddleButton));
    EXPECT_FALSE(c.addMouseButton(kChordRightButton));
    EXPECT_FALSE(c.addMouseButton('A'));
    EXPECT_EQ(c.chord(), (KeyChord{kChordLeftCtrl, kChordLeftButton, kChordMiddleButton}));
    c.clear();
    EXPECT_TRUE(c.chord().empty());
}

}  // namespace
}  // namespace mv
