// The DPI a window or a place on the screen has, and 96-DPI figures brought to it. Each call
// that newer Windows versions add is looked up at run time: on a system without it the
// system DPI stands in.
#pragma once

#include <windows.h>

#include "base/geometry.h"
#include "ui/display_scale.h"

namespace mv {

// The DPI of the screen as a whole (GetDeviceCaps of the screen).
int SystemDpi();
// The window's DPI (GetDpiForWindow; the system DPI where that is missing).
int WindowDpi(HWND window);
// The DPI of the monitor at a screen point (GetDpiForMonitor; the system DPI where missing).
int DpiAtPoint(POINT point);
// The size of a small icon at `dpi` (GetSystemMetricsForDpi; 16 at 96 DPI scaled where missing).
int SmallIconSize(int dpi);
// A skinned dialog lays itself out for a new DPI: the dialog manager is told to leave its
// size and its controls alone (SetDialogDpiChangeBehavior, Windows 10 1703 and later).
void KeepOwnDpiLayout(HWND dialog);

// WM_GETDPISCALEDSIZE (Windows 10 1703): asked with the new DPI before WM_DPICHANGED.
inline constexpr UINT kGetDpiScaledSize = 0x02E4;
// The size at `dpi` of a window laid out at `from` with `size`: each side's 96-DPI figure
// scaled anew, so that the suggested rectangle of WM_DPICHANGED is the window's own size.
SIZE SizeForDpi(SIZE size, int from, int dpi);

inline RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
inline Rect FromRECT(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }
// A 96-DPI rectangle in pixels at `dpi`.
inline RECT ScaledRECT(const Rect& rect96, int dpi) { return ToRECT(ScaleRect(rect96, dpi)); }
inline RECT ScaledRECT(const RECT& rect96, int dpi) { return ScaledRECT(FromRECT(rect96), dpi); }
inline int Scaled(int value96, int dpi) { return ScaleToDpi(value96, dpi); }

}  // namespace mv
