// Macro entries read and written in the store's layout, the names value beside it,
// and the recorder's timing.
#include <gtest/gtest.h>

#include <memory>

#include <cstring>

#include "actions/macro_recorder.h"
#include "base/bytes.h"
#include "settings/macro_book.h"
#include "settings/settings_store.h"
#include "support/fake_registry.h"

namespace mv {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Utf16(const std::u16string& s) {
    Bytes b;
    for (char16_t c : s) {
        b.push_back(static_cast<std::uint8_t>(c));
        b.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return b;
}

std::unique_ptr<MacroStore> Filled(std::uint8_t seed) {
    auto store = std::make_unique<MacroStore>();
    for (std::size_t i = 0; i < MacroStore::kSize; ++i) store->bytes[i] = static_cast<std::uint8_t>(seed + i * 7);
    return store;
}

TEST(MacroEntries, WriteUsesTheStoreLayoutAndKeepsUnreadBytes) {
    auto store = Filled(3);
    const auto before = std::make_unique<MacroStore>(*store);
    MacroData macro;
    macro.repeat = true;
    macro.repeatCount = 4;
    macro.steps = {{'A', false, 120}, {'A', true, 0x01020304}, {0xC2, false, 7}};
    ASSERT_EQ(WriteMacro(*store, 5, macro), MacroWriteResult::Written);

    const std::uint8_t* e = &store->bytes[4 + 2140 * 5];
    EXPECT_EQ(readLe32(e + 4), 1u);
    EXPECT_EQ(readLe32(e + 8), 4u);
    EXPECT_EQ(readLe16(e + 12), 3);
    const std::uint8_t step1[8] = {'A', 1, e[16 + 8 + 2], e[16 + 8 + 3], 0x04, 0x03, 0x02, 0x01};
    EXPECT_EQ(0, std::memcmp(e + 16 + 8, step1, 8));
    EXPECT_EQ(e[16 + 16], 0xC2);
    // Room after the last step is cleared; everything the player never reads is kept.
    for (std::size_t i = 3; i < 265; ++i) EXPECT_EQ(e[16 + 8 * i], 0) << i;
    for (const std::size_t off : {0, 1, 2, 3, 14, 15, 16 + 2, 16 + 3, 2136, 2137, 2138, 2139})
        EXPECT_EQ(e[off], before->bytes[4 + 2140 * 5 + off]) << off;
    // Other entries and the store's first four bytes are untouched.
    EXPECT_EQ(0, std::memcmp(store->bytes.data(), before->bytes.data(), 4 + 2140 * 5));
    EXPECT_EQ(0, std::memcmp(&store->bytes[4 + 2140 * 6], &before->bytes[4 + 2140 * 6], MacroStore::kSize - 4 - 2140 * 6));

    EXPECT_EQ(ReadMacro(*store, 5), macro);
}

TEST(MacroEntries, RefusedWritesChangeNothing) {
    auto store = Filled(9);
    const auto before = std::make_unique<MacroStore>(*store);
    MacroData tooLong;
    tooLong.steps.assign(266, MacroStep{'B', false, 1});
    EXPECT_EQ(WriteMacro(*store, 0, tooLong), MacroWriteResult::TooManySteps);
    MacroData badCount;
    badCount.repeat = true;
    badCount.repeatCount = 0;
    EXPECT_EQ(WriteMacro(*store, 0, badCount), MacroWriteResult::BadRepeatCount);
    EXPECT_EQ(WriteMacro(*store, 100, MacroData{}), MacroWriteResult::BadIndex);
    EXPECT_EQ(store->bytes, before->bytes);

    MacroData full;
    full.steps.assign(265, MacroStep{'B', true, 2});
    EXPECT_EQ(WriteMacro(*store, 99, full), MacroWriteResult::Written);
    EXPECT_EQ(ReadMacro(*store, 99).steps.size(), 265u);
}

TEST(MacroEntries, AForeignStepCountAboveTheRoomReadsTheRoom) {
    MacroStore store;
    writeLe16(&store.bytes[4 + 12], 300);
    EXPECT_EQ(ReadMacro(store, 0).steps.size(), 265u);
}

TEST(MacroNamesValue, RoundTripAndForeignInput) {
    MacroNames names;
    EXPECT_TRUE(names.setName(0, u"Login"));
    EXPECT_TRUE(names.setName(42, u"签名 2"));
    EXPECT_FALSE(names.setName(100, u"x"));
    EXPECT_FALSE(names.setName(1, std::u16string(65, u'a')));
    EXPECT_FALSE(names.setName(1, u"tab\there"));
    const Bytes value = names.Serialize();
    Bytes expected = Utf16(u"0=Login");
    expected.insert(expected.end(), {0, 0});
    const Bytes second = Utf16(u"42=签名 2");
    expected.insert(expected.end(), second.begin(), second.end());
    expected.insert(expected.end(), {0, 0, 0, 0});
    EXPECT_EQ(value, expected);

    MacroNames back;
    EXPECT_EQ(back.Parse(value), 0u);
    EXPECT_EQ(back, names);

    // Malformed items are skipped, the first name of an index wins, a missing end is fine.
    Bytes foreign;
    for (const std::u16string& item : std::vector<std::u16string>{u"7=Seven", u"x=bad", u"=none", u"100=out", u"7=again", u"123=three digits", u"005=leading zeros",
                                      u"8=", u"9=" + std::u16string(65, u'n')}) {
        const Bytes b = Utf16(item);
        foreign.insert(foreign.end(), b.begin(), b.end());
        foreign.insert(foreign.end(), {0, 0});
    }
    const Bytes last = Utf16(u"3=Three");
    foreign.insert(foreign.end(), last.begin(), last.end());
    foreign.push_back(0x41);  // an odd trailing byte
    MacroNames parsed;
    EXPECT_EQ(parsed.Parse(foreign), 8u);
    EXPECT_EQ(parsed.name(7), u"Seven");
    EXPECT_EQ(parsed.name(3), u"Three");
    EXPECT_EQ(parsed.name(8), u"");
    EXPECT_EQ(parsed.name(5), u"");
}

// The names as the store loads them, and a save of the settings with `names`.
MacroNames LoadNames(test::FakeRegistry& registry) {
    Settings settings;
    settings.macroNames.setName(2, u"Before");
    SettingsStore(registry).Load(settings);
    return settings.macroNames;
}
bool SaveNames(test::FakeRegistry& registry, const MacroNames& names) {
    auto settings = std::make_unique<Settings>();
    settings->macroNames = names;
    return SettingsStore(registry).Save(*settings, SaveScope{false, false});
}

TEST(MacroNamesValue, LoadAndSaveBesideTheMacros) {
    test::FakeRegistry registry;
    EXPECT_EQ(LoadNames(registry), MacroNames{});  // no key: every name empty, no error

    MacroNames names;
    names.setName(5, u"Five");
    ASSERT_TRUE(SaveNames(registry, names));
    const RegistryValue* stored =
        registry.get(RegistryRoot::LocalMachine, u"Software\\Morvi\\MVSET\\MVMacro\\Corvel", u"MacroNames");
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->type, 7u);  // REG_MULTI_SZ
    EXPECT_EQ(LoadNames(registry).name(5), u"Five");

