#include "ui/placement_win.h"

#include "ui/dpi_win.h"
#include "ui/layout.h"

namespace mv {

namespace {
Rect WorkAreaOfMonitor(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (monitor && ::GetMonitorInfoW(monitor, &info)) return FromRECT(info.rcWork);
    RECT area{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return FromRECT(area);
}

void MoveTo(HWND window, const Rect& now, const Rect& wanted) {
    if (wanted == now) return;
    ::SetWindowPos(window, nullptr, wanted.left, wanted.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
}  // namespace

Rect WorkAreaAt(POINT point) { return WorkAreaOfMonitor(::MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST)); }

Rect WorkAreaOf(HWND window) { return WorkAreaOfMonitor(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)); }

void KeepOnScreen(HWND window) {
    RECT r{};
    if (!::GetWindowRect(window, &r)) return;
    const Rect now = FromRECT(r);
    MoveTo(window, now, KeepInside(now, WorkAreaOf(window)));
}

void CentreOver(HWND window, HWND over) {
    RECT r{}, o{};
    if (!over || !::IsWindowVisible(over) || ::IsIconic(over) || !::GetWindowRect(window, &r) ||
        !::GetWindowRect(over, &o))
        return;
    const Rect now = FromRECT(r);
    MoveTo(window, now, mv::CentreOver(FromRECT(o), now.width(), now.height(), WorkAreaOf(over)));
}

}  // namespace mv
