// Backing the settings up to a .reg file and reading one back: every value of ours
// round-trips, and a file is accepted only when all of it is ours and sound.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "settings/settings_backup.h"
#include "settings/settings_store.h"
#include "support/fake_registry.h"
#include "support/fake_session.h"

namespace mv {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr auto HKLM = RegistryRoot::LocalMachine;

Bytes Pattern(std::size_t size, std::uint8_t seed) {
    Bytes b(size);
    for (std::size_t i = 0; i < size; ++i) b[i] = static_cast<std::uint8_t>(seed + i * 7 + (i >> 9));
    return b;
}

std::string Narrow(const Bytes& file) {
    std::string s;
    for (std::size_t i = 2; i + 1 < file.size(); i += 2) s.push_back(static_cast<char>(file[i]));
    return s;
}
Bytes Wide(const std::string& s) {
    Bytes b{0xFF, 0xFE};
    for (unsigned char c : s) b.insert(b.end(), {c, 0});
    return b;
}

class Backup : public ::testing::Test {
protected:
    void storeSettings() {
        registry.put(HKLM, kButtonSetting.key, kButtonSetting.name, kRegBinary, Pattern(ButtonSettingBlob::kSize, 1));
        registry.put(HKLM, kMacroSetting.key, kMacroSetting.name, kRegBinary, Pattern(MacroStore::kSize, 2));
        SettingsStore store(registry);
        auto settings = std::make_unique<Settings>();
        store.Load(*settings);
        ButtonSettingBlob& all = settings->allPrograms;
        ProfileSet& set = settings->profiles;
        OverrideSlot(*set.Add(u"notepad.exe", all), all.records, 11, 0x41);
        OverrideSlot(*set.Add(u"[x] y.exe", all), all.records, 5, 0x50);
        ASSERT_TRUE(store.Save(*settings, SaveScope{}));
    }
    // Imports `backup` through a session over this registry, as the program does.
    void importBackup(const SettingsBackup& backup) {
        auto fakes = std::make_unique<test::SessionFakes>();
        fakes->registry = registry;
        fakes->session.Load();
        ASSERT_TRUE(fakes->session.Import(backup).ok());
        registry = fakes->registry;
    }
    // Every stored value of ours: key, name, type, bytes.
    std::map<std::pair<std::u16string, std::u16string>, RegistryValue> ours() const {
        std::map<std::pair<std::u16string, std::u16string>, RegistryValue> out;
        for (const auto& [id, key] : registry.keys)
            for (const auto& [name, value] : key.values) out[{id.path, name}] = value;
        return out;
    }
    BackupCheck check(const Bytes& file) { return CheckBackupFile(file.data(), file.size()); }

    test::FakeRegistry registry;
};

TEST_F(Backup, ExportRestoreImportGivesTheSameValuesByteForByte) {
    storeSettings();
    const auto before = ours();
    const Bytes file = ExportSettings(registry);
    const std::string text = Narrow(file);
    EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Morvi\\MVSET\\Corvel]\r\n"
                         "\"ButtonSetting\"=hex:01,",
                         0),
              0u);
    EXPECT_NE(text.find("[-HKEY_LOCAL_MACHINE\\Software\\Morvi\\MVSET\\Corvel\\Profiles]\r\n"), std::string::npos);
    EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\Software\\Morvi\\MVSET\\Corvel\\Profiles\\notepad.exe]\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("\"Overrides\"=dword:00000800\r\n"), std::string::npos);

    // Restore defaults with the profiles removed, and a profile added since.
    registry.keys.clear();
    registry.put(HKLM, kButtonSetting.key, kButtonSetting.name, kRegBinary, Bytes(ButtonSettingBlob::kSize, 0));
    registry.put(HKLM, kMacroSetting.key, kMacroSetting.name, kRegBinary, Pattern(MacroStore::kSize, 2));
    registry.put(HKLM, std::u16string(kProfilesKey) + u"\\later.exe", kProfileOverrides.name, kRegDword, {1, 0, 0, 0});

    const BackupCheck read = check(file);
    ASSERT_TRUE(read.ok()) << int(read.problem) << " line " << read.line;
    EXPECT_TRUE(read.backup.replacesProfiles);
    ASSERT_EQ(read.backup.values.size(), 2u);
    ASSERT_EQ(read.backup.profiles.all().size(), 2u);
    importBackup(read.backup);
    auto after = ours();
    EXPECT_EQ(after.size(), before.size());
    for (const auto& [id, value] : before) {
        ASSERT_TRUE(after.count(id)) << std::string(id.second.begin(), id.second.end());
        EXPECT_EQ(after[id].type, value.type);
        EXPECT_TRUE(after[id].data == value.data) << std::string(id.second.begin(), id.second.end());
    }
    // Exporting again writes the same file.
    EXPECT_EQ(ExportSettings(registry), file);
}

