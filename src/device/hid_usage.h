// Windows virtual-key codes to HID keyboard/keypad-page usages, as the device lists chords.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace mv {

inline constexpr std::size_t kHidUsageRows = 105;
// 105 rows of (HID usage, virtual-key code), usage first.
extern const std::array<std::uint8_t, 2 * kHidUsageRows> VirtualKeyUsageTable;

// The usage of the first row holding `virtualKey`; 0 when no row does.
std::uint8_t HidUsageForVirtualKey(std::uint8_t virtualKey);

}  // namespace mv
