// The gesture feedback's rules: the stored choice, the name shown, the fade, the position.
#include <gtest/gtest.h>

#include "settings/settings_store.h"
#include "support/fake_registry.h"
#include "gesture/gesture_feedback.h"
#include "ui/feedback_rules.h"

namespace mv {
namespace {

RegistryValue Dword(std::uint32_t v) { return {kRegDword, {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)}}; }

TEST(FeedbackChoice, OnlyADwordOfOneMeansOn) {
    EXPECT_FALSE(FeedbackChosen(std::nullopt));
    EXPECT_TRUE(FeedbackChosen(Dword(1)));
    EXPECT_FALSE(FeedbackChosen(Dword(0)));
    EXPECT_FALSE(FeedbackChosen(Dword(2)));
    EXPECT_FALSE(FeedbackChosen(Dword(0x101)));
    EXPECT_FALSE(FeedbackChosen(RegistryValue{kRegBinary, {1, 0, 0, 0}}));
    EXPECT_FALSE(FeedbackChosen(RegistryValue{kRegDword, {1, 0, 0}}));
    EXPECT_FALSE(FeedbackChosen(RegistryValue{kRegDword, {1, 0, 0, 0, 0}}));
}

bool LoadFeedbackChoice(RegistrySeam& registry) {
    Settings settings;
    SettingsStore(registry).Load(settings);
    return settings.feedback;
}

TEST(FeedbackChoice, KeptInAValueOfItsOwnBesideTheButtonSetting) {
    test::FakeRegistry registry;
    SettingsStore store(registry);
    EXPECT_FALSE(LoadFeedbackChoice(registry));  // no key at all
    const std::vector<std::uint8_t> blob(ButtonSettingBlob::kSize, 0x5A);
    registry.put(RegistryRoot::LocalMachine, kButtonSetting.key, kButtonSetting.name, kRegBinary, blob);

    ASSERT_TRUE(store.SaveFeedback(true));
    EXPECT_TRUE(LoadFeedbackChoice(registry));
    const RegistryValue* stored = registry.get(RegistryRoot::LocalMachine, kCorvelKey, u"GestureFeedback");
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->type, kRegDword);
    EXPECT_EQ(stored->data, (std::vector<std::uint8_t>{1, 0, 0, 0}));
    ASSERT_TRUE(store.SaveFeedback(false));
    EXPECT_FALSE(LoadFeedbackChoice(registry));
    EXPECT_EQ(registry.get(RegistryRoot::LocalMachine, kButtonSetting.key, kButtonSetting.name)->data, blob);
    EXPECT_EQ(registry.openHandles(), 0);

    registry.failWrites = true;
    EXPECT_FALSE(store.SaveFeedback(true));
    test::FakeRegistry empty;
    ASSERT_TRUE(SettingsStore(empty).SaveFeedback(true));  // the key is made when it is missing
    EXPECT_TRUE(LoadFeedbackChoice(empty));
}

TEST(FeedbackName, TheFunctionThatRanExceptWheelNotchesAndRecordsThatRunNothing) {
    FunctionRecord record{};
    record.setActionCode(64);
    EXPECT_EQ(FeedbackNameKey(0x8004, record), "tc_cut");
    record.setActionCode(20);
    EXPECT_EQ(FeedbackNameKey(0x8004, record), "tc_function_macro");
    record.setActionCode(16);
    EXPECT_EQ(FeedbackNameKey(0x8004, record), "tc_function_scrollleft");
    // The vertical wheel (notches and Ctrl zoom) shows itself.
    record.setActionCode(9);
    EXPECT_EQ(FeedbackNameKey(kEventWheelUp, record), "");
    EXPECT_EQ(FeedbackNameKey(kEventWheelDown, record), "");
    for (std::uint8_t code : {0, 161, 162, 6, 200}) {
        record.setActionCode(code);
        EXPECT_EQ(FeedbackNameKey(0x8004, record), "") << int(code);
    }
}