TEST_F(Backup, OnA64BitSystemTheFileNamesThe32BitViewAndEitherSpellingIsAccepted) {
    storeSettings();
    const Bytes native = ExportSettings(registry);
    const Bytes wow64 = ExportSettings(registry, nullptr, RegistryView::Wow64);
    const std::string text = Narrow(wow64);
    EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\Software\\WOW6432Node\\Morvi\\MVSET\\Corvel]\r\n"), std::string::npos);
    EXPECT_NE(text.find("[-HKEY_LOCAL_MACHINE\\Software\\WOW6432Node\\Morvi\\MVSET\\Corvel\\Profiles]"), std::string::npos);
    EXPECT_EQ(text.find("[HKEY_LOCAL_MACHINE\\Software\\Morvi"), std::string::npos);
    const BackupCheck a = check(native);
    const BackupCheck b = check(wow64);
    ASSERT_TRUE(a.ok());
    ASSERT_TRUE(b.ok()) << int(b.problem) << " line " << b.line;
    ASSERT_EQ(a.backup.values.size(), b.backup.values.size());
    for (std::size_t i = 0; i < a.backup.values.size(); ++i) {
        EXPECT_EQ(a.backup.values[i].kind, b.backup.values[i].kind);
        EXPECT_EQ(a.backup.values[i].data, b.backup.values[i].data);
    }
    EXPECT_EQ(a.backup.profiles.all().size(), b.backup.profiles.all().size());
    EXPECT_TRUE(b.backup.replacesProfiles);
    // regedit's export of the 32-bit view, leading keys and all, is ours too.
    const std::string viewed = "Windows Registry Editor Version 5.00\r\n\r\n"
                               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node]\r\n\r\n"
                               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Morvi]\r\n\r\n"
                               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Morvi\\MVSET\\Corvel]\r\n"
                               "\"GestureFeedback\"=dword:00000001\r\n";
    const BackupCheck c = check(Wide(viewed));
    ASSERT_TRUE(c.ok()) << int(c.problem) << " line " << c.line;
    EXPECT_NE(c.backup.find(kGestureFeedback), nullptr);
    // Another key below the 32-bit view is as foreign as anywhere.
    EXPECT_EQ(check(Wide("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Other]\r\n\"x\"=dword:00000001\r\n")).problem,
              BackupProblem::ForeignKey);
}

