// The .reg file reader and the backup check on arbitrary files: whatever the reader
// accepts writes back to a file that reads the same, and whatever the check accepts
// imports and exports again to the same settings.
#include <cstring>
#include <memory>

#include "fuzz_check.h"
#include "settings/reg_file.h"
#include "settings/settings_backup.h"
#include "settings/settings_store.h"
#include "support/fake_registry.h"
#include "gesture/record_check.h"
#include "support/fake_session.h"

using namespace mv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // Mode 0: the bytes as they are. Mode 1: a header, then each byte as one UTF-16 unit,
    // so that mutations stay in the text the format is made of.
    std::vector<std::uint8_t> file;
    if (data[0] & 1) {
        file = {0xFF, 0xFE};
        for (char16_t c : std::u16string(kRegFileHeader) + u"\r\n") file.insert(file.end(), {std::uint8_t(c), 0});
        for (std::size_t i = 1; i < size; ++i) file.insert(file.end(), {data[i], 0});
    } else {
        file.assign(data + 1, data + size);
    }

    const RegFileResult read = ReadRegFile(file.data(), file.size());
    if (read.ok()) {
        const std::vector<std::uint8_t> again = WriteRegFile(read.keys);
        const RegFileResult reread = ReadRegFile(again.data(), again.size());
        // Names holding line breaks cannot be written; everything else reads back the same.
        bool writable = true;
        for (const RegFileKey& k : read.keys) {
            if (k.path.find_first_of(u"\r\n") != std::u16string::npos) writable = false;
            for (const RegFileValue& v : k.values)
                if (v.name.find_first_of(u"\r\n") != std::u16string::npos) writable = false;
        }
        if (writable) {
            FUZZ_CHECK(reread.ok());
            FUZZ_CHECK(reread.keys == read.keys);
        }
    } else {
        FUZZ_CHECK(read.keys.empty());
    }

    const BackupCheck check = CheckBackupFile(file.data(), file.size());
    if (!check.ok()) {
        FUZZ_CHECK(check.backup.values.empty() && check.backup.profiles.empty());
        return 0;
    }
    FUZZ_CHECK(read.ok());
    for (const SettingsBackup::Value& v : check.backup.values)
        FUZZ_CHECK(v.data.size() >= v.kind->minSize && v.data.size() <= v.kind->maxSize);
    for (const Profile& p : check.backup.profiles.all()) {
        FUZZ_CHECK(ValidProgramName(p.program));
        FUZZ_CHECK((p.overrides & ~kAllSlots) == 0);
    }
    // Imported and exported again, the file's settings come back unchanged.
    auto fakes = std::make_unique<test::SessionFakes>();
    fakes->session.Load();
    // The import reads the file once more and checks every record of it: a file it takes
    // leaves no record that fails the check, and one it refuses names what fails.
    fakes->files.files[u"f.reg"] = file;
    const ImportPlan plan = fakes->session.ReadImport(u"f.reg");
    if (!plan.check.ok()) {
        FUZZ_CHECK(plan.check.problem == BackupProblem::UnsafeRecord && !plan.check.name.empty());
        return 0;
    }
    FUZZ_CHECK(fakes->session.Import(check.backup).ok());
    FUZZ_CHECK(RefusedRecords(fakes->session.settings()).empty());
    for (const std::u16string& opens : plan.opens) FUZZ_CHECK(!opens.empty());
    test::FakeRegistry& registry = fakes->registry;
    FUZZ_CHECK(registry.openHandles() == 0);
    const std::vector<std::uint8_t> exported = ExportSettings(registry);
    const BackupCheck back = CheckBackupFile(exported.data(), exported.size());
    FUZZ_CHECK(back.ok());
    for (const SettingsBackup::Value& v : check.backup.values) {
        const SettingsBackup::Value* w = back.backup.find(*v.kind);
        if (v.kind == &kMacroNames) {
            // Names are stored as read: malformed items dropped, none at all no value.
            MacroNames a, b;
            a.Parse(v.data);
            if (w) b.Parse(w->data);
            FUZZ_CHECK(a == b);
            continue;
        }
        FUZZ_CHECK(w != nullptr);
        if (v.kind == &kGestureFeedback) {
            FUZZ_CHECK(FeedbackChosen(RegistryValue{v.kind->type, v.data}) == FeedbackChosen(RegistryValue{w->kind->type, w->data}));
        } else {
            FUZZ_CHECK(w->data == v.data);
        }
    }
    FUZZ_CHECK(back.backup.profiles.all().size() == check.backup.profiles.all().size());
    for (const Profile& p : check.backup.profiles.all()) {
        const Profile* q = back.backup.profiles.Find(p.program);
        FUZZ_CHECK(q && q->overrides == p.overrides);
        FUZZ_CHECK(std::memcmp(BlobBytes(q->image), BlobBytes(p.image), ButtonSettingBlob::kSize) == 0);
    }
    return 0;
}