TEST(FeedbackFade, HoldsThenFadesInStepsThenStopsItsTimer) {
    const FeedbackFrame first = FeedbackFade::At(0);
    EXPECT_TRUE(first.visible);
    EXPECT_EQ(first.alpha, FeedbackFade::kAlpha);
    EXPECT_EQ(first.nextInMs, FeedbackFade::kHoldMs);
    EXPECT_EQ(FeedbackFade::At(999).nextInMs, 1u);  // an early timer lands on the fade's start
    std::uint8_t last = 255;
    std::uint32_t t = FeedbackFade::kHoldMs, steps = 0;
    for (FeedbackFrame f = FeedbackFade::At(t); f.visible; f = FeedbackFade::At(t += f.nextInMs), ++steps) {
        EXPECT_LT(f.alpha, last);
        EXPECT_GT(f.nextInMs, 0u);
        last = f.alpha;
    }
    EXPECT_EQ(t, FeedbackFade::kHoldMs + FeedbackFade::kFadeMs);
    EXPECT_EQ(steps, FeedbackFade::kFadeMs / FeedbackFade::kStepMs);
    const FeedbackFrame late = FeedbackFade::At(60000);  // a late timer hides at once
    EXPECT_FALSE(late.visible);
    EXPECT_EQ(late.nextInMs, 0u);
}

TEST(FeedbackFade, WithoutAnimationsItKeepsItsStrengthThenGoesAtOnce) {
    const FeedbackLook still{false, false};
    const std::uint32_t course = FeedbackFade::kHoldMs + FeedbackFade::kFadeMs;
    const FeedbackFrame first = FeedbackFade::At(0, still);
    EXPECT_TRUE(first.visible);
    EXPECT_EQ(first.alpha, FeedbackFade::kAlpha);
    EXPECT_EQ(first.nextInMs, course);  // one timer for the whole course
    for (std::uint32_t t : {FeedbackFade::kHoldMs, course - 1}) {
        const FeedbackFrame f = FeedbackFade::At(t, still);
        EXPECT_TRUE(f.visible) << t;
        EXPECT_EQ(f.alpha, FeedbackFade::kAlpha) << t;
        EXPECT_EQ(f.nextInMs, course - t) << t;
    }
    EXPECT_FALSE(FeedbackFade::At(course, still).visible);
}

TEST(FeedbackFade, UnderHighContrastItIsOpaqueAndStillFadesWithAnimations) {
    EXPECT_EQ(FeedbackFade::At(0, {true, true}).alpha, 255);
    EXPECT_EQ(FeedbackFade::At(0, {false, true}).alpha, 255);
    EXPECT_EQ(FeedbackFade::At(FeedbackFade::kHoldMs + FeedbackFade::kFadeMs / 2, {true, true}).alpha, 127);
    EXPECT_EQ(FeedbackFade::At(FeedbackFade::kHoldMs + FeedbackFade::kFadeMs / 2, {false, true}).alpha, 255);
}

TEST(FeedbackPosition, BelowRightElseTheNextCornerThatFitsTheWorkArea) {
    const Rect work{0, 0, 1280, 994};
    EXPECT_EQ(FeedbackLabelPosition({100, 100}, 80, 24, work), (Point{116, 122}));
    EXPECT_EQ(FeedbackLabelPosition({1250, 100}, 80, 24, work), (Point{1162, 122}));  // left of the pointer
    EXPECT_EQ(FeedbackLabelPosition({100, 980}, 80, 24, work), (Point{116, 948}));    // above
    EXPECT_EQ(FeedbackLabelPosition({1250, 980}, 80, 24, work), (Point{1162, 948}));
    // Never over the hot spot while a corner fits.
    for (const Point p : {Point{100, 100}, Point{1250, 100}, Point{100, 980}, Point{1250, 980}}) {
        const Point at = FeedbackLabelPosition(p, 80, 24, work);
        EXPECT_FALSE(p.x >= at.x && p.x < at.x + 80 && p.y >= at.y && p.y < at.y + 24);
    }
    // Wider than the room on every side: kept inside the left and top edges.
    EXPECT_EQ(FeedbackLabelPosition({-50, -50}, 2000, 24, Rect{0, 0, 1280, 994}), (Point{0, 0}));
    EXPECT_EQ(FeedbackLabelPosition({1300, 200}, 2000, 24, Rect{1280, 0, 2560, 994}), (Point{1316, 222}));
}

}  // namespace
}  // namespace mv