TEST_F(Backup, NothingStoredExportsAFileThatOnlyRemovesTheProfiles) {
    const Bytes file = ExportSettings(registry);
    EXPECT_EQ(Narrow(file), "Windows Registry Editor Version 5.00\r\n\r\n"
                            "[-HKEY_LOCAL_MACHINE\\Software\\Morvi\\MVSET\\Corvel\\Profiles]\r\n\r\n");
    const BackupCheck read = check(file);
    ASSERT_TRUE(read.ok());
    EXPECT_TRUE(read.backup.values.empty());
    // A stored value this program would not take back is not exported, and is named.
    registry.put(HKLM, kButtonSetting.key, kButtonSetting.name, kRegBinary, Bytes(100, 1));
    registry.put(HKLM, kMacroSetting.key, kMacroSetting.name, kRegDword, Bytes(4, 1));
    registry.put(HKLM, kCorvelKey, u"GestureFeedback", kRegDword, Bytes(5, 1));
    std::vector<std::u16string> leftOut;
    EXPECT_EQ(ExportSettings(registry, &leftOut), file);
    EXPECT_EQ(leftOut, (std::vector<std::u16string>{u"ButtonSetting", u"MacroSetting", u"GestureFeedback"}));
    // One byte over the size is refused too; the sound values beside it are written.
    registry.put(HKLM, kButtonSetting.key, kButtonSetting.name, kRegBinary, Bytes(ButtonSettingBlob::kSize + 1, 1));
    registry.put(HKLM, kCorvelKey, u"GestureFeedback", kRegDword, Bytes(4, 1));
    leftOut.clear();
    EXPECT_NE(Narrow(ExportSettings(registry, &leftOut)).find("\"GestureFeedback\"=dword:01010101"), std::string::npos);
    EXPECT_EQ(leftOut, (std::vector<std::u16string>{u"ButtonSetting", u"MacroSetting"}));
}

TEST_F(Backup, AcceptsWhatRegeditExportsOfOurKeys) {
    // regedit /E of HKLM\Software\Morvi: the leading keys empty, the profiles key too, no removal.
    std::string file = "Windows Registry Editor Version 5.00\r\n\r\n"
                       "[HKEY_LOCAL_MACHINE\\Software\\Morvi]\r\n\r\n"
                       "[HKEY_LOCAL_MACHINE\\Software\\Morvi\\MVSET]\r\n\r\n"
                       "[HKEY_LOCAL_MACHINE\\Software\\Morvi\\MVSET\\Corvel]\r\n\r\n"
                       "[HKEY_LOCAL_MACHINE\\Software\\Morvi\\MVSET\\Corvel\\Profiles]\r\n\r\n"
                       "[HKEY_LOCAL_MACHINE\\Software\\Morvi\\MVSET\\Corvel\\Profiles\\Notepad.EXE]\r\n"
                       "\"Overrides\"=dword:00000001\r\n\"ButtonSetting\"=hex:";
    for (std::size_t i = 0; i < ButtonSettingBlob::kSize; ++i) file += i + 1 < ButtonSettingBlob::kSize ? "00," : "00";
    file += "\r\n\r\n[hkey_local_machine\\software\\morvi\\mvset\\mvmacro]\r\n";
    const BackupCheck read = check(Wide(file));
    ASSERT_TRUE(read.ok()) << int(read.problem) << " line " << read.line;
    EXPECT_FALSE(read.backup.replacesProfiles);
    ASSERT_EQ(read.backup.profiles.all().size(), 1u);
    EXPECT_EQ(read.backup.profiles.all()[0].program, u"Notepad.EXE");
    EXPECT_EQ(read.backup.profiles.all()[0].overrides, 1u);

    // Without a removal the file's profiles join the stored ones, replacing one of the same name.
    storeSettings();
    importBackup(read.backup);
    const ProfileSet now = SettingsStore(registry).LoadProfiles();
    ASSERT_EQ(now.all().size(), 2u);
    EXPECT_EQ(now.Find(u"notepad.exe")->program, u"Notepad.EXE");
    EXPECT_NE(now.Find(u"[x] y.exe"), nullptr);
}

struct Refusal {
    const char* what;
    std::string file;  // after the header line
    BackupProblem problem;
    std::size_t line;
    std::u16string name;
};

