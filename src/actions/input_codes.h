// Virtual-key codes, input flags and window messages used by the actions.
// Named with a k prefix so that they never meet the <windows.h> macros.
#pragma once

#include <cstdint>

namespace mv {

// Virtual keys
inline constexpr std::uint8_t kVkBack = 0x08;
inline constexpr std::uint8_t kVkTab = 0x09;
inline constexpr std::uint8_t kVkReturn = 0x0D;
inline constexpr std::uint8_t kVkShift = 0x10;
inline constexpr std::uint8_t kVkControl = 0x11;
inline constexpr std::uint8_t kVkMenu = 0x12;
inline constexpr std::uint8_t kVkSpace = 0x20;
inline constexpr std::uint8_t kVkPrior = 0x21;
inline constexpr std::uint8_t kVkDown = 0x28;
inline constexpr std::uint8_t kVkLeft = 0x25;
inline constexpr std::uint8_t kVkRight = 0x27;
inline constexpr std::uint8_t kVkInsert = 0x2D;
inline constexpr std::uint8_t kVkDelete = 0x2E;
inline constexpr std::uint8_t kVkLWin = 0x5B;
inline constexpr std::uint8_t kVkAdd = 0x6B;
inline constexpr std::uint8_t kVkSubtract = 0x6D;
inline constexpr std::uint8_t kVkDivide = 0x6F;
inline constexpr std::uint8_t kVkF4 = 0x73;
inline constexpr std::uint8_t kVkF5 = 0x74;
inline constexpr std::uint8_t kVkF6 = 0x75;
inline constexpr std::uint8_t kVkF23 = 0x86;
inline constexpr std::uint8_t kVkLShift = 0xA0;
inline constexpr std::uint8_t kVkLControl = 0xA2;
inline constexpr std::uint8_t kVkRControl = 0xA3;
inline constexpr std::uint8_t kVkLMenu = 0xA4;
inline constexpr std::uint8_t kVkRShift = 0xA1;
inline constexpr std::uint8_t kVkRMenu = 0xA5;
inline constexpr std::uint8_t kVkVolumeMute = 0xAD;
inline constexpr std::uint8_t kVkVolumeDown = 0xAE;
inline constexpr std::uint8_t kVkVolumeUp = 0xAF;
inline constexpr std::uint8_t kVkMediaNextTrack = 0xB0;
inline constexpr std::uint8_t kVkMediaPrevTrack = 0xB1;
inline constexpr std::uint8_t kVkMediaStop = 0xB2;
inline constexpr std::uint8_t kVkMediaPlayPause = 0xB3;
inline constexpr std::uint8_t kVkOemPlus = 0xBB;
inline constexpr std::uint8_t kVkOemMinus = 0xBD;

// keybd_event flags
inline constexpr std::uint32_t kKeyExtended = 0x0001;
inline constexpr std::uint32_t kKeyUp = 0x0002;

// mouse_event flags
inline constexpr std::uint32_t kMouseLeftDown = 0x0002;
inline constexpr std::uint32_t kMouseLeftUp = 0x0004;
inline constexpr std::uint32_t kMouseRightDown = 0x0008;
inline constexpr std::uint32_t kMouseRightUp = 0x0010;
inline constexpr std::uint32_t kMouseMiddleDown = 0x0020;
inline constexpr std::uint32_t kMouseMiddleUp = 0x0040;
inline constexpr std::uint32_t kMouseXDown = 0x0080;
inline constexpr std::uint32_t kMouseXUp = 0x0100;
inline constexpr std::uint32_t kMouseWheel = 0x0800;
inline constexpr std::uint32_t kMouseHWheel = 0x1000;
inline constexpr std::uint32_t kMouseAbsolute = 0x8000;
inline constexpr std::int32_t kWheelDelta = 120;

// Window messages and system commands
inline constexpr std::uint32_t kWmKeyDown = 0x0100;
inline constexpr std::uint32_t kWmKeyUp = 0x0101;
inline constexpr std::uint32_t kWmSysCommand = 0x0112;
inline constexpr std::uint32_t kWmHScroll = 0x0114;
inline constexpr std::uintptr_t kSbLineLeft = 0;
inline constexpr std::uintptr_t kSbLineRight = 1;
inline constexpr std::uint32_t kSmtoAbortIfHung = 0x0002;
inline constexpr std::uint32_t kScMinimize = 0xF020;
inline constexpr std::uint32_t kScRestore = 0xF120;

// Window styles
inline constexpr std::uint32_t kWsMaximizeBox = 0x00010000;
inline constexpr std::uint32_t kWsMinimizeBox = 0x00020000;
inline constexpr std::uint32_t kWsHScroll = 0x00100000;
inline constexpr std::uint32_t kWsVScroll = 0x00200000;
inline constexpr std::uint32_t kSbsVert = 0x0001;
inline constexpr std::uint32_t kSbsSizeBox = 0x0008;

}  // namespace mv
