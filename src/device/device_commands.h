// The channel's open request and the commands that configure the device and read its battery.
#pragma once

#include <array>
#include <cstdint>

#include "seams/driver_port.h"
#include "device/driver_protocol.h"
#include "settings/function_record.h"

namespace mv {

// Mode flags of request 20.
inline constexpr std::uint32_t kModeBase = 0x180;
inline constexpr std::uint32_t kModeDoubleClick = 0x02;
inline constexpr std::uint32_t kModeThreeClick = 0x04;
inline constexpr std::uint32_t kModeThreeLeft = 0x08;
inline constexpr std::uint32_t kModeThreeRight = 0x10;

inline constexpr std::uint8_t kBatteryRegister = 0xB6;
inline constexpr std::uint32_t kBatteryMaxValid = 1200;

// A chord the device can be asked to report instead of carrying out.
struct InterceptedChord {
    GestureSlot slot;
    std::uint8_t virtualKey;
    std::uint8_t modifiers;
};
inline constexpr std::array<InterceptedChord, 7> InterceptedChords = {{
    {14, 0x4D, 0x0A}, {15, 0x4D, 0x08}, {6, 0x08, 0x09}, {7, 0x86, 0x0C},
    {8, 0x86, 0x09}, {9, 0x44, 0x08}, {10, 0x00, 0x08},
}};

// The mode flags for the records: 0x180 plus the bit of every gesture button not at its default.
std::uint32_t ModeFlagsFor(const FunctionRecordArray& records);
// The mode flags when the slots of `reported` (bit n = slot n) are to be reported.
std::uint32_t ModeFlagsForSlots(std::uint32_t reported);

// One read of the reader thread into `buffer` (kept from read to read, as the driver sees
// it): true only when the driver answered with a whole event.
bool ReadDriverEvent(DriverPort& port, DriverEvent& buffer);

// The portable part of CUSBDriver: the open request, the commands and the key list.
class DeviceCommands {
public:
    explicit DeviceCommands(DriverPort& port) : port_(port) {}

    void setSemaphoreHandle(std::uint32_t handle) { semaphore_ = handle; }
    std::uint32_t semaphoreHandle() const { return semaphore_; }

    bool OpenDevice();
    bool SetMode(std::uint32_t flags);
    bool UpdateInterceptKey(std::uint8_t virtualKey, std::uint8_t modifiers, bool add);
    bool WriteRegister(std::uint8_t value);
    bool ReadRegister(std::array<std::uint8_t, 3>& data);
    bool ReadBattery(std::uint32_t& value);
    // Mode 0, the key list as is, the seven chords, the final mode; only the first two decide.
    bool SendDeviceSettings(const FunctionRecordArray& records);
    // The same, reporting exactly the gestures of `reported` (bit n = slot n): the union
    // of what All programs and the profiles change.
    bool SendDeviceSettingsForSlots(std::uint32_t reported);

    const KeyInterceptList& keyList() const { return keys_; }

private:
    bool send(const DriverRequest& request);

    DriverPort& port_;
    std::uint32_t semaphore_ = 0;
    KeyInterceptList keys_{};
};

}  // namespace mv
