#include "device/device_presence.h"

#include "base/bytes.h"
#include "base/case_fold.h"

namespace mv {

namespace {

std::u16string Bounded(std::u16string_view text, std::size_t units) {
    return std::u16string(text.substr(0, units - 1));
}

}  // namespace

bool IsReceiverInterface(std::u16string_view interfaceName) {
    for (const auto prefix : ReceiverPrefixes)
        if (ContainsIgnoringAsciiCase(interfaceName, prefix)) return true;
    return false;
}

std::u16string InterfaceNameFromBroadcast(const std::uint8_t* block, std::size_t size) {
    constexpr std::size_t kNameOffset = 28;
    constexpr std::uint32_t kDeviceInterface = 5;
    std::u16string name;
    if (!block || size < kNameOffset || readLe32(block + 4) != kDeviceInterface) return name;
    for (std::size_t at = kNameOffset; at + 2 <= size; at += 2) {
        const char16_t unit = static_cast<char16_t>(readLe16(block + at));
        if (unit == 0) break;
        name.push_back(unit);
    }
    return name;
}

bool BatteryWatch::onReading(bool readOk, std::uint32_t value) {
    if (!armed_ || !readOk || value > kLowBatteryThreshold) return false;
    armed_ = false;
    return true;
}

BalloonData LowBatteryBalloon(int windowsGeneration, std::u16string_view noticeText) {
    BalloonData data;
    data.cbSize = windowsGeneration > 4 ? 956 : 952;
    data.title = Bounded(u"Morvi Corvel", 64);
    data.text = Bounded(noticeText, 256);
    data.infoFlags = kNiifWarning;
    data.flags = kNifInfo;
    data.timeoutMs = 5000;
    return data;
}

}  // namespace mv
