// The settings store against the real registry of the Wine prefix.
#include <gtest/gtest.h>
#include <windows.h>

#include "gesture/settings_store.h"
#include "win32/win32_registry.h"

namespace mv::wintest {
namespace {

void DeleteStoreKeys() {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Morvi\\MVSET");
}

TEST(RealRegistry, SaveThenLoadRoundTripsBothImagesAndShortValuesReplaceOnlyTheirStart) {
    DeleteStoreKeys();
    Win32Registry registry;
    ButtonSettingBlob blob;
    MacroStore macros;
    ResetRecordsToDefaults(blob.records);
    blob.records[4].setActionCode(20);
    blob.records[4].bytes[2] = 3;
    blob.header[5] = 0xAB;
    macros.bytes[4 + 2140 * 3 + 12] = 2;
    SettingsStore(registry, blob, macros).SaveSettings();

    DWORD size = 0;
    ASSERT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Morvi\\MVSET\\Corvel", L"ButtonSetting", RRF_RT_REG_BINARY,
                           nullptr, nullptr, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(size, 19488u);
    ASSERT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Morvi\\MVSET\\MVMacro\\Corvel", L"MacroSetting",
                           RRF_RT_REG_BINARY, nullptr, nullptr, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(size, 214004u);

    ButtonSettingBlob loaded;
    MacroStore loadedMacros;
    SettingsStore(registry, loaded, loadedMacros).LoadSettings();
    EXPECT_EQ(loaded.records, blob.records);
    EXPECT_EQ(loaded.header, blob.header);
    EXPECT_EQ(loadedMacros.bytes, macros.bytes);

    // A too-long value is ignored; a short string value replaces only its bytes.
    HKEY key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Morvi\\MVSET\\Corvel", 0, KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    std::vector<BYTE> tooLong(19489, 0x77);
    RegSetValueExW(key, L"ButtonSetting", 0, REG_BINARY, tooLong.data(), static_cast<DWORD>(tooLong.size()));
    ButtonSettingBlob afterLong = blob;
    SettingsStore(registry, afterLong, loadedMacros).LoadSettings();
    EXPECT_EQ(afterLong.records, blob.records);

    const wchar_t text[] = L"abc";
    RegSetValueExW(key, L"ButtonSetting", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
    RegCloseKey(key);
    ButtonSettingBlob afterShort = blob;
    SettingsStore(registry, afterShort, loadedMacros).LoadSettings();
    EXPECT_EQ(afterShort.header[0], 'a');
    EXPECT_EQ(afterShort.header[7], 0);
    EXPECT_EQ(afterShort.header[8], blob.header[8]);
    EXPECT_EQ(afterShort.records, blob.records);
    DeleteStoreKeys();
}

}  // namespace
}  // namespace mv::wintest
