// Where windows go on the monitors: work areas, and windows kept inside them.
#pragma once

#include <windows.h>

#include "base/geometry.h"

namespace mv {

// The work area of the monitor nearest to a screen point or a window.
Rect WorkAreaAt(POINT point);
Rect WorkAreaOf(HWND window);
// Moves the window, when part of it is off its nearest monitor's work area, wholly inside.
void KeepOnScreen(HWND window);
// Centres the window over `over` (when that is visible), inside that monitor's work area.
void CentreOver(HWND window, HWND over);

}  // namespace mv
