#include "gesture/settings_store.h"

#include <algorithm>
#include <cstring>

#include "gesture/bytes.h"

namespace mv {

namespace {
constexpr std::size_t kWheelLinesCapacity = 260 * sizeof(char16_t);
constexpr std::int32_t kRestoreMark = 3;
constexpr int kDefaultMouseSpeed = 10;
}  // namespace

// The image is a standard-layout aggregate of byte arrays with no padding (sizes asserted in its header).
std::uint8_t* BlobBytes(ButtonSettingBlob& blob) { return reinterpret_cast<std::uint8_t*>(&blob); }
const std::uint8_t* BlobBytes(const ButtonSettingBlob& blob) { return reinterpret_cast<const std::uint8_t*>(&blob); }

void SettingsStore::load(const char16_t* key, const char16_t* value, std::uint8_t* image, std::size_t size) {
    const RegistryKey k = registry_.openKey(RegistryRoot::LocalMachine, key, kKeyReadWrite);
    if (!k) return;
    // An empty value has no bytes to copy (and may have no buffer at all).
    const auto stored = registry_.queryValue(k, value, size);
    if (stored && !stored->data.empty())
        std::memcpy(image, stored->data.data(), std::min(stored->data.size(), size));
    registry_.closeKey(k);
}

void SettingsStore::save(const char16_t* key, const char16_t* value, const std::uint8_t* image, std::size_t size) {
    RegistryKey k = registry_.openKey(RegistryRoot::LocalMachine, key, kKeyReadWrite);
    if (!k) k = registry_.createKey(RegistryRoot::LocalMachine, key, kKeyReadWrite);
    if (!k) return;
    registry_.setValue(k, value, kRegBinary, image, size);
    registry_.closeKey(k);
}

void SettingsStore::LoadSettings() {
    load(kButtonSettingKey, kButtonSettingValue, BlobBytes(blob_), ButtonSettingBlob::kSize);
    load(kMacroSettingKey, kMacroSettingValue, macros_.bytes.data(), MacroStore::kSize);
    if (names_) LoadMacroNames(registry_, *names_);
}

void SettingsStore::SaveSettings() {
    save(kButtonSettingKey, kButtonSettingValue, BlobBytes(blob_), ButtonSettingBlob::kSize);
    save(kMacroSettingKey, kMacroSettingValue, macros_.bytes.data(), MacroStore::kSize);
    if (names_) SaveMacroNames(registry_, *names_);
}

bool SettingsStore::ApplySettings(const std::function<bool()>& sendDeviceSettings,
                                  const std::function<void()>& showWarning) {
    const ButtonSettingBlob before = blob_;
    if (sendDeviceSettings()) {
        SaveSettings();
        return true;
    }
    blob_ = before;
    showWarning();
    return false;
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

std::int32_t SettingsStore::readWheelScrollLines() {
    const RegistryKey k = registry_.openKey(RegistryRoot::LocalMachine, kDesktopKey, kKeyReadWrite);
    if (!k) return 0;
    std::int32_t lines = 0;
    const auto stored = registry_.queryValue(k, kWheelScrollLinesValue, kWheelLinesCapacity);
    if (stored && stored->type == kRegSz) lines = LeadingDecimal(stored->data);
    registry_.closeKey(k);
    return lines;
}

void SettingsStore::RestoreDefaults(const std::function<bool()>& sendDeviceSettings, PointerSettingsSeam& pointer) {
    blob_ = ButtonSettingBlob{};
    ResetRecordsToDefaults(blob_.records);
    SaveSettings();
    sendDeviceSettings();
    writeLe32(blob_.wheelLines.data(), static_cast<std::uint32_t>(readWheelScrollLines()));
    writeLe32(blob_.restoreMark.data(), static_cast<std::uint32_t>(kRestoreMark));
    pointer.setMouseSpeed(kDefaultMouseSpeed);
    pointer.setMouseThresholds(6, 10, 1);
}

}  // namespace mv
