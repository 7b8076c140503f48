// Per-program profiles: which record decides a gesture, what the device is asked to
// report, and the profiles in the registry.
#include <gtest/gtest.h>

#include <memory>

#include "device/device_commands.h"
#include "gesture/gesture_events.h"
#include "settings/profiles.h"
#include "settings/settings_store.h"
#include "support/fake_driver_port.h"
#include "support/fake_platform.h"
#include "support/fake_registry.h"

namespace mv {
namespace {

constexpr auto HKLM = RegistryRoot::LocalMachine;

TEST(ProfileNames, MatchWithoutRegardToCaseAndOnlyTheFileName) {
    EXPECT_TRUE(SameProgram(u"notepad.exe", u"NOTEPAD.EXE"));
    EXPECT_TRUE(SameProgram(u"Ärger.exe", u"äRGER.exe"));
    EXPECT_TRUE(SameProgram(u"Блокнот.exe", u"блокнот.EXE"));
    EXPECT_FALSE(SameProgram(u"notepad.exe", u"notepad.ex"));
    EXPECT_FALSE(SameProgram(u"notepad.exe", u"notepad.com"));
    EXPECT_FALSE(SameProgram(u"a@.exe", u"a`.exe"));  // neighbours of the letters stay apart

    EXPECT_EQ(ProgramFileName(u"C:\\windows\\system32\\notepad.exe"), u"notepad.exe");
    EXPECT_EQ(ProgramFileName(u"C:notepad.exe"), u"notepad.exe");
    EXPECT_EQ(ProgramFileName(u"/usr/bin/x.exe"), u"x.exe");
    EXPECT_EQ(ProgramFileName(u"plain.exe"), u"plain.exe");

    EXPECT_TRUE(ValidProgramName(u"notepad.exe"));
    EXPECT_TRUE(ValidProgramName(u"[x] y.exe"));
    EXPECT_TRUE(ValidProgramName(std::u16string(255, u'a')));
    for (std::u16string bad : {u"", u".", u"..", u"a\\b.exe", u"a/b.exe", u"c:x.exe", u"a?.exe", u"a*.exe",
                               u"a\".exe", u"a<.exe", u"a|.exe", u"a\t.exe", u"trailing.", u"trailing "})
        EXPECT_FALSE(ValidProgramName(bad)) << std::string(bad.begin(), bad.end());
    EXPECT_FALSE(ValidProgramName(std::u16string(256, u'a')));
}

class Profiles : public ::testing::Test {
protected:
    Profiles() {
        ResetRecordsToDefaults(all.records);
        for (int n = 0; n < kSlotCount; ++n) all.records[n].bytes[0] = static_cast<std::uint8_t>(0x40 + n);
    }
    ButtonSettingBlob all{};
    ProfileSet set;
};

TEST_F(Profiles, AProfileDecidesOnlyTheGesturesItOverridesForItsProgram) {
    all.records[12].setActionCode(0x40);  // three-finger left: Cut for all programs
    Profile* notepad = set.Add(u"notepad.exe", all);
    ASSERT_NE(notepad, nullptr);
    EXPECT_EQ(notepad->overrides, 0u);
    OverrideSlot(*notepad, all.records, 11, 0x41);  // three-finger click: Copy in notepad

    test::FakePlatform clock;
    clock.now = 100000;
    GestureEvents events{clock};
    auto run = [&](DeviceEventCode code, std::u16string_view foreground) {
        int code_ = -1, reserved = -1;
        events.OnGestureEvent(
            code,
            [&](GestureSlot slot) -> const FunctionRecord& { return ResolveRecord(all.records, set.Find(foreground), slot); },
            [&](const FunctionRecord& r) {
                code_ = r.actionCode();
                reserved = r.reserved();
            });
        return std::pair{code_, reserved};
    };
    EXPECT_EQ(run(0x8004, u"NotePad.exe"), std::pair(0x41, 0x40 + 11));  // profile's record, copied from All programs
    EXPECT_EQ(run(0x8004, u"wordpad.exe"), std::pair(3, 0x40 + 11));
    EXPECT_EQ(run(0x8004, u""), std::pair(3, 0x40 + 11));
    EXPECT_EQ(run(0x8008, u"notepad.exe"), std::pair(0x40, 0x40 + 12));  // not overridden: All programs
    EXPECT_EQ(run(0x8008, u"wordpad.exe"), std::pair(0x40, 0x40 + 12));

    // Changing All programs later changes what the profile follows, not what it overrides.
    all.records[11].setActionCode(0x42);
    all.records[12].setActionCode(0x44);
    EXPECT_EQ(run(0x8004, u"notepad.exe").first, 0x41);
    EXPECT_EQ(run(0x8008, u"notepad.exe").first, 0x44);
    FollowAllPrograms(*notepad, 11);
    EXPECT_EQ(run(0x8004, u"notepad.exe").first, 0x42);

    // The zoom rule comes first and asks for no record.
    int asked = 0;
    events.OnGestureEvent(kEventLeftCtrl, [&](GestureSlot s) -> const FunctionRecord& { ++asked; return all.records[s]; },
                          [](const FunctionRecord&) {});
    events.OnGestureEvent(kEventWheelUp, [&](GestureSlot s) -> const FunctionRecord& { ++asked; return all.records[s]; },
                          [](const FunctionRecord& r) { EXPECT_EQ(r.actionCode(), 35); });
    events.OnGestureEvent(0x12345, [&](GestureSlot s) -> const FunctionRecord& { ++asked; return all.records[s]; },
                          [](const FunctionRecord&) { ADD_FAILURE() << "unknown code dispatched"; });
    EXPECT_EQ(asked, 0);
}

TEST_F(Profiles, AddFindAndRemoveByProgramName) {
    EXPECT_NE(set.Add(u"notepad.exe", all), nullptr);
    EXPECT_EQ(set.Add(u"NOTEPAD.EXE", all), nullptr) << "one profile per program";
    EXPECT_EQ(set.Add(u"bad\\name.exe", all), nullptr);
    EXPECT_NE(set.Add(u"wordpad.exe", all), nullptr);
    ASSERT_EQ(set.all().size(), 2u);
    EXPECT_EQ(set.Find(u"Wordpad.EXE"), &set.all()[1]);
    EXPECT_TRUE(set.Remove(u"Notepad.exe"));
    EXPECT_FALSE(set.Remove(u"notepad.exe"));
    ASSERT_EQ(set.all().size(), 1u);
    EXPECT_EQ(set.all()[0].program, u"wordpad.exe");
}

// The device reports the union of the gestures changed in All programs and overridden with
// another function in any profile, and nothing else.
TEST_F(Profiles, TheDeviceReportsTheUnionOfChangedGestures) {
    EXPECT_EQ(set.ReportedSlots(all.records), 0u);
    Profile* a = set.Add(u"a.exe", all);
    Profile* b = set.Add(u"b.exe", all);
    a->image.records[13].setActionCode(0x40);  // not overridden: does not count
    EXPECT_EQ(set.ReportedSlots(all.records), 0u);
    OverrideSlot(*a, all.records, 1, DefaultActionTable[1]);  // overridden with the default: nothing to report
    EXPECT_EQ(set.ReportedSlots(all.records), 0u);
    OverrideSlot(*a, all.records, 11, 0x40);
    OverrideSlot(*b, all.records, 10, 0x41);
    all.records[12].setActionCode(0x42);
    EXPECT_EQ(set.ReportedSlots(all.records), SlotBit(10) | SlotBit(11) | SlotBit(12));

    test::FakeDriverPort port;
    port.present = true;
    ASSERT_TRUE(port.openDevice());
    DeviceCommands device{port};
    ASSERT_TRUE(device.SendDeviceSettingsForSlots(set.ReportedSlots(all.records)));
    EXPECT_EQ(port.word(port.calls.size() - 1, 4), 0x180u | kModeThreeClick | kModeThreeLeft);
    EXPECT_EQ(device.keyList()[0], 0x0008u) << "slot 10's chord, the Windows key alone";
    EXPECT_EQ(std::count(device.keyList().begin(), device.keyList().end(), 0u), 11);
    // With the same records the plain form sends exactly what All programs changes.
    ASSERT_TRUE(device.SendDeviceSettings(all.records));
    EXPECT_EQ(port.word(port.calls.size() - 1, 4), 0x180u | kModeThreeLeft);
    EXPECT_EQ(std::count(device.keyList().begin(), device.keyList().end(), 0u), 12);
}

TEST_F(Profiles, SavedProfilesLoadBackAndReplaceTheStoredOnes) {
    test::FakeRegistry registry;
    SettingsStore store{registry};
    EXPECT_TRUE(store.LoadProfiles().empty());

    Profile* n = set.Add(u"Notepad.exe", all);
    OverrideSlot(*n, all.records, 11, 0x41);
    n->image.records[11].setProgramPath(u"x");
    Profile* w = set.Add(u"wordpad.exe", all);
    OverrideSlot(*w, all.records, 5, 0x50);
    registry.put(HKLM, std::u16string(kProfilesKey) + u"\\old.exe", kProfileImage.name, kRegBinary, {1, 2, 3});
    auto settings = std::make_unique<Settings>();
    settings->profiles = set;
    ASSERT_TRUE(store.Save(*settings, SaveScope{}));
    EXPECT_EQ(registry.get(HKLM, std::u16string(kProfilesKey) + u"\\old.exe", kProfileImage.name), nullptr);
    const RegistryValue* image = registry.get(HKLM, std::u16string(kProfilesKey) + u"\\Notepad.exe", kProfileImage.name);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->type, kRegBinary);
    EXPECT_EQ(image->data, std::vector<std::uint8_t>(BlobBytes(n->image), BlobBytes(n->image) + ButtonSettingBlob::kSize));
    const RegistryValue* mask = registry.get(HKLM, std::u16string(kProfilesKey) + u"\\Notepad.exe", kProfileOverrides.name);
    ASSERT_NE(mask, nullptr);
    EXPECT_EQ(mask->type, kRegDword);
    EXPECT_EQ(mask->data, (std::vector<std::uint8_t>{0x00, 0x08, 0x00, 0x00}));

