// Classification of the Windows version that gates some actions.
#pragma once

#include "seams/desktop.h"

namespace mv {

// 1/2 Windows 9x, 3 Windows 2000, 4 XP, 5 Vista, 6 Windows 7, 7 Windows 8; 0 anything else.
int ClassifyWindowsVersion(const VersionInfo& version);

// Asks the system afresh on every call.
inline int WindowsGeneration(DesktopSeam& desktop) { return ClassifyWindowsVersion(desktop.windowsVersion()); }

inline constexpr int kGenerationVista = 5;
inline constexpr int kGenerationWindows7 = 6;
inline constexpr int kGenerationWindows8 = 7;

}  // namespace mv