    // A value of the wrong type is not read.
    registry.put(RegistryRoot::LocalMachine, u"Software\\Morvi\\MVSET\\MVMacro\\Corvel", u"MacroNames", 3,
                 stored->data);
    EXPECT_EQ(LoadNames(registry), MacroNames{});
}

// Unnamed macros leave a registry without the value as it was (a backup taken before then
// compares equal); once there is a value, an empty list clears it.
TEST(MacroNamesValue, NoNamesWriteNoValueButClearAnExistingOne) {
    test::FakeRegistry registry;
    const std::u16string key = u"Software\\Morvi\\MVSET\\MVMacro\\Corvel";
    ASSERT_TRUE(SaveNames(registry, MacroNames{}));
    EXPECT_EQ(registry.get(RegistryRoot::LocalMachine, key, u"MacroNames"), nullptr);

    MacroNames names;
    names.setName(1, u"One");
    ASSERT_TRUE(SaveNames(registry, names));
    ASSERT_NE(registry.get(RegistryRoot::LocalMachine, key, u"MacroNames"), nullptr);
    ASSERT_TRUE(SaveNames(registry, MacroNames{}));
    const RegistryValue* cleared = registry.get(RegistryRoot::LocalMachine, key, u"MacroNames");
    ASSERT_NE(cleared, nullptr);
    MacroNames back;
    back.Parse(cleared->data);
    EXPECT_EQ(back, MacroNames{});
}

TEST(MacroRecorderTest, DelaysReproduceTheRecordedGaps) {
    MacroRecorder r;
    r.start();
    r.event(0xA2, false, 1000);
    r.event('T', false, 1130);
    r.event('T', false, 1160);  // auto-repeat
    r.event('T', true, 1170);   // 40 ms after its press: shorter than the player's pause
    r.event(0xC1, false, 1400);
    r.event(0xC1, true, 1650);
    r.event('Q', true, 1700);   // pressed before the recording
    r.event(0xA2, true, 0xFFFFFFF0u);
    const std::vector<MacroStep> steps = r.stop();
    const std::vector<MacroStep> expected = {
        {0xA2, false, 80}, {'T', false, 0}, {'T', true, 180}, {0xC1, false, 250}, {0xC1, true, 0xFFFFFFF0u - 1650},
        {0xA2, true, 0}};
    EXPECT_EQ(steps, expected);
    EXPECT_FALSE(r.recording());
    // What playback leaves between the events: the recorded gaps, except the one too short to play.
    EXPECT_EQ(PlayedGap(steps[0]), 130u);
    EXPECT_EQ(PlayedGap(steps[1]), 50u);
    EXPECT_EQ(PlayedGap(steps[2]), 230u);
    EXPECT_EQ(PlayedGap(steps[3]), 250u);

    r.event('A', false, 5);  // not recording
    EXPECT_EQ(r.stepCount(), 0u);

    // The tick count wraps between two events.
    r.start();
    r.event(0xC2, false, 0xFFFFFFF0u);
    r.event(0xC2, true, 0x10);
    EXPECT_EQ(r.stop()[0].delayMs, 0x20u);

    // Stopped with Alt still down (the user switched away): Alt is released at the end.
    r.start();
    r.event(0xA4, false, 10);
    r.event('X', false, 90);
    r.event('X', true, 140);
    EXPECT_EQ(r.stop(), (std::vector<MacroStep>{{0xA4, false, 30}, {'X', false, 0}, {'X', true, 0}, {0xA4, true, 0}}));
}

TEST(MacroRecorderTest, StepText) {
    const MouseButtonNames buttons{u"Left click", u"Right click", u"Middle click"};
    EXPECT_EQ(MacroStepText({'T', false, 70}, buttons, u"press", u"release", u"ms"), u"T  press  120 ms");
    EXPECT_EQ(MacroStepText({0xC3, true, 70}, buttons, u"press", u"release", u"毫秒"), u"Middle click  release  70 毫秒");
}

}  // namespace
}  // namespace mv