TEST_F(Backup, RefusesAnythingNotOursOrNotSoundAtTheFirstProblem) {
    const std::string corvel = "[HKEY_LOCAL_MACHINE\\Software\\Morvi\\MVSET\\Corvel]\r\n";
    const std::string profile = "[HKEY_LOCAL_MACHINE\\Software\\Morvi\\MVSET\\Corvel\\Profiles\\n.exe]\r\n";
    std::string image = "\"ButtonSetting\"=hex:";
    for (std::size_t i = 0; i < ButtonSettingBlob::kSize; ++i) image += i ? ",00" : "00";
    image += "\r\n";
    const Refusal cases[] = {
        {"another root", "[HKEY_CURRENT_USER\\Software\\Morvi\\MVSET\\Corvel]\r\n", BackupProblem::ForeignKey, 2,
         u"HKEY_CURRENT_USER\\Software\\Morvi\\MVSET\\Corvel"},
        {"a key beside ours", "[HKEY_LOCAL_MACHINE\\Software\\Morvi\\MVSET\\Other]\r\n", BackupProblem::ForeignKey, 2,
         u"HKEY_LOCAL_MACHINE\\Software\\Morvi\\MVSET\\Other"},
        {"a value in a leading key", "[HKEY_LOCAL_MACHINE\\Software\\Morvi]\r\n\"X\"=dword:00000001\r\n",
         BackupProblem::ForeignKey, 2, u"HKEY_LOCAL_MACHINE\\Software\\Morvi"},
        {"removing another key", "[-HKEY_LOCAL_MACHINE\\Software\\Morvi\\MVSET\\Corvel]\r\n", BackupProblem::ForeignKey,
         2, u"HKEY_LOCAL_MACHINE\\Software\\Morvi\\MVSET\\Corvel"},
        {"a key below a profile", "[HKEY_LOCAL_MACHINE\\Software\\Morvi\\MVSET\\Corvel\\Profiles\\n.exe\\x]\r\n",
         BackupProblem::ForeignKey, 2, u"HKEY_LOCAL_MACHINE\\Software\\Morvi\\MVSET\\Corvel\\Profiles\\n.exe\\x"},
        {"a foreign value", corvel + "\"Other\"=dword:00000001\r\n", BackupProblem::ForeignValue, 3, u"Other"},
        {"ButtonSetting too short", corvel + "\"ButtonSetting\"=hex:00,01\r\n", BackupProblem::WrongSize, 3,
         u"ButtonSetting"},
        {"ButtonSetting as a dword", corvel + "\"ButtonSetting\"=dword:00000001\r\n", BackupProblem::WrongType, 3,
         u"ButtonSetting"},
        {"ButtonSetting twice", corvel + image + image, BackupProblem::Duplicate, 4, u"ButtonSetting"},
        {"MacroSetting under the wrong key", corvel + "\"MacroSetting\"=hex:00\r\n", BackupProblem::ForeignValue, 3,
         u"MacroSetting"},
        {"a profile's short image", profile + "\"ButtonSetting\"=hex:00\r\n", BackupProblem::WrongSize, 3,
         u"ButtonSetting"},
        {"a profile's wide mask", profile + image + "\"Overrides\"=dword:00020000\r\n", BackupProblem::BadData, 4, u""},
        {"a profile's mask as binary", profile + image + "\"Overrides\"=hex:01,00,00,00\r\n", BackupProblem::WrongType,
         4, u"Overrides"},
        {"a profile's foreign value", profile + "\"Path\"=\"x\"\r\n", BackupProblem::ForeignValue, 3, u"Path"},
        {"a profile without an image", profile + "\"Overrides\"=dword:00000001\r\n", BackupProblem::MissingImage, 2,
         u"n.exe"},
        {"a profile of no program", "[HKEY_LOCAL_MACHINE\\Software\\Morvi\\MVSET\\Corvel\\Profiles\\a:b]\r\n",
         BackupProblem::BadProgram, 2, u"a:b"},
        {"a removal after profiles",
         profile + image + "[-HKEY_LOCAL_MACHINE\\Software\\Morvi\\MVSET\\Corvel\\Profiles]\r\n", BackupProblem::Syntax, 4,
         u""},
        {"nothing of ours", "", BackupProblem::Nothing, 0, u""},
        {"a broken line", corvel + "\"ButtonSetting\"=hex:0\r\n", BackupProblem::BadData, 3, u""},
    };
    for (const Refusal& c : cases) {
        const BackupCheck r = check(Wide("Windows Registry Editor Version 5.00\r\n" + c.file));
        EXPECT_EQ(r.problem, c.problem) << c.what;
        EXPECT_EQ(r.line, c.line) << c.what;
        EXPECT_EQ(r.name, c.name) << c.what;
        EXPECT_TRUE(r.backup.values.empty() && r.backup.profiles.empty()) << c.what;
    }
    const BackupCheck size = check(Wide("Windows Registry Editor Version 5.00\r\n" + corvel + "\"ButtonSetting\"=hex:00,01\r\n"));
    EXPECT_EQ(size.size, 2u);
    EXPECT_EQ(size.expected, ButtonSettingBlob::kSize);
    EXPECT_EQ(check(Bytes{0xEF, 0xBB, 0xBF, 'W'}).problem, BackupProblem::Encoding);
}

