// Loading, saving, applying and restoring the registry images.
#include <gtest/gtest.h>

#include "gesture/bytes.h"
#include "gesture/settings_store.h"
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

class Settings : public ::testing::Test {
protected:
    Settings() { ResetRecordsToDefaults(blob.records); }
    Bytes blobBytes() const { return Bytes(BlobBytes(blob), BlobBytes(blob) + sizeof blob); }

    test::FakeRegistry registry;
    ButtonSettingBlob blob;
    MacroStore macros;
    SettingsStore store{registry, blob, macros};
};

TEST_F(Settings, FirstStartWithoutKeysKeepsDefaultsAndFirstApplyWritesBothValuesInFull) {
    store.LoadSettings();
    for (int n = 0; n < kSlotCount; ++n) EXPECT_EQ(blob.records[n].actionCode(), DefaultActionTable[n]);

    registry.log.clear();
    bool warned = false;
    EXPECT_TRUE(store.ApplySettings([] { return true; }, [&] { warned = true; }));
    EXPECT_FALSE(warned);
    const auto* b = registry.get(HKLM, kButtonSettingKey, kButtonSettingValue);
    const auto* m = registry.get(HKLM, kMacroSettingKey, kMacroSettingValue);
    ASSERT_TRUE(b && m);
    EXPECT_EQ(b->type, kRegBinary);
    EXPECT_EQ(b->data, blobBytes());
    EXPECT_EQ(m->type, kRegBinary);
    EXPECT_EQ(m->data.size(), 214004u);
    EXPECT_EQ(registry.openHandles(), 0);
    EXPECT_EQ(registry.log[0], "open Software\\Morvi\\MVSET\\Corvel 2001F");
    EXPECT_EQ(registry.log[1], "create Software\\Morvi\\MVSET\\Corvel 2001F");
}

TEST_F(Settings, StoredValuesRoundTripAndKeepUnknownBytes) {
    const Bytes stored = Pattern(19488, 5);
    const Bytes storedMacros = Pattern(214004, 9);
    registry.put(HKLM, kButtonSettingKey, kButtonSettingValue, kRegBinary, stored);
    registry.put(HKLM, kMacroSettingKey, kMacroSettingValue, kRegBinary, storedMacros);
    store.LoadSettings();
    EXPECT_EQ(blobBytes(), stored);
    EXPECT_EQ(Bytes(macros.bytes.begin(), macros.bytes.end()), storedMacros);

    blob.records[4].setActionCode(20);
    store.SaveSettings();
    Bytes expected = stored;
    expected[16 + 526 * 4 + 1] = 20;
    EXPECT_EQ(registry.get(HKLM, kButtonSettingKey, kButtonSettingValue)->data, expected);
    EXPECT_EQ(registry.get(HKLM, kMacroSettingKey, kMacroSettingValue)->data, storedMacros);
}

TEST_F(Settings, MalformedValuesNeverCorruptWhatTheyDoNotCover) {
    const Bytes defaults = blobBytes();
    // Too long: ignored entirely.
    registry.put(HKLM, kButtonSettingKey, kButtonSettingValue, kRegBinary, Pattern(19489, 1));
    store.LoadSettings();
    EXPECT_EQ(blobBytes(), defaults);

    // Too short and of the wrong type: replaces only its own length.
    const Bytes shortValue = Pattern(16 + 526 + 3, 2);
    registry.put(HKLM, kButtonSettingKey, kButtonSettingValue, kRegSz, shortValue);
    store.LoadSettings();
    const Bytes now = blobBytes();
    EXPECT_TRUE(std::equal(shortValue.begin(), shortValue.end(), now.begin()));
    EXPECT_TRUE(std::equal(defaults.begin() + shortValue.size(), defaults.end(), now.begin() + shortValue.size()));
    for (int n = 2; n < kSlotCount; ++n) EXPECT_EQ(blob.records[n].actionCode(), DefaultActionTable[n]);

    // Empty value: nothing changes.
    registry.put(HKLM, kButtonSettingKey, kButtonSettingValue, kRegDword, {});
    store.LoadSettings();
    EXPECT_EQ(blobBytes(), now);
}

TEST_F(Settings, FailedApplyWarnsSavesNothingAndKeepsTheRecords) {
    registry.put(HKLM, kButtonSettingKey, kButtonSettingValue, kRegBinary, Pattern(19488, 3));
    blob.records[1].setActionCode(0x41);
    const Bytes before = blobBytes();
    int warnings = 0;
    EXPECT_FALSE(store.ApplySettings(
        [&] {
            blob.records[1].setActionCode(0x99);  // whatever the attempt did is undone
            return false;
        },
        [&] { ++warnings; }));
    EXPECT_EQ(warnings, 1);
    EXPECT_EQ(blobBytes(), before);
    EXPECT_EQ(registry.get(HKLM, kButtonSettingKey, kButtonSettingValue)->data, Pattern(19488, 3));
    EXPECT_EQ(registry.get(HKLM, kMacroSettingKey, kMacroSettingValue), nullptr);
}

TEST_F(Settings, RestoreDefaultsKeepsMacrosClearsParametersAndResetsThePointer) {
    registry.put(HKLM, kButtonSettingKey, kButtonSettingValue, kRegBinary, Pattern(19488, 7));
    registry.put(HKLM, kMacroSettingKey, kMacroSettingValue, kRegBinary, Pattern(214004, 8));
    registry.put(HKLM, kDesktopKey, kWheelScrollLinesValue, kRegSz, Utf16(u"42x7"));
    store.LoadSettings();
    std::vector<std::string> order;
    store.RestoreDefaults(
        [&] {
            order.push_back("device");
            return false;
        },
        registry);

    Bytes expectedSaved(19488, 0);
    for (int n = 0; n < kSlotCount; ++n) expectedSaved[16 + 526 * n + 1] = DefaultActionTable[n];
    EXPECT_EQ(registry.get(HKLM, kButtonSettingKey, kButtonSettingValue)->data, expectedSaved)
        << "wheel lines and the mark reach the registry only with the next save";
    EXPECT_EQ(registry.get(HKLM, kMacroSettingKey, kMacroSettingValue)->data, Pattern(214004, 8));
    EXPECT_EQ(order, (std::vector<std::string>{"device"}));
    EXPECT_EQ(readLe32(blob.wheelLines.data()), 42u);
    EXPECT_EQ(readLe32(blob.restoreMark.data()), 3u);
    for (int n = 0; n < kSlotCount; ++n) {
        EXPECT_EQ(blob.records[n].actionCode(), DefaultActionTable[n]);
        EXPECT_EQ(blob.records[n].programPath(), u"");
        EXPECT_EQ(blob.records[n].chordKey1(), 0);
    }
    ASSERT_GE(registry.log.size(), 2u);
    EXPECT_EQ((std::vector<std::string>(registry.log.end() - 2, registry.log.end())),
              (std::vector<std::string>{"speed 10", "mouse 6 10 1"}));
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
