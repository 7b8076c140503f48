// Key chords and macros: modifier folding, mouse-button keys, the 50 ms rule,
// repeat rules, the foreground stop test and the bounds of the store.
#include <gtest/gtest.h>

#include "base/bytes.h"
#include "support/fake_platform.h"

namespace mv {
namespace {

using Lines = std::vector<std::string>;

// Fake scan codes are vk & 0x7F (see FakePlatform::mapVirtualKey).
std::string Press(const char* vk, const char* scan) { return std::string("key ") + vk + " 0 scan=" + scan + " extra=0"; }
std::string Release(const char* vk, const char* scan) { return std::string("key ") + vk + " 2 scan=" + scan + " extra=0"; }
const std::string kPause = "sleep 50";

struct Step {
    std::uint8_t key;
    std::uint8_t up;
    std::uint32_t delay;
};

void WriteMacro(MacroStore& store, std::size_t index, std::uint32_t flag, std::int32_t count,
                const std::vector<Step>& steps, int storedCount = -1) {
    std::uint8_t* e = store.entry(index);
    writeLe32(e + 4, flag);
    writeLe32(e + 8, static_cast<std::uint32_t>(count));
    writeLe16(e + 12, static_cast<std::uint16_t>(storedCount >= 0 ? storedCount : static_cast<int>(steps.size())));
    for (std::size_t i = 0; i < steps.size() && i < MacroStore::kMaxSteps; ++i) {
        std::uint8_t* s = e + 16 + 8 * i;
        s[0] = steps[i].key;
        s[1] = steps[i].up;
        s[2] = 0xEE;  // unread
        s[3] = 0xEE;
        writeLe32(s + 4, steps[i].delay);
    }
}

class Chords : public ::testing::Test {
protected:
    test::FakeActions a;
    Lines& log = a.platform.log;
};

TEST_F(Chords, CtrlAWaitsFiftyMillisecondsAfterEveryKeyEvent) {
    a.function.PlayKeyChord(0x01, 0x41, 0);
    EXPECT_EQ(log, (Lines{Press("11", "11"), kPause, Press("41", "41"), kPause, Release("41", "41"), kPause,
                          Release("11", "11"), kPause}));
}

TEST_F(Chords, EitherHandSelectsOneGenericModifier) {
    for (const std::uint8_t mask : {0x01, 0x10, 0x11}) {
        log.clear();
        a.function.PlayKeyChord(mask, 0, 0);
        EXPECT_EQ(log, (Lines{Press("11", "11"), kPause, Release("11", "11"), kPause})) << int(mask);
    }
    // All four, pressed and released in the same order: Ctrl, Shift, Alt, Windows.
    log.clear();
    a.function.PlayKeyChord(0xF0, 0, 0);
    EXPECT_EQ(log, (Lines{Press("11", "11"), kPause, Press("10", "10"), kPause, Press("12", "12"), kPause,
                          Press("5B", "5B"), kPause, Release("11", "11"), kPause, Release("10", "10"), kPause,
                          Release("12", "12"), kPause, Release("5B", "5B"), kPause}));
}

TEST_F(Chords, SecondKeyFollowsTheReleaseOfTheFirst) {
    a.function.PlayKeyChord(0x02, 0x25, 0x42);  // Shift, Left arrow (never extended), B
    EXPECT_EQ(log, (Lines{Press("10", "10"), kPause, Press("25", "25"), kPause, Release("25", "25"), kPause,
                          Press("42", "42"), kPause, Release("42", "42"), kPause, Release("10", "10"), kPause}));
}

TEST_F(Chords, SidedModifierKeysAreFoldedBeforeTheScanCodeIsTaken) {
    const struct {
        std::uint8_t key;
        const char* vk;
    } cases[] = {{0xA0, "10"}, {0xA1, "10"}, {0xA2, "11"}, {0xA3, "11"}, {0xA4, "12"}, {0xA5, "12"}};
    for (const auto& c : cases) {
        log.clear();
        a.function.PlayKeyChord(0, c.key, 0);
        EXPECT_EQ(log, (Lines{Press(c.vk, c.vk), kPause, Release(c.vk, c.vk), kPause})) << int(c.key);
    }
}

TEST_F(Chords, MouseButtonKeysClickWithoutPause) {
    a.platform.extraInfo = 0xABC;
    a.function.PlayKeyChord(0, 0xC2, 0xC1);
    EXPECT_EQ(log, (Lines{"mouse 8 data=0 extra=ABC", "mouse 10 data=0 extra=ABC", "mouse 2 data=0 extra=ABC",
                          "mouse 4 data=0 extra=ABC"}));
    log.clear();
    a.function.PlayMacroStep(0xC3, false);
    a.function.PlayMacroStep(0xC3, true);
    EXPECT_EQ(log, (Lines{"mouse 20 data=0 extra=ABC", "mouse 40 data=0 extra=ABC"}));
}

class Macros : public ::testing::Test {
protected:
    void SetUp() override {
        a.platform.foreground = 0x700;
        a.platform.titles[0x700] = u"Untitled - Notepad";
        a.context.ownWindowTitle = &ownTitle;
    }
    std::u16string ownTitle = u"Morvi Corvel Config";
    test::FakeActions a;
    Lines& log = a.platform.log;
};

const std::vector<Step> kTapX = {{'X', 0, 10}, {'X', 1, 20}};
const Lines kTapXPlayed = {Press("58", "58"), kPause, "sleep 10", Release("58", "58"), kPause, "sleep 20"};

TEST_F(Macros, RepeatFlagDecidesWhetherTheCountIsUsed) {
    WriteMacro(a.macros, 3, 0, 5, kTapX);
    a.function.PlayMacro(3);
    EXPECT_EQ(log, kTapXPlayed);

    log.clear();
    WriteMacro(a.macros, 3, 1, 0, kTapX);
    a.function.PlayMacro(3);
    EXPECT_TRUE(log.empty());

    WriteMacro(a.macros, 3, 1, -4, kTapX);
    a.function.PlayMacro(3);
    EXPECT_TRUE(log.empty());

    WriteMacro(a.macros, 3, 0x100, 2, kTapX);
    a.function.PlayMacro(3);
    Lines twice = kTapXPlayed;
    twice.insert(twice.end(), kTapXPlayed.begin(), kTapXPlayed.end());
    EXPECT_EQ(log, twice);
}

TEST_F(Macros, StepsPlayInOrderWithTheirCodingAndDelays) {
    WriteMacro(a.macros, 99, 0, 0, {{0xA3, 0, 0}, {0xC1, 0, 5}, {0xC1, 0x80, 0}, {0, 0, 30}, {0xA3, 7, 1}});
    a.function.PlayMacro(99);
    EXPECT_EQ(log, (Lines{Press("11", "11"), kPause, "sleep 0", "mouse 2 data=0 extra=0", "sleep 5",
                          "mouse 4 data=0 extra=0", "sleep 0", "sleep 30", Release("11", "11"), kPause,
                          "sleep 1"}));
}

TEST_F(Macros, NothingPlaysWithoutStepsOrOutsideTheStore) {
    WriteMacro(a.macros, 0, 0, 0, kTapX, 0);
    a.function.PlayMacro(0);
    EXPECT_TRUE(log.empty());
    for (const int index : {100, 101, 200, 255}) {
        a.function.PlayMacro(static_cast<std::uint8_t>(index));
        EXPECT_TRUE(log.empty()) << index;
    }
}

TEST_F(Macros, StepCountIsBoundedByTheEntrysRoom) {
    std::vector<Step> steps(MacroStore::kMaxSteps, Step{'Q', 0, 0});
    steps.back() = {'Z', 0, 0};
    WriteMacro(a.macros, 5, 0, 0, steps, 0xFFFF);
    // The next entry's first bytes would be read as step 266 and beyond.
    WriteMacro(a.macros, 6, 0x41414141, 0x41414141, {{'W', 0, 0}});
    a.function.PlayMacro(5);
    const auto presses = std::count_if(log.begin(), log.end(), [](const std::string& l) { return l.rfind("key ", 0) == 0; });
    EXPECT_EQ(presses, 265);
    EXPECT_EQ(log[log.size() - 3], Press("5A", "5A"));
    EXPECT_EQ(std::count(log.begin(), log.end(), Press("57", "57")), 0);
}

TEST_F(Macros, OwnWindowOrNoForegroundWindowStopsBeforeTheNextStep) {
    WriteMacro(a.macros, 1, 1, 3, kTapX);
    a.platform.titles[0x700] = ownTitle;
    a.function.PlayMacro(1);
    EXPECT_TRUE(log.empty());

    a.platform.foreground = 0;
    a.function.PlayMacro(1);
    EXPECT_TRUE(log.empty());

    // A title that only starts like ours does not stop it.
    a.platform.foreground = 0x700;
    a.platform.titles[0x700] = ownTitle + u" - Help";
    a.function.PlayMacro(1);
    EXPECT_EQ(log.size(), 3 * kTapXPlayed.size());
}

// A desktop whose foreground window changes once a given number of sleeps passed.
class SwitchingPlatform : public test::FakePlatform {
public:
    int sleepsBeforeSwitch = -1;
    WindowHandle switchTo = 0;
    void sleep(std::uint32_t ms) override {
        FakePlatform::sleep(ms);
        if (sleepsBeforeSwitch > 0 && --sleepsBeforeSwitch == 0) foreground = switchTo;
    }
};

TEST(MacroStop, BringingOurWindowForwardStopsMidRunAndLeavesKeysDown) {
    SwitchingPlatform p;
    MacroStore store;
    const std::u16string title = u"Morvi Corvel Config";
    ActionContext context{p, p, p, store, &title};
    CFunction function(context);
    p.foreground = 0x700;
    p.titles[0x700] = u"Editor";
    p.titles[0x710] = title;
    p.switchTo = 0x710;
    p.sleepsBeforeSwitch = 3;  // after the 50 ms pause and the delay of the first step, and one more pause
    WriteMacro(store, 2, 1, 10, {{0x10, 0, 0}, {'K', 0, 0}, {'K', 1, 0}, {0x10, 1, 0}});
    function.PlayMacro(2);
    // Shift down and K down played; the stop leaves both pressed.
    EXPECT_EQ(p.log, (Lines{Press("10", "10"), kPause, "sleep 0", Press("4B", "4B"), kPause, "sleep 0"}));
}

TEST(MacroStop, NoTitleConfiguredReadsAsAnEmptyTitle) {
    test::FakeActions a;
    WriteMacro(a.macros, 0, 0, 0, kTapX);
    a.platform.foreground = 0x700;  // no title
    a.function.PlayMacro(0);
    EXPECT_TRUE(a.platform.log.empty());
    a.platform.titles[0x700] = u"Editor";
    a.function.PlayMacro(0);
    EXPECT_EQ(a.platform.log, kTapXPlayed);
}

}  // namespace
}  // namespace mv
