#include "settings/settings_store.h"

#include <algorithm>
#include <cstring>

#include "base/bytes.h"
#include "settings/registry_writes.h"

namespace mv {

// The image is a standard-layout aggregate of byte arrays with no padding (sizes asserted in its header).
std::uint8_t* BlobBytes(ButtonSettingBlob& blob) { return reinterpret_cast<std::uint8_t*>(&blob); }
const std::uint8_t* BlobBytes(const ButtonSettingBlob& blob) { return reinterpret_cast<const std::uint8_t*>(&blob); }

bool FeedbackChosen(const std::optional<RegistryValue>& stored) {
    return stored && stored->type == kGestureFeedback.type && stored->data.size() == kDwordSize &&
           readLe32(stored->data.data()) == 1;
}

std::int32_t LeadingDecimal(const std::vector<std::uint8_t>& utf16le) {
    std::int64_t value = 0;
    for (std::size_t i = 0; i + 1 < utf16le.size(); i += 2) {
        const std::uint16_t unit = readLe16(&utf16le[i]);
        if (unit < u'0' || unit > u'9') break;
        value = std::min<std::int64_t>(value * 10 + (unit - u'0'), INT32_MAX);
    }
    return static_cast<std::int32_t>(value);
}

namespace {
std::u16string ProfileKey(std::u16string_view program) {
    std::u16string key = kProfilesKey;
    key += u'\\';
    key += program;
    return key;
}
}  // namespace

std::optional<RegistryValue> SettingsStore::read(const StoredValue& value) {
    const RegistryKey k = registry_.openKey(value.root, value.key, kKeyReadWrite);
    if (!k) return std::nullopt;
    auto stored = registry_.queryValue(k, value.name, value.maxSize);
    registry_.closeKey(k);
    return stored;
}

void SettingsStore::loadImage(const StoredValue& value, std::uint8_t* image, std::size_t size) {
    // The type is not checked; an empty value has no bytes to copy (and may have no buffer at all).
    const auto stored = read(value);
    if (stored && !stored->data.empty()) std::memcpy(image, stored->data.data(), std::min(stored->data.size(), size));
}

void SettingsStore::Load(Settings& settings) {
    loadImage(kButtonSetting, BlobBytes(settings.allPrograms), ButtonSettingBlob::kSize);
    loadImage(kMacroSetting, settings.macros.bytes.data(), MacroStore::kSize);
    settings.macroNames.clear();
    const auto names = read(kMacroNames);
    if (names && names->type == kMacroNames.type) settings.macroNames.Parse(names->data);
    settings.profiles = LoadProfiles();
    settings.feedback = FeedbackChosen(read(kGestureFeedback));
}

ProfileSet SettingsStore::LoadProfiles() {
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
        const auto image = registry_.queryValue(k, kProfileImage.name, kProfileImage.maxSize);
        if (image && !image->data.empty())
            std::memcpy(BlobBytes(p.image), image->data.data(), std::min(image->data.size(), ButtonSettingBlob::kSize));
        const auto mask = registry_.queryValue(k, kProfileOverrides.name, kProfileOverrides.maxSize);
        if (mask && mask->type == kProfileOverrides.type && mask->data.size() == kDwordSize)
            p.overrides = readLe32(mask->data.data()) & kAllSlots;
        registry_.closeKey(k);
        set.all().push_back(std::move(p));
    }
    return set;
}

