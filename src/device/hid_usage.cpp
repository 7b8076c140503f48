#include "device/hid_usage.h"

namespace mv {

namespace {

struct Builder {
    std::array<std::uint8_t, 2 * kHidUsageRows> bytes{};
    std::size_t rows = 0;
    constexpr void row(std::uint8_t usage, std::uint8_t vk) {
        bytes[2 * rows] = usage;
        bytes[2 * rows + 1] = vk;
        ++rows;
    }
    constexpr void range(std::uint8_t usage, std::uint8_t vk, int count) {
        for (int i = 0; i < count; ++i) row(static_cast<std::uint8_t>(usage + i), static_cast<std::uint8_t>(vk + i));
    }
};

constexpr Builder Build() {
    Builder b;
    b.row(0x29, 0x1B);       // Escape
    b.range(0x3A, 0x70, 12);  // F1..F12
    b.row(0x72, 0x86);       // F23
    b.range(0x04, 0x41, 26);  // A..Z
    b.range(0x1E, 0x31, 9);   // 1..9
    b.row(0x27, 0x30);       // 0
    b.row(0x2B, 0x09);       // Tab
    b.row(0x39, 0x14);       // Caps Lock
    b.row(0x28, 0x0D);       // Enter
    b.row(0x2A, 0x08);       // Backspace
    b.row(0x2C, 0x20);       // Space
    b.row(0x2F, 0xDB);       // [
    b.row(0x30, 0xDD);       // ]
    b.row(0x31, 0xDC);       // backslash
    b.row(0x33, 0xBA);       // ;
    b.row(0x34, 0xDE);       // '
    b.row(0x36, 0xBC);       // ,
    b.row(0x37, 0xBE);       // .
    b.row(0x38, 0xBF);       // /
    b.row(0x35, 0xC0);       // grave accent
    b.row(0x2E, 0xBB);       // =
    b.row(0x2D, 0xBD);       // -
    b.row(0x46, 0x2C);       // Print Screen
    b.row(0x47, 0x91);       // Scroll Lock
    b.row(0x48, 0x13);       // Pause
    b.row(0x49, 0x2D);       // Insert
    b.row(0x4A, 0x24);       // Home
    b.row(0x4B, 0x21);       // Page Up
    b.row(0x4C, 0x2E);       // Delete
    b.row(0x4D, 0x23);       // End
    b.row(0x4E, 0x22);       // Page Down
    b.row(0x52, 0x26);       // Up
    b.row(0x51, 0x28);       // Down
    b.row(0x50, 0x25);       // Left
    b.row(0x4F, 0x27);       // Right
    b.range(0x59, 0x61, 9);   // keypad 1..9
    b.row(0x62, 0x60);       // keypad 0
    b.row(0x57, 0x6B);       // keypad +
    b.row(0x56, 0x6D);       // keypad -
    b.row(0x55, 0x6A);       // keypad *
    b.row(0x54, 0x6F);       // keypad /
    b.row(0x53, 0x90);       // Num Lock
    b.row(0x58, 0x0D);       // keypad Enter, shadowed by the Enter row above
    b.row(0x63, 0x6E);       // keypad decimal point
    b.row(0xE0, 0xA2);       // left Ctrl
    b.row(0xE1, 0xA0);       // left Shift
    b.row(0xE2, 0xA4);       // left Alt
    b.row(0xE3, 0x5B);       // left Windows
    b.row(0xE4, 0xA3);       // right Ctrl
    b.row(0xE5, 0xA1);       // right Shift
    b.row(0xE6, 0xA5);       // right Alt
    b.row(0xE7, 0x5C);       // right Windows
    b.row(0x65, 0x5D);       // Applications
    return b;
}

constexpr Builder kTable = Build();
static_assert(kTable.rows == kHidUsageRows);

}  // namespace

const std::array<std::uint8_t, 2 * kHidUsageRows> VirtualKeyUsageTable = kTable.bytes;

std::uint8_t HidUsageForVirtualKey(std::uint8_t virtualKey) {
    for (std::size_t i = 0; i < kHidUsageRows; ++i)
        if (VirtualKeyUsageTable[2 * i + 1] == virtualKey) return VirtualKeyUsageTable[2 * i];
    return 0;
}

}  // namespace mv
