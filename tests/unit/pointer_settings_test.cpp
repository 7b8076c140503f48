// The pointer settings dialog's state: registry reading, slider steps and what OK applies.
#include <gtest/gtest.h>

#include "support/fake_registry.h"
#include "ui/pointer_settings.h"

namespace mv {
namespace {

std::vector<std::uint8_t> Sz(const std::u16string& text) {
    std::vector<std::uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

struct Fixture {
    test::FakeRegistry registry;
    PointerSettingsModel model;
    Fixture(const std::u16string& sensitivity, const std::u16string& speed) {
        put(sensitivity, speed);
        model.readMouseSettings(registry);
        model.initialise();
    }
    void put(const std::u16string& sensitivity, const std::u16string& speed) {
        registry.put(RegistryRoot::CurrentUser, kMouseKey, u"MouseSensitivity", kRegSz, Sz(sensitivity));
        registry.put(RegistryRoot::CurrentUser, kMouseKey, u"MouseSpeed", kRegSz, Sz(speed));
    }
    std::vector<std::string> applied() {
        registry.log.clear();
        model.apply(registry);
        return registry.log;
    }
};

TEST(PointerSettings, InitialNotchAndSpeedFromMouseSensitivity) {
    struct Case {
        std::u16string value;
        int speed, step;
    } cases[] = {{u"10", 10, 5}, {u"1", 1, 0}, {u"20", 20, 9}, {u"100", 10, 5}, {u"7", 7, 3}, {u"", 0, 0}};
    for (const auto& c : cases) {
        Fixture f(c.value, u"1");
        EXPECT_EQ(f.model.registrySpeed(), c.speed) << std::string(c.value.begin(), c.value.end());
        EXPECT_EQ(f.model.step(), c.step);
        EXPECT_EQ(f.model.speedImage(), c.step + 1);
    }
    // Untouched, OK gives back the speed that was read.
    Fixture f(u"14", u"1");
    EXPECT_EQ(f.applied().front(), "speed 14");
    // Garbage never leaves the applicable range.
    Fixture g(u"zz", u"1");
    EXPECT_EQ(g.model.step(), 9);
    EXPECT_EQ(g.applied().front(), "speed 20");
    Fixture empty(u"", u"1");
    EXPECT_EQ(empty.applied().front(), "speed 1");
}

TEST(PointerSettings, PrecisionFromMouseSpeedAndWhatOkApplies) {
    Fixture off(u"10", u"0");
    EXPECT_FALSE(off.model.precision());
    EXPECT_EQ(off.applied(), (std::vector<std::string>{"speed 10", "mouse 0 0 0"}));
    for (const char16_t* on : {u"1", u"2"}) {
        Fixture f(u"10", on);
        EXPECT_TRUE(f.model.precision());
        EXPECT_EQ(f.applied(), (std::vector<std::string>{"speed 10", "mouse 6 10 1"}));
    }
    off.model.togglePrecision();
    EXPECT_EQ(off.applied().back(), "mouse 6 10 1");
    off.model.togglePrecision();
    EXPECT_EQ(off.applied().back(), "mouse 0 0 0");
}

TEST(PointerSettings, UnreadableValuesCountAsTheSystemDefaults) {
    test::FakeRegistry empty;  // no Control Panel\Mouse key at all
    PointerSettingsModel model;
    model.readMouseSettings(empty);
    model.initialise();
    EXPECT_EQ(model.registrySpeed(), 10);
    EXPECT_EQ(model.registryPrecision(), 1);
    EXPECT_EQ(model.step(), 5);

    test::FakeRegistry odd;
    // Ten characters plus the terminator do not fit the buffer; a DWORD is not a string.
    odd.put(RegistryRoot::CurrentUser, kMouseKey, u"MouseSensitivity", kRegSz, Sz(u"1234567890"));
    odd.put(RegistryRoot::CurrentUser, kMouseKey, u"MouseSpeed", kRegDword, {0, 0, 0, 0});
    PointerSettingsModel m2;
    m2.readMouseSettings(odd);
    EXPECT_EQ(m2.registrySpeed(), 10);
    EXPECT_EQ(m2.registryPrecision(), 1);
    EXPECT_EQ(odd.openHandles(), 0);
    EXPECT_NE(std::find(odd.log.begin(), odd.log.end(), "open Control Panel\\Mouse 2001F"), odd.log.end())
        << odd.log.front();

    test::FakeRegistry nine;
    nine.put(RegistryRoot::CurrentUser, kMouseKey, u"MouseSensitivity", kRegSz, Sz(u"123456789"));
    PointerSettingsModel m3;
    m3.readMouseSettings(nine);
    EXPECT_EQ(m3.registrySpeed(), 12);
}

TEST(PointerSettings, EachReadSeesTheSettingsOfThatMoment) {
    Fixture f(u"4", u"0");
    EXPECT_EQ(f.model.step(), 2);
    EXPECT_FALSE(f.model.precision());
    // Restore defaults elsewhere: speed 10 and acceleration on. The next read shows them,
    // and an untouched OK keeps them.
    f.put(u"10", u"1");
    f.model.readMouseSettings(f.registry);
    f.model.initialise();
    EXPECT_EQ(f.model.step(), 5);
    EXPECT_TRUE(f.model.precision());
    EXPECT_EQ(f.applied(), (std::vector<std::string>{"speed 10", "mouse 6 10 1"}));
    // A value gone since the last read counts as the default again, not as the old value.
    Fixture g(u"4", u"0");
    test::FakeRegistry none;
    g.model.readMouseSettings(none);
    EXPECT_EQ(g.model.registrySpeed(), 10);
    EXPECT_EQ(g.model.registryPrecision(), 1);
}

TEST(PointerSettings, EveryNotchAppliesTheSpeedItShowsAndReadsBackToItself) {
    for (int notch = 0; notch < kSpeedNotches; ++notch) {
        Fixture f(notch == 0 ? u"20" : u"1", u"1");
        EXPECT_TRUE(f.model.moveKnobTo(SliderXOfNotch(notch))) << notch;
        EXPECT_EQ(f.model.step(), notch);
        const int speed = f.model.speed();
        EXPECT_EQ(f.applied().front(), "speed " + std::to_string(speed)) << notch;
        // The speed OK applied, read back when the dialog opens, shows the same notch.
        const std::string digits = std::to_string(speed);
        Fixture back(std::u16string(digits.begin(), digits.end()), u"1");
        EXPECT_EQ(back.model.step(), notch) << "speed " << speed;
    }
    EXPECT_EQ(SpeedForNotch(0), 1);
    EXPECT_EQ(SpeedForNotch(5), 10);
    EXPECT_EQ(SpeedForNotch(9), 20);
}

TEST(PointerSettings, TheKeyboardMovesTheKnobNotchByNotchWithinTheSlider) {
    Fixture f(u"7", u"1");
    ASSERT_EQ(f.model.step(), 3);
    EXPECT_FALSE(f.model.moveToNotch(3)) << "the notch shown keeps the speed read";
    EXPECT_EQ(f.applied().front(), "speed 7");
    Fixture g(u"7", u"1");
    EXPECT_TRUE(g.model.moveToNotch(4));
    EXPECT_EQ(g.applied().front(), "speed 8");
    Fixture h(u"7", u"1");
    EXPECT_TRUE(h.model.moveToNotch(12));
    EXPECT_EQ(h.model.step(), 9);
    EXPECT_EQ(h.applied().front(), "speed 20");
    EXPECT_TRUE(h.model.moveToNotch(-3));
    EXPECT_EQ(h.model.step(), 0);
}

TEST(PointerSettings, TheKnobGoesToTheNotchUnderThePointer) {
    // With the knob at the first notch, one click at the right end: the last notch, speed 20
    // (not one notch further while OK applies the maximum).
    Fixture f(u"1", u"1");
    ASSERT_EQ(f.model.step(), 0);
    EXPECT_TRUE(f.model.moveKnobTo(188));
    EXPECT_EQ(f.model.step(), 9);
    EXPECT_EQ(f.applied().front(), "speed 20");
    // One notch to the right of the first: notch 1, speed 2.
    Fixture g(u"1", u"1");
    g.model.moveKnobTo(SliderXOfNotch(1));
    EXPECT_EQ(g.model.step(), 1);
    EXPECT_EQ(g.applied().front(), "speed 2");

    // Half a pitch either side of a notch belongs to it; beyond the ends, the end notches.
    EXPECT_EQ(SliderXOfNotch(0), 9);
    EXPECT_EQ(SliderXOfNotch(9), 183);
    EXPECT_EQ(NotchAtSliderX(18), 0);
    EXPECT_EQ(NotchAtSliderX(19), 1);
    EXPECT_EQ(NotchAtSliderX(SliderXOfNotch(4) + 9), 4);
    EXPECT_EQ(NotchAtSliderX(SliderXOfNotch(4) - 9), 4);
    EXPECT_EQ(NotchAtSliderX(-500), 0);
    EXPECT_EQ(NotchAtSliderX(5000), 9);

    // A drag: the knob follows notch by notch, and OK applies where it stopped.
    Fixture d(u"10", u"0");
    std::vector<int> seen;
    for (int x = SliderXOfNotch(5); x >= SliderXOfNotch(2); x -= 4)
        if (d.model.moveKnobTo(x)) seen.push_back(d.model.step());
    EXPECT_EQ(seen, (std::vector<int>{4, 3, 2}));
    EXPECT_EQ(d.applied(), (std::vector<std::string>{"speed 4", "mouse 0 0 0"}));
}

TEST(PointerSettings, PressingTheNotchShownKeepsTheSpeedRead) {
    Fixture f(u"7", u"1");  // notch 3
    EXPECT_FALSE(f.model.moveKnobTo(SliderXOfNotch(3)));
    EXPECT_EQ(f.applied().front(), "speed 7");
    f.model.moveKnobTo(SliderXOfNotch(4));
    f.model.moveKnobTo(SliderXOfNotch(3));
    EXPECT_EQ(f.applied().front(), "speed 6") << "once moved, the notch's own speed";
}

}  // namespace
}  // namespace mv
