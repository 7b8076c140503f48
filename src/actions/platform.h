// System seams used by the actions: input injection, desktop queries, shell and
// system services. The Windows build implements them with Win32 calls
// (src/win32); unit tests use a recording fake.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace mv {

using WindowHandle = std::uintptr_t;  // an HWND as an integer; 0 is null
using ModuleHandle = std::uintptr_t;  // an HMODULE as an integer; 0 is null

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    std::int32_t width() const { return right - left; }
    std::int32_t height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// What GetVersionExW reports.
struct VersionInfo {
    std::uint32_t platformId = 0;
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
};

// keybd_event / mouse_event / window messages / Sleep / the pointer position.
class InputSeam {
public:
    virtual ~InputSeam() = default;
    virtual void keybdEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags, std::uintptr_t extraInfo) = 0;
    virtual void mouseEvent(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::int32_t data,
                            std::uintptr_t extraInfo) = 0;
    virtual std::uint32_t mapVirtualKey(std::uint32_t code, std::uint32_t mapType) = 0;
    virtual std::uintptr_t messageExtraInfo() = 0;
    virtual bool postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) = 0;
    virtual std::intptr_t sendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                      std::intptr_t lParam) = 0;
    virtual void sleep(std::uint32_t milliseconds) = 0;
    virtual bool cursorPos(Point& where) = 0;
    virtual bool setCursorPos(Point where) = 0;
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
};

// What IHTMLWindow2::scrollBy reported for an embedded browser document.
enum class DocumentScroll {
    Unavailable,  // no document, script object or window interface was obtained
    Scrolled,     // scrollBy returned S_OK
    Refused,      // scrollBy returned anything else
};

// Shell launch, workstation lock with its WOW64 steps, module exports.
class SystemSeam {
public:
    virtual ~SystemSeam() = default;
    // ShellExecuteW(NULL, "open", target, NULL, NULL, SW_SHOWNORMAL); result not examined.
    virtual void shellOpen(const std::u16string& target) = 0;
    // IsWow64Process looked up in the loaded "kernel32"; nullopt when the export is absent.
    virtual std::optional<bool> isWow64Process() = 0;
    virtual ModuleHandle loadLibrary(const std::u16string& name) = 0;
    virtual void freeLibrary(ModuleHandle module) = 0;
    // Looks up Wow64DisableWow64FsRedirection in `module` and calls it; false when the export is absent.
    virtual bool disableFsRedirection(ModuleHandle module, std::uintptr_t& oldValue) = 0;
    // Looks up Wow64RevertWow64FsRedirection in `module` and calls it; false when the export is absent.
    virtual bool revertFsRedirection(ModuleHandle module, std::uintptr_t oldValue) = 0;
    virtual void lockWorkStation() = 0;
    // GetProcAddress with an ANSI name; 0 when absent.
    virtual std::uintptr_t procAddress(ModuleHandle module, const char* name) = 0;
    // Calls an entry point of the form void (*)(HWND).
    virtual void callWindowEntry(std::uintptr_t entry, WindowHandle window) = 0;

    // OutputDebugStringW.
    virtual void debugOutput(const std::u16string& text) = 0;
    // The executable names of a process snapshot (CreateToolhelp32Snapshot,
    // Process32FirstW/NextW); nullopt when the snapshot or its first entry
    // cannot be read.
    virtual std::optional<std::vector<std::u16string>> runningProcessNames() = 0;
    // CoInitialize / CoUninitialize for the calling thread.
    virtual bool comInitialize() = 0;
    virtual void comUninitialize() = 0;
    // RegisterWindowMessageW; 0 on failure.
    virtual std::uint32_t registerWindowMessage(const std::u16string& name) = 0;
    // SendMessageTimeoutW; false when it failed or timed out, else `result` holds the answer.
    virtual bool sendMessageTimeout(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                    std::intptr_t lParam, std::uint32_t flags, std::uint32_t timeoutMs,
                                    std::uintptr_t& result) = 0;
    // With `oleacc` the loaded accessibility module: its ObjectFromLresult(lresult,
    // IID_IHTMLDocument2, 0), then the document's script object as IHTMLWindow2,
    // then scrollBy(dx, dy). Every interface obtained is released.
    virtual DocumentScroll scrollHtmlDocument(ModuleHandle oleacc, std::uintptr_t lresult, std::int32_t dx,
                                              std::int32_t dy) = 0;
};

}  // namespace mv