    ProfileSet loaded = store.LoadProfiles();
    ASSERT_EQ(loaded.all().size(), 2u);
    const Profile* ln = loaded.Find(u"notepad.exe");
    ASSERT_NE(ln, nullptr);
    EXPECT_EQ(ln->program, u"Notepad.exe");
    EXPECT_EQ(ln->overrides, SlotBit(11));
    EXPECT_EQ(ln->image.records, n->image.records);
    EXPECT_EQ(loaded.Find(u"wordpad.exe")->overrides, SlotBit(5));
    EXPECT_EQ(registry.openHandles(), 0);

    settings->profiles = ProfileSet{};
    ASSERT_TRUE(store.Save(*settings, SaveScope{}));
    EXPECT_TRUE(store.LoadProfiles().empty());
}

TEST_F(Profiles, OddStoredProfilesLoadAsFarAsTheyAreSound) {
    test::FakeRegistry registry;
    const std::u16string key = kProfilesKey;
    registry.put(HKLM, key, u"stray", kRegDword, {1, 0, 0, 0});
    // A short image replaces the start of a defaults image; a wide mask keeps the 17 slots.
    registry.put(HKLM, key + u"\\short.exe", kProfileImage.name, kRegBinary, {0xEE, 0xEE, 0xEE});
    registry.put(HKLM, key + u"\\short.exe", kProfileOverrides.name, kRegDword, {0xFF, 0xFF, 0xFF, 0xFF});
    // No values at all: a profile that overrides nothing.
    registry.put(HKLM, key + u"\\empty.exe", u"other", kRegSz, {});
    // A mask of the wrong type or size is no mask; an oversized image is not read.
    registry.put(HKLM, key + u"\\odd.exe", kProfileOverrides.name, kRegBinary, {1, 0, 0, 0});
    registry.put(HKLM, key + u"\\odd.exe", kProfileImage.name, kRegBinary,
                 std::vector<std::uint8_t>(ButtonSettingBlob::kSize + 1, 0x77));
    // Names no program can have are skipped.
    registry.put(HKLM, key + u"\\trailing.", kProfileOverrides.name, kRegDword, {1, 0, 0, 0});

    ProfileSet loaded = SettingsStore{registry}.LoadProfiles();
    ASSERT_EQ(loaded.all().size(), 3u);
    const Profile* s = loaded.Find(u"short.exe");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->overrides, kAllSlots);
    EXPECT_EQ(BlobBytes(s->image)[0], 0xEE);
    EXPECT_EQ(BlobBytes(s->image)[2], 0xEE);
    EXPECT_EQ(BlobBytes(s->image)[3], 0x00);
    for (int n = 1; n < kSlotCount; ++n) EXPECT_EQ(s->image.records[n].actionCode(), DefaultActionTable[n]);
    EXPECT_EQ(loaded.Find(u"empty.exe")->overrides, 0u);
    const Profile* o = loaded.Find(u"odd.exe");
    EXPECT_EQ(o->overrides, 0u);
    EXPECT_EQ(o->image.records[4].actionCode(), DefaultActionTable[4]);
    EXPECT_EQ(loaded.Find(u"trailing."), nullptr);
    EXPECT_EQ(registry.openHandles(), 0);
}

}  // namespace
}  // namespace mv
