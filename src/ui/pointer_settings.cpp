#include "ui/pointer_settings.h"

#include <algorithm>
#include <optional>

#include "ui/layout.h"

namespace mv {

namespace {

constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kMkLButton = 0x0001;
constexpr std::int32_t kLowestCode = 0;
constexpr std::int32_t kHighestCode = 18;  // OK applies code + 2: speeds 2 to 20

std::optional<std::u16string> ReadString(RegistrySeam& registry, RegistryKey key, const char16_t* name) {
    const auto value = registry.queryValue(key, name, kMouseValueChars * sizeof(char16_t));
    if (!value || (value->type != kRegSz && value->type != kRegExpandSz)) return std::nullopt;
    std::u16string text;
    for (std::size_t i = 0; i + 1 < value->data.size() && text.size() + 1 < kMouseValueChars; i += 2) {
        const char16_t c = static_cast<char16_t>(value->data[i] | (value->data[i + 1] << 8));
        if (c == 0) break;
        text.push_back(c);
    }
    return text;
}

}  // namespace

void PointerSettingsModel::readMouseSettings(RegistrySeam& registry) {
    const RegistryKey key = registry.openKey(RegistryRoot::CurrentUser, kMouseKeyPath, kKeyReadWrite);
    if (!key) return;
    if (const auto sensitivity = ReadString(registry, key, u"MouseSensitivity"))
        registrySpeed_ = RegistrySpeedFromSensitivity(*sensitivity);
    if (const auto speed = ReadString(registry, key, u"MouseSpeed")) registryPrecision_ = DecimalValue(*speed);
    registry.closeKey(key);
}

void PointerSettingsModel::initialise() {
    step_ = SpeedStepForRegistrySpeed(registrySpeed_);
    precision_ = static_cast<std::uint32_t>(registryPrecision_);
    // OK applies code + 2, so an untouched slider gives back the speed that was read.
    code_ = std::clamp(registrySpeed_ - 2, kLowestCode, kHighestCode);
}

void PointerSettingsModel::mouseMoved(std::uint32_t keyFlags, std::int32_t screenX) {
    if (keyFlags == kMkLButton) lastDragX_ = screenX;
}

bool PointerSettingsModel::pressSlider() {
    code_ = std::clamp(SliderSpeedCode(lastDragX_, dialogLeft_), kLowestCode, kHighestCode);
    const std::int32_t next = NextSpeedStep(step_, code_);
    const bool changed = next != step_;
    step_ = next;
    return changed;
}

void PointerSettingsModel::apply(PointerSettingsSeam& pointer) const {
    pointer.setMouseSpeed(code_ + 2);
    if (precision_)
        pointer.setMouseThresholds(6, 10, 1);
    else
        pointer.setMouseThresholds(0, 0, 0);
}

}  // namespace mv
