// A recording stand-in for the system seams. Every call that has an effect is
// appended to one log, in order, as a readable line, so a test can state the
// exact sequence an action must produce.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "actions/cfunction.h"
#include "seams/desktop.h"
#include "seams/input.h"
#include "seams/system.h"
#include "seams/clock.h"
#include "settings/settings_images.h"

namespace mv::test {

// Line formats:
//   "key VK FLAGS"             keybd_event (hex vk, decimal flags); scan/extra must be 0 unless noted
//   "key VK FLAGS scan=S extra=E" when scan or extra is not 0
//   "mouse FLAGS data=D extra=E" (hex flags, decimal data; dx/dy appended when not 0)
//   "post HWND MSG W L" / "send HWND MSG W L" (hex)
//   "sleep MS"
//   "setcursor X Y"
//   "shell TARGET", "lock", "loadlib NAME", "freelib M", "disable-redir M", "revert-redir M OLD",
//   "proc M NAME", "call ENTRY HWND"
//   "debug TEXT" (a newline shown as \n), "coinit", "couninit", "register NAME",
//   "sendtimeout HWND MSG W L flags=F timeout=T", "scrollby M LRESULT DX DY" (hex but DX DY decimal)
class FakePlatform : public InputSeam, public DesktopSeam, public SystemSeam, public TickClock {
public:
    std::vector<std::string> log;

    // Desktop state the fake answers from.
    Point cursor{100, 100};
    std::map<std::pair<int, int>, WindowHandle> windowAt;  // exact point lookups
    WindowHandle defaultWindowAtPoint = 0;
    std::map<WindowHandle, std::u16string> classNames;
    std::map<WindowHandle, std::uint32_t> styles;
    WindowHandle foreground = 0;
    WindowHandle desktop = 0x10010;
    VersionInfo version{2, 6, 1};
    std::uintptr_t extraInfo = 0;

    // System state.
    std::optional<bool> wow64 = false;
    ModuleHandle kernel32 = 0x7C800000;
    bool hasDisableRedirection = true;
    bool hasRevertRedirection = true;
    std::map<std::string, std::uintptr_t> exports;
    std::uint32_t now = 0;
    int versionQueries = 0;

    // A small window tree: parents, children in z-order (first is the top,
    // GW_CHILD), window rectangles and titles. Handle 0 stands for the root of
    // the top-level windows.
    std::map<WindowHandle, WindowHandle> parents;
    std::map<WindowHandle, std::vector<WindowHandle>> children;
    std::map<WindowHandle, Rect> rects;
    std::map<WindowHandle, std::u16string> titles;
    bool swappedButtons = false;
    std::set<WindowHandle> lowerIntegrity;  // windows of processes below our integrity level
    // Adds `window` below its earlier siblings under `parent` (0: top level).
    void addWindow(WindowHandle window, WindowHandle parent, const std::u16string& className, Rect rect,
                   std::uint32_t style = 0);

    // Process list, COM and the browser document.
    std::optional<std::vector<std::u16string>> processes = std::vector<std::u16string>{};
    std::map<std::string, ModuleHandle> libraries;  // loadLibrary answers by name; others get kernel32
    bool comInitializes = true;
    std::uint32_t registeredMessage = 0xC0DE;
    bool sendTimeoutSucceeds = true;
    std::uintptr_t htmlObjectResult = 0x4711;
    DocumentScroll documentScroll = DocumentScroll::Scrolled;

    // Sets the version so that WindowsGeneration yields `generation` (0 to 7).
    void setGeneration(int generation);

    // InputSeam
    void keybdEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags, std::uintptr_t extra) override;
    void mouseEvent(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::int32_t data,
                    std::uintptr_t extra) override;
    std::uint32_t mapVirtualKey(std::uint32_t code, std::uint32_t mapType) override;
    std::uintptr_t messageExtraInfo() override { return extraInfo; }
    bool postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t lParam) override;
    std::intptr_t sendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam) override;
    void sleep(std::uint32_t ms) override;
    bool cursorPos(Point& where) override {
        where = cursor;
        return true;
    }
    bool setCursorPos(Point where) override;

    // DesktopSeam
    WindowHandle windowFromPoint(Point where) override;
    std::u16string className(WindowHandle window) override;
    WindowHandle foregroundWindow() override { return foreground; }
    WindowHandle desktopWindow() override { return desktop; }
    std::uint32_t windowStyle(WindowHandle window) override;
    VersionInfo windowsVersion() override {
        ++versionQueries;
        return version;
    }
    WindowHandle parent(WindowHandle window) override;
    WindowHandle firstChild(WindowHandle window) override;
    WindowHandle nextSibling(WindowHandle window) override;
    WindowHandle previousSibling(WindowHandle window) override;
    WindowHandle childAfter(WindowHandle parent, WindowHandle after) override;
    bool windowRect(WindowHandle window, Rect& rect) override;
    WindowHandle childWindowFromPoint(WindowHandle window, Point screenPoint) override;
    bool enumChildWindows(WindowHandle window, const std::function<bool(WindowHandle)>& visit) override;
    std::u16string windowText(WindowHandle window) override;
    WindowHandle findWindow(const std::u16string& className) override;
    bool mouseButtonsSwapped() override { return swappedButtons; }
    bool windowAtOurIntegrity(WindowHandle window) override { return lowerIntegrity.count(window) == 0; }

    // SystemSeam
    void shellOpen(const std::u16string& target) override;
    std::optional<bool> isWow64Process() override { return wow64; }
    ModuleHandle loadLibrary(const std::u16string& name) override;
    void freeLibrary(ModuleHandle module) override;
    bool disableFsRedirection(ModuleHandle module, std::uintptr_t& oldValue) override;
    bool revertFsRedirection(ModuleHandle module, std::uintptr_t oldValue) override;
    void lockWorkStation() override { log.push_back("lock"); }
    std::uintptr_t procAddress(ModuleHandle module, const char* name) override;
    void callWindowEntry(std::uintptr_t entry, WindowHandle window) override;
    void debugOutput(const std::u16string& text) override;
    std::optional<std::vector<std::u16string>> runningProcessNames() override { return processes; }
    bool comInitialize() override;
    void comUninitialize() override { log.push_back("couninit"); }
    std::uint32_t registerWindowMessage(const std::u16string& name) override;
    bool sendMessageTimeout(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                            std::uint32_t flags, std::uint32_t timeoutMs, std::uintptr_t& result) override;
    DocumentScroll scrollHtmlDocument(ModuleHandle oleacc, std::uintptr_t lresult, std::int32_t dx,
                                      std::int32_t dy) override;

    // TickClock
    std::uint32_t tickCount() override { return now; }
};

// A FakePlatform with a MacroStore and an ActionContext over both.
struct FakeActions {
    FakePlatform platform;
    MacroStore macros;
    ActionContext context{platform, platform, platform, macros};
    CFunction function{context};
};

std::string Hex(std::uint64_t value);
std::string Utf8(const std::u16string& text);

}  // namespace mv::test
