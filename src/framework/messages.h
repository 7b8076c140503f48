// Window messages and timers exchanged between the program's windows and threads.
#pragma once

#include <cstdint>

namespace mv {

inline constexpr std::uint32_t WM_GESTURE_EVENT = 0x7EB;
inline constexpr std::uint32_t WM_TRAY_NOTIFY = 0x600;
inline constexpr std::uint32_t WM_RESTORE_DEFAULTS = 0x602;
// A launch for the user has ended; its report waits in the launcher.
inline constexpr std::uint32_t WM_LAUNCH_REPORT = 0x603;
inline constexpr std::uint32_t WM_ACTIVATE_INSTANCE = 0x4CA;
// Sent by a dialog to the window it belongs to: the DPI that window is laid out for, which
// the dialog takes too (0, or no answer: the dialog asks the system).
inline constexpr std::uint32_t WM_LAYOUT_DPI = 0x8060;

inline constexpr std::uintptr_t TIMER_DRIVER_RETRY = 1282;
inline constexpr std::uintptr_t TIMER_BATTERY = 1283;
inline constexpr std::uintptr_t TIMER_EXIT_RETRY = 1284;
inline constexpr std::uintptr_t TIMER_RELEASE_PICTURES = 1286;

}  // namespace mv
