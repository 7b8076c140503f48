#include "gesture/profiles.h"

#include <algorithm>
#include <cstring>

#include "gesture/settings_store.h"

namespace mv {

namespace {

// Simple case folding of ASCII, Latin-1, Greek and Cyrillic letters; other units compare
// as they are.
char16_t FoldCase(char16_t c) {
    if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
    if (c < 0x80) return c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return static_cast<char16_t>(c + 32);
    if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 32);
    if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 80);
    return c;
}

std::u16string ProfileKey(std::u16string_view program) {
    std::u16string key = kProfilesKey;
    key += u'\\';
    key += program;
    return key;
}

}  // namespace

bool SameProgram(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    return true;
}

std::u16string_view ProgramFileName(std::u16string_view path) {
    const std::size_t cut = path.find_last_of(u"\\/:");
    return cut == std::u16string_view::npos ? path : path.substr(cut + 1);
}

bool ValidProgramName(std::u16string_view name) {
    if (name.empty() || name.size() > kMaxProgramName || name == u"." || name == u"..") return false;
    for (char16_t c : name)
        if (c < 0x20 || c == 0x7F || std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos)
            return false;
    // Windows drops trailing dots and spaces from file names: such a name never matches.
    return name.back() != u'.' && name.back() != u' ';
}

SlotMask ChangedSlots(const FunctionRecordArray& records) {
    SlotMask mask = 0;
    for (int slot = 0; slot < kSlotCount; ++slot)
        if (records[slot].actionCode() != DefaultActionTable[slot]) mask |= SlotBit(slot);
    return mask;
}

Profile* ProfileSet::Find(std::u16string_view program) {
    for (Profile& p : profiles_)
        if (SameProgram(p.program, program)) return &p;
    return nullptr;
}

const Profile* ProfileSet::Find(std::u16string_view program) const {
    return const_cast<ProfileSet*>(this)->Find(program);
}

Profile* ProfileSet::Add(std::u16string_view program, const ButtonSettingBlob& allPrograms) {
    if (!ValidProgramName(program) || Find(program)) return nullptr;
    Profile& p = profiles_.emplace_back();
    p.program = std::u16string(program);
    p.image = allPrograms;
    return &p;
}

bool ProfileSet::Remove(std::u16string_view program) {
    const auto it = std::find_if(profiles_.begin(), profiles_.end(),
                                 [&](const Profile& p) { return SameProgram(p.program, program); });
    if (it == profiles_.end()) return false;
    profiles_.erase(it);
    return true;
}

SlotMask ProfileSet::ReportedSlots(const FunctionRecordArray& allPrograms) const {
    SlotMask mask = ChangedSlots(allPrograms);
    for (const Profile& p : profiles_) mask |= p.overrides & ChangedSlots(p.image.records);
    return mask & kAllSlots;
}

void OverrideSlot(Profile& profile, const FunctionRecordArray& allPrograms, GestureSlot slot, std::uint8_t actionCode) {
    if (slot < 0 || slot >= kSlotCount) return;
    if (!profile.Overrides(slot)) profile.image.records[slot] = allPrograms[slot];
    profile.image.records[slot].setActionCode(actionCode);
    profile.overrides |= SlotBit(slot);
}

void FollowAllPrograms(Profile& profile, GestureSlot slot) {
    if (slot >= 0 && slot < kSlotCount) profile.overrides &= ~SlotBit(slot);
}

ProfileSet ProfileStore::Load() {
    ProfileSet set;
    const RegistryKey root = registry_.openKey(RegistryRoot::LocalMachine, kProfilesKey, kKeyReadWrite);
    if (!root) return set;
    const std::vector<std::u16string> names = registry_.subkeyNames(root);
    registry_.closeKey(root);
    for (const std::u16string& name : names) {
        if (!ValidProgramName(name) || set.Find(name)) continue;
        const RegistryKey k = registry_.openKey(RegistryRoot::LocalMachine, ProfileKey(name), kKeyReadWrite);
        if (!k) continue;
        Profile p;
        p.program = name;
        ResetRecordsToDefaults(p.image.records);
        const auto image = registry_.queryValue(k, kButtonSettingValue, ButtonSettingBlob::kSize);
        if (image && !image->data.empty())
            std::memcpy(BlobBytes(p.image), image->data.data(), std::min(image->data.size(), ButtonSettingBlob::kSize));
        const auto mask = registry_.queryValue(k, kProfileOverridesValue, 4);
        if (mask && mask->type == kRegDword && mask->data.size() == 4) p.overrides = readLe32(mask->data.data()) & kAllSlots;
        registry_.closeKey(k);
        set.all().push_back(std::move(p));
    }
    return set;
}

bool ProfileStore::RemoveAll() { return registry_.deleteTree(RegistryRoot::LocalMachine, kProfilesKey); }

bool ProfileStore::Save(const ProfileSet& set) {
    bool ok = RemoveAll();
    const RegistryKey root = registry_.createKey(RegistryRoot::LocalMachine, kProfilesKey, kKeyReadWrite);
    if (!root) return false;
    registry_.closeKey(root);
    for (const Profile& p : set.all()) {
        const RegistryKey k = registry_.createKey(RegistryRoot::LocalMachine, ProfileKey(p.program), kKeyReadWrite);
        if (!k) {
            ok = false;
            continue;
        }
        std::uint8_t mask[4];
        writeLe32(mask, p.overrides);
        ok &= registry_.setValue(k, kButtonSettingValue, kRegBinary, BlobBytes(p.image), ButtonSettingBlob::kSize);
        ok &= registry_.setValue(k, kProfileOverridesValue, kRegDword, mask, sizeof mask);
        registry_.closeKey(k);
    }
    return ok;
}

}  // namespace mv
