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
        registry.put(RegistryRoot::CurrentUser, kMouseKeyPath, u"MouseSensitivity", kRegSz, Sz(sensitivity));
        registry.put(RegistryRoot::CurrentUser, kMouseKeyPath, u"MouseSpeed", kRegSz, Sz(speed));
        model.readMouseSettings(registry);
        model.initialise();
        model.setDialogLeft(100);
    }
    std::vector<std::string> applied() {
        registry.log.clear();
        model.apply(registry);
        return registry.log;
    }
    void pressAt(int dialogX) {
        model.mouseMoved(0x0001, 100 + dialogX);
        model.pressSlider();
    }
};

TEST(PointerSettings, InitialStepAndCodeFromMouseSensitivity) {
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
    Fixture low(u"1", u"1");
    EXPECT_EQ(low.applied().front(), "speed 2");
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

TEST(PointerSettings, UnreadableValuesKeepSpeedTenAndPrecisionOn) {
    test::FakeRegistry empty;  // no Control Panel\Mouse key at all
    PointerSettingsModel model;
    model.readMouseSettings(empty);
    model.initialise();
    EXPECT_EQ(model.registrySpeed(), 10);
    EXPECT_EQ(model.registryPrecision(), 1);
    EXPECT_EQ(model.step(), 5);

    test::FakeRegistry odd;
    // Ten characters plus the terminator do not fit the buffer; a DWORD is not a string.
    odd.put(RegistryRoot::CurrentUser, kMouseKeyPath, u"MouseSensitivity", kRegSz, Sz(u"1234567890"));
    odd.put(RegistryRoot::CurrentUser, kMouseKeyPath, u"MouseSpeed", kRegDword, {0, 0, 0, 0});
    PointerSettingsModel m2;
    m2.readMouseSettings(odd);
    EXPECT_EQ(m2.registrySpeed(), 10);
    EXPECT_EQ(m2.registryPrecision(), 1);
    EXPECT_EQ(odd.openHandles(), 0);
    EXPECT_NE(std::find(odd.log.begin(), odd.log.end(), "open Control Panel\\Mouse 2001F"), odd.log.end())
        << odd.log.front();

    test::FakeRegistry nine;
    nine.put(RegistryRoot::CurrentUser, kMouseKeyPath, u"MouseSensitivity", kRegSz, Sz(u"123456789"));
    PointerSettingsModel m3;
    m3.readMouseSettings(nine);
    EXPECT_EQ(m3.registrySpeed(), 12);
}

TEST(PointerSettings, SliderPressesMoveOneStepTowardThePressedCode) {
    Fixture f(u"10", u"1");  // step 5
    f.pressAt(225);          // code 18
    EXPECT_EQ(f.model.speedCode(), 18);
    EXPECT_EQ(f.model.step(), 6);
    for (int i = 0; i < 10; ++i) f.pressAt(225);
    EXPECT_EQ(f.model.step(), 9);
    EXPECT_EQ(f.applied().front(), "speed 20");

    f.pressAt(36);  // code 0
    EXPECT_EQ(f.model.speedCode(), 0);
    EXPECT_EQ(f.model.step(), 8);
    EXPECT_EQ(f.applied().front(), "speed 2");

    // An odd code settles on its step.
    f.pressAt(39 + 10 * 7);
    for (int i = 0; i < 12; ++i) f.pressAt(39 + 10 * 7);
    EXPECT_EQ(f.model.step(), 3);
    EXPECT_FALSE(f.model.pressSlider());
}

TEST(PointerSettings, OnlyMovesWithJustTheLeftButtonCount) {
    Fixture f(u"10", u"1");
    f.model.mouseMoved(0x0001, 300);
    f.model.mouseMoved(0x0001 | 0x0004, 500);  // with Shift
    f.model.mouseMoved(0, 600);
    EXPECT_EQ(f.model.lastDragX(), 300);
    f.model.sliderReleasedAt(259);
    EXPECT_TRUE(f.model.pressSlider());
    EXPECT_EQ(f.model.speedCode(), 12);
    // A stale position far left of the dialog gives the lowest code, not a negative speed.
    f.model.sliderReleasedAt(0);
    f.model.pressSlider();
    EXPECT_EQ(f.model.speedCode(), 0);
}

}  // namespace
}  // namespace mv
