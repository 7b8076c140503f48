// What the settings tell the touch-pad: which gestures it reports instead of carrying them
// out itself. The Windows build sends the driver's requests (src/device); unit tests record.
#pragma once

#include <cstdint>

namespace mv {

class DeviceSettingsSeam {
public:
    virtual ~DeviceSettingsSeam() = default;
    // Mode 0, the key list, the chords and the final mode for the gestures of `reported`
    // (bit n: slot n); false when the device refused or is not open.
    virtual bool sendReportedSlots(std::uint32_t reported) = 0;
    // Mode 0: the device carries out every gesture itself again.
    virtual bool handBack() = 0;
};

}  // namespace mv