TEST_F(Backup, EveryValueOfOursIsListedOnceWithItsSize) {
    const auto& values = kBackupValues;
    ASSERT_GE(values.size(), 2u);
    EXPECT_EQ(std::u16string(values[0]->name), u"ButtonSetting");
    EXPECT_EQ(values[0]->minSize, 19488u);
    EXPECT_EQ(values[0]->maxSize, 19488u);
    EXPECT_EQ(std::u16string(values[1]->name), u"MacroSetting");
    EXPECT_EQ(values[1]->minSize, 214004u);
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_LE(values[i]->minSize, values[i]->maxSize);
        EXPECT_EQ(values[i]->root, RegistryRoot::LocalMachine);
        for (std::size_t j = i + 1; j < values.size(); ++j)
            EXPECT_FALSE(std::u16string(values[i]->key) == values[j]->key &&
                         std::u16string(values[i]->name) == values[j]->name);
    }
}

}  // namespace
}  // namespace mv

#include "i18n/text_catalogue.h"
#include "ui/backup_messages.h"

namespace mv {
namespace {

TEST(BackupMessages, PlaceholdersAndTheShippedTextOfEveryProblem) {
    EXPECT_EQ(FillPlaceholders(u"Line %1: %2 has %3, not %4 (100%%)", {u"7", u"\"X\"", u"2", u"9"}),
              u"Line 7: \"X\" has 2, not 9 (100%)");
    EXPECT_EQ(FillPlaceholders(u"%2%1%3 %", {u"a", u"b"}), u"ba %");
    for (const char* language : {"en", "zh-CN"}) {
        loadTextCatalogue(u"" MV_SOURCE_DIR "/lang/" + std::u16string(language, language + std::strlen(language)) +
                          u"/language.xml");
        for (int p = static_cast<int>(BackupProblem::FileUnreadable); p <= static_cast<int>(BackupProblem::Nothing); ++p) {
            const std::string_view key = BackupProblemKey(static_cast<BackupProblem>(p));
            ASSERT_FALSE(key.empty()) << p;
            EXPECT_FALSE(tr(key).empty()) << language << " " << key;
        }
        BackupCheck check;
        check.problem = BackupProblem::WrongSize;
        check.line = 12;
        check.name = u"ButtonSetting";
        check.size = 2;
        check.expected = 19488;
        const std::u16string text = BackupRefusalText(check);
        for (std::u16string part : {u"12", u"\"ButtonSetting\"", u"2", u"19488"})
            EXPECT_NE(text.find(part), std::u16string::npos) << language;
        EXPECT_EQ(text.find(u'%'), std::u16string::npos) << language;
    }
    loadTextCatalogue(u"");
}

}  // namespace
}  // namespace mv
