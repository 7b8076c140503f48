// Read-only questions about the desktop's windows and the system. The Windows build
// answers them with Win32 calls (src/win32); unit tests use a recording fake.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "base/geometry.h"

namespace mv {

using WindowHandle = std::uintptr_t;  // an HWND as an integer; 0 is null

// What GetVersionExW reports.
struct VersionInfo {
    std::uint32_t platformId = 0;
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
};

// Read-only questions about the desktop's windows and the system.
class DesktopSeam {
public:
    virtual ~DesktopSeam() = default;
    virtual WindowHandle windowFromPoint(Point where) = 0;
    // GetClassNameW with a 260-unit buffer; empty when the name cannot be read.
    virtual std::u16string className(WindowHandle window) = 0;
    virtual WindowHandle foregroundWindow() = 0;
    virtual WindowHandle desktopWindow() = 0;
    // GetWindowLongW(GWL_STYLE); 0 when the window is gone.
    virtual std::uint32_t windowStyle(WindowHandle window) = 0;
    // GetVersionExW with a 276-byte OSVERSIONINFOW; asked afresh on every call.
    virtual VersionInfo windowsVersion() = 0;

    // Window tree: GetParent, GetWindow(GW_CHILD / GW_HWNDNEXT / GW_HWNDPREV),
    // FindWindowExW(parent, after, NULL, NULL). 0 when there is none.
    virtual WindowHandle parent(WindowHandle window) = 0;
    virtual WindowHandle firstChild(WindowHandle window) = 0;
    virtual WindowHandle nextSibling(WindowHandle window) = 0;
    virtual WindowHandle previousSibling(WindowHandle window) = 0;
    virtual WindowHandle childAfter(WindowHandle parent, WindowHandle after) = 0;
    // GetWindowRect in screen coordinates; false when the window is gone.
    virtual bool windowRect(WindowHandle window, Rect& rect) = 0;
    // ScreenToClient of `screenPoint` for `window`, then ChildWindowFromPoint:
    // the child there, `window` itself when no child is there, 0 outside it.
    virtual WindowHandle childWindowFromPoint(WindowHandle window, Point screenPoint) = 0;
    // EnumChildWindows: every descendant of `window`, parents before their
    // children; `visit` returns false to stop. False when the enumeration fails.
    virtual bool enumChildWindows(WindowHandle window, const std::function<bool(WindowHandle)>& visit) = 0;
    // GetWindowTextW; empty when there is none.
    virtual std::u16string windowText(WindowHandle window) = 0;
    // FindWindowW(className, NULL).
    virtual WindowHandle findWindow(const std::u16string& className) = 0;
    // GetSystemMetrics(SM_SWAPBUTTON) != 0.
    virtual bool mouseButtonsSwapped() = 0;
    // The window's process runs at this process's integrity level or higher (its token says
    // so); false when that cannot be read.
    virtual bool windowAtOurIntegrity(WindowHandle window) = 0;
};

}  // namespace mv
