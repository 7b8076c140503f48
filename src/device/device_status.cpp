#include "device/device_status.h"

#include "device/device_presence.h"

namespace mv {

namespace {

constexpr std::size_t kTipLimit = kTrayTipUnits - 1;

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

// `text` cut to `units`, without leaving half of a surrogate pair at the end.
std::u16string Cut(const std::u16string& text, std::size_t units) {
    if (text.size() <= units) return text;
    std::size_t n = units;
    if (n > 0 && IsHighSurrogate(text[n - 1])) --n;
    return text.substr(0, n);
}

const std::u16string& ReceiverText(ReceiverState state, const StatusTexts& texts) {
    switch (state) {
        case ReceiverState::Connected: return texts.connected;
        case ReceiverState::Unplugged: return texts.unplugged;
        case ReceiverState::NotFound: break;
    }
    return texts.notFound;
}

const std::u16string& BatteryText(BatteryLevel level, const StatusTexts& texts) {
    switch (level) {
        case BatteryLevel::Low: return texts.batteryLow;
        case BatteryLevel::Fair: return texts.batteryFair;
        case BatteryLevel::Good: return texts.batteryGood;
        case BatteryLevel::Unknown: break;
    }
    return texts.batteryUnknown;
}

}  // namespace

BatteryLevel BatteryLevelOf(std::uint32_t value) {
    if (value <= kLowBatteryThreshold) return BatteryLevel::Low;
    if (value <= kBatteryGoodAbove) return BatteryLevel::Fair;
    return BatteryLevel::Good;
}

void DeviceStatus::onOpened() {
    receiver_ = ReceiverState::Connected;
    battery_ = BatteryLevel::Unknown;
}

void DeviceStatus::onRemoved() {
    receiver_ = ReceiverState::Unplugged;
    battery_ = BatteryLevel::Unknown;
}

void DeviceStatus::onBatteryReading(bool readOk, std::uint32_t value) {
    if (receiver_ != ReceiverState::Connected) return;
    battery_ = readOk ? BatteryLevelOf(value) : BatteryLevel::Unknown;
}

std::u16string TrayTip(const DeviceStatus& status, bool gesturesPaused, const StatusTexts& texts) {
    std::u16string tip = Cut(texts.title, kTipLimit);
    const std::u16string none;
    const std::u16string* lines[] = {
        &ReceiverText(status.receiver(), texts),
        status.receiver() == ReceiverState::Connected ? &BatteryText(status.battery(), texts) : &none,
        gesturesPaused ? &texts.paused : &none,
    };
    for (const std::u16string* line : lines) {
        if (line->empty()) continue;
        const std::size_t separator = tip.empty() ? 0 : 1;
        if (tip.size() + separator + line->size() > kTipLimit) break;
        if (separator) tip += u'\n';
        tip += *line;
    }
    return tip;
}

}  // namespace mv
