// Receiver arrival matching, the battery watch rule and the low-battery balloon data.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace mv {

inline constexpr std::array<std::u16string_view, 5> ReceiverPrefixes = {
    u"USB#Vid_F0CA&Pid_2000", u"USB#Vid_F0CA&Pid_1000", u"USB#Vid_F0CA&Pid_1002",
    u"USB#Vid_F0CA&Pid_2001", u"USB#Vid_F0CA&Pid_2002"};

// True when the interface name holds one of the receiver prefixes (ASCII case-insensitive).
bool IsReceiverInterface(std::u16string_view interfaceName);

// The device-interface name of a DEV_BROADCAST_DEVICEINTERFACE_W image (`size` bytes, as
// dbcc_size gives them): the UTF-16 units from byte 28 to the first NUL or the end.
// Empty when the block is not a device-interface broadcast or is too short.
std::u16string InterfaceNameFromBroadcast(const std::uint8_t* block, std::size_t size);

inline constexpr std::uint32_t kLowBatteryThreshold = 540;

// The battery check: after one warning it stays quiet until the device is opened again.
class BatteryWatch {
public:
    // A successful open arms the watch again.
    void onDeviceOpened() { armed_ = true; }
    // The result of one ReadBattery; true when the warning is to be shown now (the caller then
    // stops the battery timer).
    bool onReading(bool readOk, std::uint32_t value);
    bool armed() const { return armed_; }

private:
    bool armed_ = false;
};

// The NOTIFYICONDATAW fields the low-battery balloon sets.
struct BalloonData {
    std::uint32_t cbSize = 0;
    std::u16string title;  // at most 63 units
    std::u16string text;   // at most 255 units
    std::uint32_t infoFlags = 0;
    std::uint32_t flags = 0;
    std::uint32_t timeoutMs = 0;
};

inline constexpr std::uint32_t kNiifWarning = 2;
inline constexpr std::uint32_t kNifInfo = 0x10;

BalloonData LowBatteryBalloon(int windowsGeneration, std::u16string_view noticeText);

}  // namespace mv
