#include "device/device_presence.h"

#include "gesture/bytes.h"

namespace mv {

namespace {

char16_t Lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool ContainsIgnoringCase(std::u16string_view text, std::u16string_view part) {
    if (part.size() > text.size()) return false;
    for (std::size_t i = 0; i + part.size() <= text.size(); ++i) {
        std::size_t j = 0;
        while (j < part.size() && Lower(text[i + j]) == Lower(part[j])) ++j;
        if (j == part.size()) return true;
    }
    return false;
}

std::u16string Bounded(std::u16string_view text, std::size_t units) {
    return std::u16string(text.substr(0, units - 1));
}

}  // namespace

bool IsReceiverInterface(std::u16string_view interfaceName) {
    for (const auto prefix : ReceiverPrefixes)
        if (ContainsIgnoringCase(interfaceName, prefix)) return true;
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