namespace {

bool SaveNames(RegistrySeam& registry, RegistryWrites& writes, const MacroNames& names) {
    const std::vector<std::uint8_t> data = names.Serialize();
    // No names and no value yet: the registry stays without one (a missing value means no
    // names), so that saving unnamed macros changes nothing there.
    if (data.size() <= 2) {
        const RegistryKey k = registry.openKey(kMacroNames.root, kMacroNames.key, kKeyReadWrite);
        const bool stored = k && registry.queryValue(k, kMacroNames.name, kWholeValue);
        if (k) registry.closeKey(k);
        if (!stored) return true;
    }
    return writes.setValue(kMacroNames, data.data(), data.size());
}

bool SaveProfiles(RegistrySeam& registry, RegistryWrites& writes, const ProfileSet& profiles) {
    std::vector<std::u16string> stored;
    if (const RegistryKey root = registry.openKey(RegistryRoot::LocalMachine, kProfilesKey, kKeyReadWrite)) {
        stored = registry.subkeyNames(root);
        registry.closeKey(root);
    }
    const auto remove = [&](const std::u16string& name) {
        return writes.removeKey(RegistryRoot::LocalMachine, ProfileKey(name), {&kProfileImage, &kProfileOverrides});
    };
    for (const Profile& p : profiles.all()) {
        // The registry keeps a key's spelling: a program now spelt otherwise gets a key anew.
        for (const std::u16string& name : stored)
            if (SameProgram(name, p.program) && name != p.program && !remove(name)) return false;
        std::uint8_t mask[kDwordSize];
        writeLe32(mask, p.overrides);
        const std::u16string key = ProfileKey(p.program);
        if (!writes.setValue(key, kProfileImage, BlobBytes(p.image), ButtonSettingBlob::kSize) ||
            !writes.setValue(key, kProfileOverrides, mask, sizeof mask))
            return false;
    }
    // Stored profiles that memory no longer has go, after every write has gone through.
    for (const std::u16string& name : stored)
        if (ValidProgramName(name) && !profiles.Find(name) && !remove(name)) return false;
    return true;
}

}  // namespace

bool SettingsStore::Save(const Settings& settings, SaveScope scope) {
    RegistryWrites writes(registry_);
    std::uint8_t feedback[kDwordSize];
    writeLe32(feedback, settings.feedback ? 1 : 0);
    const bool saved = writes.setValue(kButtonSetting, BlobBytes(settings.allPrograms), ButtonSettingBlob::kSize) &&
                       writes.setValue(kMacroSetting, settings.macros.bytes.data(), MacroStore::kSize) &&
                       SaveNames(registry_, writes, settings.macroNames) &&
                       (!scope.feedback || writes.setValue(kGestureFeedback, feedback, sizeof feedback)) &&
                       (!scope.profiles || SaveProfiles(registry_, writes, settings.profiles));
    if (!saved) {
        writes.undo();
        return false;
    }
    // The macros may hold typed text: their key is for administrators only (the functions'
    // key stays readable). A key the access list cannot be set on keeps what it had.
    registry_.restrictToAdministrators(kMacroSetting.root, kMacroKey);
    return true;
}

bool SettingsStore::SaveFeedback(bool on) {
    RegistryWrites writes(registry_);
    std::uint8_t data[kDwordSize];
    writeLe32(data, on ? 1 : 0);
    if (writes.setValue(kGestureFeedback, data, sizeof data)) return true;
    writes.undo();
    return false;
}

std::optional<Point> SettingsStore::LoadWindowPlace() {
    const auto stored = read(kWindowPlace);
    if (!stored || stored->type != kWindowPlace.type || stored->data.size() != kWindowPlaceSize) return std::nullopt;
    const Point at{static_cast<std::int32_t>(readLe32(stored->data.data())),
                   static_cast<std::int32_t>(readLe32(stored->data.data() + 4))};
    const auto near = [](std::int32_t v) { return v >= -kFarthestWindowPlace && v <= kFarthestWindowPlace; };
    if (!near(at.x) || !near(at.y)) return std::nullopt;
    return at;
}

bool SettingsStore::SaveWindowPlace(Point topLeft) {
    RegistryWrites writes(registry_);
    std::uint8_t data[kWindowPlaceSize];
    writeLe32(data, static_cast<std::uint32_t>(topLeft.x));
    writeLe32(data + 4, static_cast<std::uint32_t>(topLeft.y));
    if (writes.setValue(kWindowPlace, data, sizeof data)) return true;
    writes.undo();
    return false;
}

std::int32_t SettingsStore::ReadWheelScrollLines() {
    const auto stored = read(kWheelScrollLines);
    return stored && stored->type == kWheelScrollLines.type ? LeadingDecimal(stored->data) : 0;
}

}  // namespace mv
