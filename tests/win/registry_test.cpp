// The settings store against the real registry of the Wine prefix: round trips, and a save
// taken back when a write fails.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "settings/settings_store.h"
#include "win32/win32_registry.h"

namespace mv::wintest {
namespace {

void DeleteStoreKeys() {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Morvi\\MVSET");
}

TEST(RealRegistry, SaveThenLoadRoundTripsBothImagesAndShortValuesReplaceOnlyTheirStart) {
    DeleteStoreKeys();
    Win32Registry registry;
    auto settings = std::make_unique<Settings>();
    ButtonSettingBlob& blob = settings->allPrograms;
    MacroStore& macros = settings->macros;
    ResetRecordsToDefaults(blob.records);
    blob.records[4].setActionCode(20);
    blob.records[4].bytes[2] = 3;
    blob.header[5] = 0xAB;
    macros.bytes[4 + 2140 * 3 + 12] = 2;
    ASSERT_TRUE(SettingsStore(registry).Save(*settings, SaveScope{}));

    DWORD size = 0;
    ASSERT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Morvi\\MVSET\\Corvel", L"ButtonSetting", RRF_RT_REG_BINARY,
                           nullptr, nullptr, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(size, 19488u);
    ASSERT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Morvi\\MVSET\\MVMacro\\Corvel", L"MacroSetting",
                           RRF_RT_REG_BINARY, nullptr, nullptr, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(size, 214004u);

    auto loaded = std::make_unique<Settings>();
    SettingsStore(registry).Load(*loaded);
    EXPECT_EQ(loaded->allPrograms.records, blob.records);
    EXPECT_EQ(loaded->allPrograms.header, blob.header);
    EXPECT_EQ(loaded->macros.bytes, macros.bytes);

    // A too-long value is ignored; a short string value replaces only its bytes.
    HKEY key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Morvi\\MVSET\\Corvel", 0, KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    std::vector<BYTE> tooLong(19489, 0x77);
    RegSetValueExW(key, L"ButtonSetting", 0, REG_BINARY, tooLong.data(), static_cast<DWORD>(tooLong.size()));
    auto afterLong = std::make_unique<Settings>(*settings);
    SettingsStore(registry).Load(*afterLong);
    EXPECT_EQ(afterLong->allPrograms.records, blob.records);

    const wchar_t text[] = L"abc";
    RegSetValueExW(key, L"ButtonSetting", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
    RegCloseKey(key);
    auto afterShort = std::make_unique<Settings>(*settings);
    SettingsStore(registry).Load(*afterShort);
    EXPECT_EQ(afterShort->allPrograms.header[0], 'a');
    EXPECT_EQ(afterShort->allPrograms.header[7], 0);
    EXPECT_EQ(afterShort->allPrograms.header[8], blob.header[8]);
    EXPECT_EQ(afterShort->allPrograms.records, blob.records);
    DeleteStoreKeys();
}

// The real registry with its Nth write refused.
class FailingRegistry : public RegistrySeam {
public:
    int failAt = 0;
    int writes = 0;
    RegistryKey openKey(RegistryRoot root, const std::u16string& path, std::uint32_t access) override {
        return real_.openKey(root, path, access);
    }
    RegistryKey createKey(RegistryRoot root, const std::u16string& path, std::uint32_t access) override {
        return write() ? real_.createKey(root, path, access) : 0;
    }
    std::optional<RegistryValue> queryValue(RegistryKey key, const std::u16string& name, std::size_t capacity) override {
        return real_.queryValue(key, name, capacity);
    }
    bool setValue(RegistryKey key, const std::u16string& name, std::uint32_t type, const std::uint8_t* data,
                  std::size_t size) override {
        return write() && real_.setValue(key, name, type, data, size);
    }
    bool deleteValue(RegistryKey key, const std::u16string& name) override {
        return write() && real_.deleteValue(key, name);
    }
    void closeKey(RegistryKey key) override { real_.closeKey(key); }
    std::vector<std::u16string> subkeyNames(RegistryKey key) override { return real_.subkeyNames(key); }
    bool deleteTree(RegistryRoot root, const std::u16string& path) override {
        return write() && real_.deleteTree(root, path);
    }
    bool restrictToAdministrators(RegistryRoot root, const std::u16string& path) override {
        return real_.restrictToAdministrators(root, path);
    }

private:
    bool write() { return ++writes != failAt; }
    Win32Registry real_;
};

// Every value below HKLM\Software\Morvi\MVSET, by key path and name: type and bytes.
std::map<std::wstring, std::vector<BYTE>> StoredValues() {
    std::map<std::wstring, std::vector<BYTE>> out;
    std::vector<std::wstring> pending{L"Software\\Morvi\\MVSET"};
    while (!pending.empty()) {
        const std::wstring path = pending.back();
        pending.pop_back();
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) continue;
        out[path + L"\\"] = {};
        for (DWORD i = 0;; ++i) {
            wchar_t name[256];
            DWORD length = 256;
            if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            pending.push_back(path + L"\\" + name);
        }
        for (DWORD i = 0;; ++i) {
            wchar_t name[256];
            DWORD length = 256, type = 0, size = 0;
            if (RegEnumValueW(key, i, name, &length, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
            std::vector<BYTE> data(size + 1);
            data[0] = static_cast<BYTE>(type);
            RegQueryValueExW(key, name, nullptr, nullptr, data.data() + 1, &size);
            out[path + L"\\" + name] = data;
        }
        RegCloseKey(key);
    }
    return out;
}

// Whether the key's access list grants Users (S-1-5-32-545) anything.
bool UsersMayRead(const wchar_t* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, READ_CONTROL, &key) != ERROR_SUCCESS) return false;
    std::vector<BYTE> buffer(4096);
    DWORD size = static_cast<DWORD>(buffer.size());
    const LONG read = RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, buffer.data(), &size);
    RegCloseKey(key);
    if (read != ERROR_SUCCESS) return false;
    BOOL present = FALSE, defaulted = FALSE;
    PACL acl = nullptr;
    if (!GetSecurityDescriptorDacl(buffer.data(), &present, &acl, &defaulted)) return false;
    if (!present || !acl) return true;  // no list at all: everyone may
    BYTE users[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof users;
    CreateWellKnownSid(WinBuiltinUsersSid, nullptr, users, &sidSize);
    for (DWORD i = 0; i < acl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        if (GetAce(acl, i, reinterpret_cast<void**>(&ace)) && ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE &&
            EqualSid(&ace->SidStart, users))
            return true;
    }
    return false;
}

TEST(RealRegistry, TheMacrosAreForAdministratorsAloneAndTheFunctionsStayReadable) {
    DeleteStoreKeys();
    Win32Registry registry;
    auto settings = std::make_unique<Settings>();
    ResetRecordsToDefaults(settings->allPrograms.records);
    settings->macroNames.setName(0, u"typed text");
    ASSERT_TRUE(SettingsStore(registry).Save(*settings, SaveScope{}));
    EXPECT_FALSE(UsersMayRead(L"Software\\Morvi\\MVSET\\MVMacro\\Corvel"));
    EXPECT_TRUE(UsersMayRead(L"Software\\Morvi\\MVSET\\Corvel"));
    // The program, elevated, reads them back.
    auto loaded = std::make_unique<Settings>();
    SettingsStore(registry).Load(*loaded);
    EXPECT_EQ(loaded->macroNames.name(0), u"typed text");
    DeleteStoreKeys();
}

TEST(RealRegistry, ASaveFailingAtAnyWriteLeavesEveryStoredValueAsItWas) {
    DeleteStoreKeys();
    Win32Registry registry;
    auto settings = std::make_unique<Settings>();
    ResetRecordsToDefaults(settings->allPrograms.records);
    settings->macroNames.setName(3, u"Three");
    settings->profiles.Add(u"kept.exe", settings->allPrograms);
    settings->profiles.Add(u"removed.exe", settings->allPrograms);
    ASSERT_TRUE(SettingsStore(registry).Save(*settings, SaveScope{true, true}));
    const auto before = StoredValues();

    settings->allPrograms.records[2].setActionCode(3);
    settings->macros.bytes[9] = 9;
    settings->macroNames.clear();
    settings->feedback = true;
    settings->profiles.Remove(u"removed.exe");
    OverrideSlot(*settings->profiles.Find(u"kept.exe"), settings->allPrograms.records, 4, 2);
    settings->profiles.Add(u"added.exe", settings->allPrograms);
    FailingRegistry counting;
    ASSERT_TRUE(SettingsStore(counting).Save(*settings, SaveScope{true, true}));
    const int writes = counting.writes;
    ASSERT_NE(StoredValues(), before);

    for (int n = 1; n <= writes; ++n) {
        SCOPED_TRACE(n);
        // Back to the first state, then a save that fails at write n.
        DeleteStoreKeys();
        auto first = std::make_unique<Settings>();
        ResetRecordsToDefaults(first->allPrograms.records);
        first->macroNames.setName(3, u"Three");
        first->profiles.Add(u"kept.exe", first->allPrograms);
        first->profiles.Add(u"removed.exe", first->allPrograms);
        ASSERT_TRUE(SettingsStore(registry).Save(*first, SaveScope{true, true}));
        FailingRegistry failing;
        failing.failAt = n;
        EXPECT_FALSE(SettingsStore(failing).Save(*settings, SaveScope{true, true}));
        EXPECT_EQ(StoredValues(), before);
    }
    DeleteStoreKeys();
}

}  // namespace
}  // namespace mv::wintest
