#include "device/device_commands.h"

#include <algorithm>

#include "device/hid_usage.h"

namespace mv {

namespace {
std::uint32_t ChangedSlotMask(const FunctionRecordArray& records) {
    std::uint32_t mask = 0;
    for (int slot = 0; slot < kSlotCount; ++slot)
        if (records[slot].actionCode() != DefaultActionTable[slot]) mask |= 1u << slot;
    return mask;
}
}  // namespace

std::uint32_t ModeFlagsForSlots(std::uint32_t reported) {
    std::uint32_t flags = kModeBase;
    if (reported & (1u << 1)) flags |= kModeDoubleClick;
    if (reported & (1u << 11)) flags |= kModeThreeClick;
    if (reported & (1u << 12)) flags |= kModeThreeLeft;
    if (reported & (1u << 13)) flags |= kModeThreeRight;
    return flags;
}

std::uint32_t ModeFlagsFor(const FunctionRecordArray& records) { return ModeFlagsForSlots(ChangedSlotMask(records)); }

bool DeviceCommands::send(const DriverRequest& request) {
    if (!port_.isOpen()) return false;
    std::uint32_t returned = 0;
    return port_.control(IOCTL_MVTOUCH_WRITE, request.bytes.data(), DriverRequest::kSize, nullptr, 0, returned);
}

bool ReadDriverEvent(DriverPort& port, DriverEvent& buffer) {
    std::uint32_t returned = 0;
    // A reply shorter than an event leaves the last event's bytes in the buffer: it is no event.
    return port.control(IOCTL_MVTOUCH_READ, buffer.bytes.data(), DriverEvent::kSize, buffer.bytes.data(),
                        DriverEvent::kSize, returned) &&
           returned >= DriverEvent::kSize;
}

bool DeviceCommands::OpenDevice() {
    if (!port_.openDevice()) return false;
    const DriverRequest request = DriverRequest::Open(semaphore_);
    std::uint32_t returned = 0;
    if (!port_.control(IOCTL_MVTOUCH_WRITE, request.bytes.data(), DriverRequest::kSize, nullptr, 0, returned)) {
        port_.closeDevice();
        return false;
    }
    return true;
}

bool DeviceCommands::SetMode(std::uint32_t flags) { return send(DriverRequest::Mode(flags)); }

bool DeviceCommands::UpdateInterceptKey(std::uint8_t virtualKey, std::uint8_t modifiers, bool add) {
    if (!port_.isOpen()) return false;
    const std::uint32_t entry = static_cast<std::uint32_t>(HidUsageForVirtualKey(virtualKey)) * 256u + modifiers;
    if (add) {
        // The entry 0 counts as present: every free slot holds it.
        if (std::find(keys_.begin(), keys_.end(), entry) == keys_.end()) {
            auto free = std::find(keys_.begin(), keys_.end(), 0u);
            if (free != keys_.end()) *free = entry;
        }
    } else {
        auto it = std::find(keys_.begin(), keys_.end(), entry);
        if (it != keys_.end()) *it = 0;
    }
    return send(DriverRequest::KeyList(keys_));
}

bool DeviceCommands::WriteRegister(std::uint8_t value) { return send(DriverRequest::RegisterWrite(value)); }

bool DeviceCommands::ReadRegister(std::array<std::uint8_t, 3>& data) {
    if (!port_.isOpen()) return false;
    // The block is both the input and the output buffer.
    DriverRequest block = DriverRequest::RegisterRead(data);
    std::uint32_t returned = 0;
    if (!port_.control(IOCTL_MVTOUCH_WRITE, block.bytes.data(), DriverRequest::kSize, block.bytes.data(),
                       DriverRequest::kSize, returned) ||
        returned < DriverRequest::kDataOffset + data.size())
        return false;
    std::copy_n(block.bytes.begin() + DriverRequest::kDataOffset, 3, data.begin());
    return true;
}

bool DeviceCommands::ReadBattery(std::uint32_t& value) {
    std::array<std::uint8_t, 3> data{kBatteryRegister, 0, 0};
    if (port_.isOpen()) WriteRegister(kBatteryRegister);
    port_.sleep(20);
    if (port_.isOpen()) ReadRegister(data);
    if (data[0] != 1) return false;
    const std::uint32_t raw = static_cast<std::uint32_t>(data[1]) * 256u + data[2];
    value = raw > kBatteryMaxValid ? 0 : raw;
    return true;
}

bool DeviceCommands::SendDeviceSettings(const FunctionRecordArray& records) {
    return SendDeviceSettingsForSlots(ChangedSlotMask(records));
}

bool DeviceCommands::SendDeviceSettingsForSlots(std::uint32_t reported) {
    if (!SetMode(0)) return false;
    if (!UpdateInterceptKey(0, 0, true)) return false;
    const std::uint32_t flags = ModeFlagsForSlots(reported);
    for (const InterceptedChord& chord : InterceptedChords)
        UpdateInterceptKey(chord.virtualKey, chord.modifiers, (reported & (1u << chord.slot)) != 0);
    SetMode(flags);
    return true;
}

}  // namespace mv
