// Loading the settings from the registry and saving them all or nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "base/bytes.h"
#include "settings/settings_store.h"
#include "support/fake_registry.h"

namespace mv {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr auto HKLM = RegistryRoot::LocalMachine;

Bytes Pattern(std::size_t size, std::uint8_t seed) {
    Bytes b(size);
    for (std::size_t i = 0; i < size; ++i) b[i] = static_cast<std::uint8_t>(seed + i * 13 + (i >> 8));
    return b;
}

Bytes Utf16(const std::u16string& s, bool terminate = true) {
    Bytes b;
    for (char16_t c : s) {
        b.push_back(static_cast<std::uint8_t>(c));
        b.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    if (terminate) b.insert(b.end(), {0, 0});
    return b;
}

class Store : public ::testing::Test {
protected:
    Store() { ResetRecordsToDefaults(settings->allPrograms.records); }
    ButtonSettingBlob& blob() { return settings->allPrograms; }
    Bytes blobBytes() { return Bytes(BlobBytes(blob()), BlobBytes(blob()) + sizeof blob()); }
    const RegistryValue* stored(const StoredValue& v) { return registry.get(v.root, v.key, v.name); }
    void put(const StoredValue& v, Bytes data, std::uint32_t type = 0) {
        registry.put(v.root, v.key, v.name, type ? type : v.type, std::move(data));
    }

    test::FakeRegistry registry;
    std::unique_ptr<Settings> settings = std::make_unique<Settings>();
    SettingsStore store{registry};
};

TEST_F(Store, FirstStartWithoutKeysKeepsDefaultsAndTheFirstSaveWritesBothValuesInFull) {
    store.Load(*settings);
    for (int n = 0; n < kSlotCount; ++n) EXPECT_EQ(blob().records[n].actionCode(), DefaultActionTable[n]);
    EXPECT_TRUE(settings->profiles.empty());
    EXPECT_FALSE(settings->feedback);

    registry.log.clear();
    EXPECT_TRUE(store.Save(*settings, SaveScope{}));
    const auto* b = stored(kButtonSetting);
    const auto* m = stored(kMacroSetting);
    ASSERT_TRUE(b && m);
    EXPECT_EQ(b->type, kRegBinary);
    EXPECT_EQ(b->data, blobBytes());
    EXPECT_EQ(m->type, kRegBinary);
    EXPECT_EQ(m->data.size(), 214004u);
    EXPECT_EQ(stored(kMacroNames), nullptr) << "no names, no value";
    EXPECT_EQ(stored(kGestureFeedback), nullptr) << "written only when asked";
    EXPECT_FALSE(registry.hasKey(RegistryRoot::LocalMachine, kProfilesKey)) << "no profiles, no key";
    EXPECT_EQ(registry.openHandles(), 0);
    EXPECT_EQ(registry.restricted, (std::vector<std::u16string>{kMacroKey})) << "the macros' key alone";
    EXPECT_EQ(registry.log[0], "open Software\\Morvi\\MVSET\\Corvel 2001F");
    EXPECT_NE(std::find(registry.log.begin(), registry.log.end(), "create Software\\Morvi\\MVSET\\Corvel 2001F"),
              registry.log.end());
}

TEST_F(Store, StoredValuesRoundTripAndKeepUnknownBytes) {
    const Bytes button = Pattern(19488, 5);
    const Bytes macros = Pattern(214004, 9);
    put(kButtonSetting, button);
    put(kMacroSetting, macros);
    store.Load(*settings);
    EXPECT_EQ(blobBytes(), button);
    EXPECT_EQ(Bytes(settings->macros.bytes.begin(), settings->macros.bytes.end()), macros);

    blob().records[4].setActionCode(20);
    ASSERT_TRUE(store.Save(*settings, SaveScope{}));
    Bytes expected = button;
    expected[16 + 526 * 4 + 1] = 20;
    EXPECT_EQ(stored(kButtonSetting)->data, expected);
    EXPECT_EQ(stored(kMacroSetting)->data, macros);
}

TEST_F(Store, MalformedValuesNeverCorruptWhatTheyDoNotCover) {
    const Bytes defaults = blobBytes();
    // Too long: ignored entirely.
    put(kButtonSetting, Pattern(19489, 1));
    store.Load(*settings);
    EXPECT_EQ(blobBytes(), defaults);

    // Too short and of the wrong type: replaces only its own length.
    const Bytes shortValue = Pattern(16 + 526 + 3, 2);
    put(kButtonSetting, shortValue, kRegSz);
    store.Load(*settings);
    const Bytes now = blobBytes();
    EXPECT_TRUE(std::equal(shortValue.begin(), shortValue.end(), now.begin()));
    EXPECT_TRUE(std::equal(defaults.begin() + shortValue.size(), defaults.end(), now.begin() + shortValue.size()));
    for (int n = 2; n < kSlotCount; ++n) EXPECT_EQ(blob().records[n].actionCode(), DefaultActionTable[n]);

    // Empty value: nothing changes.
    put(kButtonSetting, {}, kRegDword);
    store.Load(*settings);
    EXPECT_EQ(blobBytes(), now);
}

// A profile of the ButtonSetting layout under Profiles\PROGRAM.
void PutProfile(test::FakeRegistry& registry, const std::u16string& program, std::uint8_t seed, std::uint32_t mask) {
    const std::u16string key = std::u16string(kProfilesKey) + u"\\" + program;
    registry.put(RegistryRoot::LocalMachine, key, u"ButtonSetting", kRegBinary, Pattern(19488, seed));
    registry.put(RegistryRoot::LocalMachine, key, u"Overrides", kRegDword,
                 {std::uint8_t(mask), std::uint8_t(mask >> 8), std::uint8_t(mask >> 16), 0});
}

TEST_F(Store, ProfilesAreWrittenInPlaceAndOnlyTheRemovedOnesGo) {
    PutProfile(registry, u"NOTEPAD.EXE", 1, 0x800);
    PutProfile(registry, u"gone.exe", 2, 1);
    // A key of a name no program can have is never loaded, and left as it is.
    registry.put(RegistryRoot::LocalMachine, std::u16string(kProfilesKey) + u"\\bad.", u"Overrides", kRegDword,
                 {1, 0, 0, 0});
    store.Load(*settings);
    ASSERT_EQ(settings->profiles.all().size(), 2u);
    settings->profiles.Remove(u"gone.exe");
    OverrideSlot(*settings->profiles.Find(u"notepad.exe"), blob().records, 3, 2);
    ASSERT_NE(settings->profiles.Add(u"wordpad.exe", blob()), nullptr);

    registry.log.clear();
    ASSERT_TRUE(store.Save(*settings, SaveScope{}));
    EXPECT_EQ(std::count_if(registry.log.begin(), registry.log.end(),
                            [](const std::string& line) { return line.rfind("delete", 0) == 0; }),
              1)
        << "only the removed profile's key is deleted";
    const std::u16string profiles = kProfilesKey;
    EXPECT_FALSE(registry.hasKey(RegistryRoot::LocalMachine, profiles + u"\\gone.exe"));
    EXPECT_TRUE(registry.hasKey(RegistryRoot::LocalMachine, profiles + u"\\bad."));
    const auto notepad = registry.get(RegistryRoot::LocalMachine, profiles + u"\\NOTEPAD.EXE", u"Overrides");
    ASSERT_NE(notepad, nullptr);
    EXPECT_EQ(notepad->data, (Bytes{0x08, 0x08, 0, 0}));

    auto back = std::make_unique<Settings>();
    SettingsStore(registry).Load(*back);
    ASSERT_EQ(back->profiles.all().size(), 2u);
    ASSERT_NE(back->profiles.Find(u"wordpad.exe"), nullptr);
    EXPECT_EQ(back->profiles.Find(u"notepad.exe")->image.records[3].actionCode(), 2);
}

// Everything a save can write: the records, the macros, the names, the feedback choice, a
// changed profile, a new one and a removed one, over stored values of every kind.
class FailingSave : public Store {
protected:
    void SetUp() override {
        put(kButtonSetting, Pattern(19488, 3));
        put(kMacroSetting, Pattern(214004, 4));
        Bytes names = {'1', 0, '=', 0, 'A', 0, 0, 0, 0, 0};
        put(kMacroNames, names);
        PutProfile(registry, u"kept.exe", 5, 2);
        PutProfile(registry, u"removed.exe", 6, 4);
        store.Load(*settings);
        blob().records[0].setActionCode(7);
        settings->macros.bytes[100] ^= 0xFF;
        settings->macroNames.setName(4, u"Four");
        settings->feedback = true;
        settings->profiles.Remove(u"removed.exe");
        OverrideSlot(*settings->profiles.Find(u"kept.exe"), blob().records, 5, 3);
        settings->profiles.Add(u"added.exe", blob());
        before = registry.keys;
    }
    test::FakeRegistry::Keys before;
};

TEST_F(FailingSave, AFailureAtAnyWriteLeavesTheRegistryAsItWas) {
    // A save that goes through, to count its writes.
    test::FakeRegistry counted = registry;
    counted.writes = 0;
    ASSERT_TRUE(SettingsStore(counted).Save(*settings, SaveScope{true, true}));
    const int writes = counted.writes;
    ASSERT_GE(writes, 9);
    const test::FakeRegistry::Keys after = counted.keys;
    ASSERT_NE(after, before);

    for (int n = 1; n <= writes; ++n) {
        SCOPED_TRACE(n);
        test::FakeRegistry failing = registry;
        failing.failAtWrite = n;
        EXPECT_FALSE(SettingsStore(failing).Save(*settings, SaveScope{true, true}));
        EXPECT_EQ(failing.keys, before);
        EXPECT_EQ(failing.openHandles(), 0);
    }
}

TEST_F(FailingSave, OnAnEmptyRegistryNothingIsLeftBehind) {
    registry.keys.clear();
    before = registry.keys;
    test::FakeRegistry counted = registry;
    ASSERT_TRUE(SettingsStore(counted).Save(*settings, SaveScope{true, true}));
    for (int n = 1; n <= counted.writes; ++n) {
        SCOPED_TRACE(n);
        test::FakeRegistry failing = registry;
        failing.failAtWrite = n;
        EXPECT_FALSE(SettingsStore(failing).Save(*settings, SaveScope{true, true}));
        EXPECT_TRUE(failing.keys.empty());
    }
}

TEST_F(Store, TheWindowPlaceIsTheUsersOwnAndOnlyASoundOneIsTaken) {
    EXPECT_FALSE(store.LoadWindowPlace()) << "nothing stored";
    ASSERT_TRUE(store.SaveWindowPlace(Point{-1700, 42}));  // a monitor left of the primary
    const RegistryValue* place = stored(kWindowPlace);
    ASSERT_NE(place, nullptr);
    EXPECT_EQ(kWindowPlace.root, RegistryRoot::CurrentUser);
    EXPECT_EQ(place->data, (Bytes{0x5c, 0xf9, 0xff, 0xff, 42, 0, 0, 0}));
    EXPECT_EQ(store.LoadWindowPlace(), (Point{-1700, 42}));
    std::size_t values = 0;
    for (const auto& [id, key] : registry.keys) {
        EXPECT_EQ(id.root, RegistryRoot::CurrentUser) << "nothing of the machine's";
        values += key.values.size();
    }
    EXPECT_EQ(values, 1u) << "the place alone";

    const Bytes sound{10, 0, 0, 0, 20, 0, 0, 0};
    for (const auto& [data, type] : std::vector<std::pair<Bytes, std::uint32_t>>{
             {Bytes(7, 0), kRegBinary},                            // too short
             {Bytes(9, 0), kRegBinary},                            // too long
             {sound, kRegDword},                                   // wrong type
             {{0, 0, 0, 0x80, 20, 0, 0, 0}, kRegBinary},           // x at INT32_MIN
             {{1, 0, 1, 0, 20, 0, 0, 0}, kRegBinary},              // x beyond any screen (65537)
             {{0, 0, 0, 0, 0xff, 0xff, 0xfe, 0xff}, kRegBinary}})  // y below any screen
    {
        put(kWindowPlace, data, type);
        EXPECT_FALSE(store.LoadWindowPlace()) << "size " << data.size() << " type " << type;
    }
    put(kWindowPlace, {0, 0, 1, 0, 0, 0, 0xff, 0xff});  // the farthest still taken: 65536, -65536
    EXPECT_EQ(store.LoadWindowPlace(), (Point{65536, -65536}));

    registry.failWrites = true;
    EXPECT_FALSE(store.SaveWindowPlace(Point{1, 2}));
    EXPECT_EQ(store.LoadWindowPlace(), (Point{65536, -65536})) << "a refused save changes nothing";
}

TEST(LeadingDecimal, ReadsOnlyTheLeadingDigitsWithinTheValue) {
    EXPECT_EQ(LeadingDecimal(Utf16(u"3")), 3);
    EXPECT_EQ(LeadingDecimal(Utf16(u"12 lines")), 12);
    EXPECT_EQ(LeadingDecimal(Utf16(u"-1")), 0);
    EXPECT_EQ(LeadingDecimal(Utf16(u"")), 0);
    EXPECT_EQ(LeadingDecimal(Utf16(u"77", false)), 77);  // no terminator stored
    EXPECT_EQ(LeadingDecimal({'5', 0, '1'}), 5);          // odd length: the half unit is ignored
    EXPECT_EQ(LeadingDecimal(Utf16(u"99999999999999")), INT32_MAX);
}

}  // namespace
}  // namespace mv
