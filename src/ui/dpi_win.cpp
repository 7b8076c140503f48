#include "ui/dpi_win.h"

#include "win32/win32_platform.h"

namespace mv {

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : kBaseDpi;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kBaseDpi;
}

int WindowDpi(HWND window) {
    using ForWindow = UINT(WINAPI*)(HWND);
    static const ForWindow forWindow = SystemFunction<ForWindow>(L"user32.dll", "GetDpiForWindow");
    const int dpi = forWindow && window ? static_cast<int>(forWindow(window)) : 0;
    return dpi > 0 ? dpi : SystemDpi();
}

int DpiAtPoint(POINT point) {
    using ForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const ForMonitor forMonitor = SystemFunction<ForMonitor>(L"shcore.dll", "GetDpiForMonitor");
    UINT x = 0, y = 0;
    if (forMonitor && SUCCEEDED(forMonitor(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), 0 /* effective */, &x, &y)) &&
        x > 0)
        return static_cast<int>(x);
    return SystemDpi();
}

void KeepOwnDpiLayout(HWND dialog) {
    using Behaviour = BOOL(WINAPI*)(HWND, int, int);
    static const Behaviour set = SystemFunction<Behaviour>(L"user32.dll", "SetDialogDpiChangeBehavior");
    constexpr int kDisableAll = 1;  // DDC_DISABLE_ALL
    if (set && dialog) set(dialog, kDisableAll, kDisableAll);
}

SIZE SizeForDpi(SIZE size, int from, int dpi) {
    return SIZE{ScaleToDpi(UnscaleFromDpi(size.cx, from), dpi), ScaleToDpi(UnscaleFromDpi(size.cy, from), dpi)};
}

int SmallIconSize(int dpi) {
    using MetricsForDpi = int(WINAPI*)(int, UINT);
    static const MetricsForDpi metrics = SystemFunction<MetricsForDpi>(L"user32.dll", "GetSystemMetricsForDpi");
    const int size = metrics ? metrics(SM_CXSMICON, static_cast<UINT>(dpi)) : 0;
    return size > 0 ? size : ScaleToDpi(16, dpi);
}

}  // namespace mv
