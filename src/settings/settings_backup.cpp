#include "settings/settings_backup.h"

#include <algorithm>

#include "settings/settings_store.h"

namespace mv {

namespace {

// What export reads of a stored value at least; a larger value reads as missing.
constexpr std::size_t kQueryRoom = 1 << 20;

bool SamePath(std::u16string_view a, std::u16string_view b) { return SameProgram(a, b); }

constexpr std::u16string_view kSoftware = u"Software";
constexpr std::u16string_view kWow64Software = u"Software\\WOW6432Node";

// `part` followed by the end or a backslash starts `path`.
bool StartsWithKey(std::u16string_view path, std::u16string_view part) {
    return path.size() >= part.size() && SamePath(path.substr(0, part.size()), part) &&
           (path.size() == part.size() || path[part.size()] == u'\\');
}

std::u16string Full(std::u16string_view key, RegistryView view) {
    std::u16string path = kLocalMachinePrefix;
    if (view == RegistryView::Wow64 && StartsWithKey(key, kSoftware))
        path += std::u16string(kWow64Software) + std::u16string(key.substr(kSoftware.size()));
    else
        path += key;
    return path;
}

// `path` below HKEY_LOCAL_MACHINE, with the 32-bit view's spelling taken back to ours;
// false for another root.
bool BelowLocalMachine(std::u16string_view path, std::u16string& rest) {
    const std::u16string_view prefix = kLocalMachinePrefix;
    if (path.size() < prefix.size() || !SamePath(path.substr(0, prefix.size()), prefix)) return false;
    const std::u16string_view below = path.substr(prefix.size());
    rest = StartsWithKey(below, kWow64Software)
               ? std::u16string(kSoftware) + std::u16string(below.substr(kWow64Software.size()))
               : std::u16string(below);
    return true;
}

// A key that only leads to ours (HKLM\Software, ...\Morvi, ...\MVSET, ...\MVMacro).
bool AncestorOfOurs(std::u16string_view path) {
    for (const char16_t* ours : {kCorvelKey, kMacroKey}) {
        const std::u16string_view o = ours;
        if (path.size() < o.size() && o[path.size()] == u'\\' && SamePath(o.substr(0, path.size()), path)) return true;
    }
    return false;
}

BackupProblem FromFileProblem(RegFileProblem p) {
    switch (p) {
        case RegFileProblem::Encoding: return BackupProblem::Encoding;
        case RegFileProblem::TooLarge: return BackupProblem::TooLarge;
        case RegFileProblem::Header: return BackupProblem::Header;
        case RegFileProblem::Syntax:
        case RegFileProblem::ValueOutsideKey: return BackupProblem::Syntax;
        case RegFileProblem::Truncated: return BackupProblem::Truncated;
        case RegFileProblem::BadData: return BackupProblem::BadData;
        case RegFileProblem::None: break;
    }
    return BackupProblem::None;
}

}  // namespace

const SettingsBackup::Value* SettingsBackup::find(const StoredValue& kind) const {
    for (const Value& v : values)
        if (v.kind == &kind) return &v;
    return nullptr;
}

std::vector<std::uint8_t> ExportSettings(RegistrySeam& registry, std::vector<std::u16string>* leftOut,
                                        RegistryView view) {
    std::vector<RegFileKey> keys;
    for (const StoredValue* value : kBackupValues) {
        const StoredValue& kind = *value;
        const RegistryKey k = registry.openKey(kind.root, kind.key, kKeyReadWrite);
        if (!k) continue;
        // Room for more than the largest accepted size, so that a value too large is seen as such.
        const auto stored = registry.queryValue(k, kind.name, std::max<std::size_t>(kind.maxSize + 1, kQueryRoom));
        registry.closeKey(k);
        if (!stored) continue;
        // A stored value that this program would not accept back is left out, and named.
        if (stored->type != kind.type || stored->data.size() < kind.minSize || stored->data.size() > kind.maxSize) {
            if (leftOut) leftOut->push_back(kind.name);
            continue;
        }
        const std::u16string path = Full(kind.key, view);
        auto key = std::find_if(keys.begin(), keys.end(), [&](const RegFileKey& x) { return x.path == path; });
        if (key == keys.end()) key = keys.insert(keys.end(), RegFileKey{path, false, {}, 0});
        key->values.push_back({kind.name, kind.type, stored->data, 0});
    }
    keys.push_back({Full(kProfilesKey, view), true, {}, 0});
    const ProfileSet profiles = SettingsStore(registry).LoadProfiles();
    for (const Profile& p : profiles.all()) {
        RegFileKey key{Full(kProfilesKey, view) + u"\\" + p.program, false, {}, 0};
        const std::uint8_t* image = BlobBytes(p.image);
        key.values.push_back({kProfileImage.name, kProfileImage.type, {image, image + ButtonSettingBlob::kSize}, 0});
        std::vector<std::uint8_t> mask(kDwordSize);
        writeLe32(mask.data(), p.overrides);
        key.values.push_back({kProfileOverrides.name, kProfileOverrides.type, mask, 0});
        keys.push_back(std::move(key));
    }
    return WriteRegFile(keys);
}

BackupCheck CheckBackupFile(const std::uint8_t* data, std::size_t size) {
    BackupCheck check;
    const RegFileResult file = ReadRegFile(data, size);
    auto fail = [&](BackupProblem problem, std::size_t line, std::u16string name = {}, std::size_t got = 0,
                    std::size_t expected = 0) {
        BackupCheck failed;
        failed.problem = problem;
        failed.line = line;
        failed.name = std::move(name);
        failed.size = got;
        failed.expected = expected;
        return failed;
    };
    if (!file.ok()) return fail(FromFileProblem(file.problem), file.line);

    const std::u16string_view profilesKey = kProfilesKey;
    std::vector<std::size_t> imageLines;  // per profile: the line of its ButtonSetting, 0 while missing
    std::vector<std::size_t> profileLines;
    for (const RegFileKey& key : file.keys) {
        std::u16string below;
        if (!BelowLocalMachine(key.path, below)) return fail(BackupProblem::ForeignKey, key.line, key.path);
        const std::u16string_view path = below;
        if (key.remove) {
            if (!SamePath(path, profilesKey)) return fail(BackupProblem::ForeignKey, key.line, key.path);
            // Profiles named before the removal would be removed with it.
            if (!check.backup.profiles.empty()) return fail(BackupProblem::Syntax, key.line);
            check.backup.replacesProfiles = true;
            continue;
        }
        // A profile: ...\Profiles\NAME.
        if (path.size() > profilesKey.size() + 1 && path[profilesKey.size()] == u'\\' &&
            SamePath(path.substr(0, profilesKey.size()), profilesKey)) {
            const std::u16string_view program = path.substr(profilesKey.size() + 1);
            if (program.find(u'\\') != std::u16string_view::npos)
                return fail(BackupProblem::ForeignKey, key.line, key.path);
            if (!ValidProgramName(program)) return fail(BackupProblem::BadProgram, key.line, std::u16string(program));
            ProfileSet& set = check.backup.profiles;
            Profile* profile = set.Find(program);
            if (!profile) {
                set.all().push_back({std::u16string(program), {}, 0});
                profile = &set.all().back();
                imageLines.push_back(0);
                profileLines.push_back(key.line);
            }
            std::size_t index = 0;
            while (&set.all()[index] != profile) ++index;
            bool sawMask = false;
            for (const RegFileValue& v : key.values) {
                if (v.name == kProfileImage.name) {
                    if (imageLines[index]) return fail(BackupProblem::Duplicate, v.line, v.name);
                    if (v.type != kProfileImage.type) return fail(BackupProblem::WrongType, v.line, v.name);
                    if (v.data.size() != kProfileImage.maxSize)
                        return fail(BackupProblem::WrongSize, v.line, v.name, v.data.size(), kProfileImage.maxSize);
                    std::copy(v.data.begin(), v.data.end(), BlobBytes(profile->image));
                    imageLines[index] = v.line;
                } else if (v.name == kProfileOverrides.name) {
                    if (sawMask) return fail(BackupProblem::Duplicate, v.line, v.name);
                    if (v.type != kProfileOverrides.type) return fail(BackupProblem::WrongType, v.line, v.name);
                    if (v.data.size() != kProfileOverrides.maxSize)
                        return fail(BackupProblem::WrongSize, v.line, v.name, v.data.size(), kProfileOverrides.maxSize);
                    const std::uint32_t mask = readLe32(v.data.data());
                    if (mask & ~kAllSlots) return fail(BackupProblem::BadData, v.line);
                    profile->overrides = mask;
                    sawMask = true;
                } else {
                    return fail(BackupProblem::ForeignValue, v.line, v.name);
                }
            }
            continue;
        }
        const bool ourKey = std::any_of(kBackupValues.begin(), kBackupValues.end(),
                                        [&](const StoredValue* s) { return SamePath(path, s->key); });
        if (!ourKey) {
            // Keys that only lead to ours, and the profiles key itself, may appear empty.
            if (key.values.empty() && (AncestorOfOurs(path) || SamePath(path, profilesKey))) continue;
            return fail(BackupProblem::ForeignKey, key.line, key.path);
        }
        for (const RegFileValue& v : key.values) {
            const StoredValue* kind = nullptr;
            for (const StoredValue* s : kBackupValues)
                if (SamePath(path, s->key) && v.name == s->name) kind = s;
            if (!kind) return fail(BackupProblem::ForeignValue, v.line, v.name);
            if (check.backup.find(*kind)) return fail(BackupProblem::Duplicate, v.line, v.name);
            if (v.type != kind->type) return fail(BackupProblem::WrongType, v.line, v.name);
            if (v.data.size() < kind->minSize || v.data.size() > kind->maxSize)
                return fail(BackupProblem::WrongSize, v.line, v.name, v.data.size(),
                            v.data.size() < kind->minSize ? kind->minSize : kind->maxSize);
            check.backup.values.push_back({kind, v.data});
        }
    }
    for (std::size_t i = 0; i < imageLines.size(); ++i)
        if (!imageLines[i])
            return fail(BackupProblem::MissingImage, profileLines[i], check.backup.profiles.all()[i].program);
    if (check.backup.values.empty() && check.backup.profiles.empty() && !check.backup.replacesProfiles)
        return fail(BackupProblem::Nothing, 0);
    return check;
}

}  // namespace mv
