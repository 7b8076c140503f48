// What the tray icon's tooltip tells about the receiver: connected or not, and the battery
// level the device last reported, in words.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace mv {

enum class ReceiverState : std::uint8_t {
    NotFound,   // never opened since the start
    Connected,  // opened; stays so until a removal notification
    Unplugged,  // a removal of one of the receiver identities since the last open
};

// Levels of the raw battery value (a value read above 1200 arrives as 0).
enum class BatteryLevel : std::uint8_t { Unknown, Low, Fair, Good };

// Low up to the warning threshold (540), good above 870, fair between.
inline constexpr std::uint32_t kBatteryGoodAbove = 870;
BatteryLevel BatteryLevelOf(std::uint32_t value);

class DeviceStatus {
public:
    // A successful open: connected, the battery not yet read.
    void onOpened();
    // A removal notification of the receiver.
    void onRemoved();
    // One battery poll; counts only while connected. A failed read leaves the level unknown.
    void onBatteryReading(bool readOk, std::uint32_t value);

    ReceiverState receiver() const { return receiver_; }
    BatteryLevel battery() const { return battery_; }

private:
    ReceiverState receiver_ = ReceiverState::NotFound;
    BatteryLevel battery_ = BatteryLevel::Unknown;
};

// The texts of the tooltip's lines, from the language file.
struct StatusTexts {
    std::u16string title;
    std::u16string connected, notFound, unplugged;
    std::u16string batteryUnknown, batteryLow, batteryFair, batteryGood;
    std::u16string paused;
};

// The tooltip field holds 128 units with its terminating NUL.
inline constexpr std::size_t kTrayTipUnits = 128;

// The title, then one line each: the receiver, the battery level (while connected), and the
// pause. Lines without a text are left out; a line that no longer fits ends the tip, which
// never exceeds kTrayTipUnits - 1 units nor ends inside a surrogate pair.
std::u16string TrayTip(const DeviceStatus& status, bool gesturesPaused, const StatusTexts& texts);

}  // namespace mv
