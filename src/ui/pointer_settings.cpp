#include "ui/pointer_settings.h"

#include <algorithm>
#include <optional>

#include "ui/layout.h"

namespace mv {

namespace {

constexpr std::int32_t kDefaultSpeed = 10;
constexpr std::int32_t kDefaultPrecision = 1;

std::optional<std::u16string> ReadString(RegistrySeam& registry, RegistryKey key, const StoredValue& stored) {
    const auto value = registry.queryValue(key, stored.name, stored.maxSize);
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

std::int32_t NotchAtSliderX(std::int32_t sliderX) {
    // Nearest notch: half a pitch to either side of its centre belongs to it.
    const std::int64_t tenths = static_cast<std::int64_t>(sliderX) * 10 - kFirstNotchTenths + kNotchPitchTenths / 2;
    if (tenths < 0) return 0;
    return static_cast<std::int32_t>(std::min<std::int64_t>(tenths / kNotchPitchTenths, kSpeedNotches - 1));
}

std::int32_t SliderXOfNotch(std::int32_t notch) {
    return (kFirstNotchTenths + kNotchPitchTenths * std::clamp(notch, 0, kSpeedNotches - 1) + 5) / 10;
}

std::int32_t SpeedForNotch(std::int32_t notch) {
    if (notch <= 0) return kSlowestSpeed;
    if (notch >= kSpeedNotches - 1) return kFastestSpeed;
    return 2 * notch;
}

void PointerSettingsModel::readMouseSettings(RegistrySeam& registry) {
    registrySpeed_ = kDefaultSpeed;
    registryPrecision_ = kDefaultPrecision;
    const RegistryKey key = registry.openKey(kMouseSensitivity.root, kMouseSensitivity.key, kKeyReadWrite);
    if (!key) return;
    if (const auto sensitivity = ReadString(registry, key, kMouseSensitivity))
        registrySpeed_ = RegistrySpeedFromSensitivity(*sensitivity);
    if (const auto speed = ReadString(registry, key, kMouseSpeed)) registryPrecision_ = DecimalValue(*speed);
    registry.closeKey(key);
}

void PointerSettingsModel::initialise() {
    step_ = SpeedStepForRegistrySpeed(registrySpeed_);
    precision_ = static_cast<std::uint32_t>(registryPrecision_);
    // Untouched, OK gives back the speed read; speed / 2 is the notch shown for any of them.
    speed_ = std::clamp(registrySpeed_, kSlowestSpeed, kFastestSpeed);
}

bool PointerSettingsModel::moveKnobTo(std::int32_t sliderX) { return moveToNotch(NotchAtSliderX(sliderX)); }

bool PointerSettingsModel::moveToNotch(std::int32_t target) {
    const std::int32_t notch = std::clamp(target, 0, kSpeedNotches - 1);
    if (notch == step_) return false;  // the same notch keeps the speed read (7 stays 7 on notch 3)
    step_ = notch;
    speed_ = SpeedForNotch(notch);
    return true;
}

void PointerSettingsModel::apply(PointerSettingsSeam& pointer) const {
    pointer.setMouseSpeed(speed_);
    if (precision_)
        pointer.setMouseThresholds(6, 10, 1);
    else
        pointer.setMouseThresholds(0, 0, 0);
}

}  // namespace mv
