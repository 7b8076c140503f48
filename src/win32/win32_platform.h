// The real system seams: Win32 calls behind the portable interfaces.
#pragma once

#include "seams/desktop.h"
#include "seams/input.h"
#include "seams/system.h"
#include "seams/clock.h"
#include "win32/user_launcher.h"

namespace mv {

class Win32Input final : public InputSeam {
public:
    void keybdEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags, std::uintptr_t extraInfo) override;
    void mouseEvent(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::int32_t data,
                    std::uintptr_t extraInfo) override;
    std::uint32_t mapVirtualKey(std::uint32_t code, std::uint32_t mapType) override;
    std::uintptr_t messageExtraInfo() override;
    bool postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t lParam) override;
    std::intptr_t sendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam) override;
    void sleep(std::uint32_t milliseconds) override;
    bool cursorPos(Point& where) override;
    bool setCursorPos(Point where) override;
};

class Win32Desktop final : public DesktopSeam {
public:
    WindowHandle windowFromPoint(Point where) override;
    std::u16string className(WindowHandle window) override;
    WindowHandle foregroundWindow() override;
    WindowHandle desktopWindow() override;
    std::uint32_t windowStyle(WindowHandle window) override;
    VersionInfo windowsVersion() override;
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
    bool mouseButtonsSwapped() override;
    bool windowAtOurIntegrity(WindowHandle window) override;
};

class Win32System final : public SystemSeam {
public:
    // Programs, files and web pages go to the launcher, which starts them as the desktop user.
    void shellOpen(const std::u16string& target) override;
    std::optional<bool> isWow64Process() override;
    ModuleHandle loadLibrary(const std::u16string& name) override;
    void freeLibrary(ModuleHandle module) override;
    bool disableFsRedirection(ModuleHandle module, std::uintptr_t& oldValue) override;
    bool revertFsRedirection(ModuleHandle module, std::uintptr_t oldValue) override;
    void lockWorkStation() override;
    std::uintptr_t procAddress(ModuleHandle module, const char* name) override;
    void callWindowEntry(std::uintptr_t entry, WindowHandle window) override;
    void debugOutput(const std::u16string& text) override;
    std::optional<std::vector<std::u16string>> runningProcessNames() override;
    bool comInitialize() override;
    void comUninitialize() override;
    std::uint32_t registerWindowMessage(const std::u16string& name) override;
    bool sendMessageTimeout(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                            std::uint32_t flags, std::uint32_t timeoutMs, std::uintptr_t& result) override;
    DocumentScroll scrollHtmlDocument(ModuleHandle oleacc, std::uintptr_t lresult, std::int32_t dx,
                                      std::int32_t dy) override;

    UserLauncher& launcher() { return launcher_; }

private:
    UserLauncher launcher_;
};

class Win32Clock final : public TickClock {
public:
    std::uint32_t tickCount() override;
};

// DLLs come from system32 only: the search path of this process leaves out the program's
// folder, the current folder and PATH (SetDefaultDllDirectories, else SetDllDirectoryW("")).
// First thing at start.
void RestrictDllSearch();
// A system DLL by its file name, from system32 and nowhere else; null when it is not there.
HMODULE LoadSystemLibrary(const wchar_t* name);
// The function `name` of the system DLL `dll`, which is loaded from system32 when it is not
// yet and then stays loaded (callers keep the pointer); null when either is missing.
FARPROC SystemProc(const wchar_t* dll, const char* name);
template <typename Function>
Function SystemFunction(const wchar_t* dll, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(SystemProc(dll, name)));
}
// COM unmarshals in this process only what the system itself marshals (the strong policy), so
// that an object handed over by another process cannot bring its own proxy code. Needs COM
// initialised on the calling thread; true when the policy is set.
bool SetStrongUnmarshaling();
// COM for the user-interface thread (the one that called MarkUiThread at start), begun at its
// first need (apartment-threaded, OLE1 DDE off, the strong unmarshaling policy set) and kept
// until EndUiThreadCom at exit: a program that is never opened does not load COM. Calls from
// any other thread do nothing and answer false.
void MarkUiThread();
bool EnsureUiThreadCom();
void EndUiThreadCom();

// WTSRegisterSessionNotification for this session (wtsapi32 from system32): the window hears
// of lock, unlock, connect and disconnect. False where it is not to be had.
bool RegisterSessionNotifications(HWND window);
void UnregisterSessionNotifications(HWND window);

// Conversions at the Win32 boundary.
std::wstring ToWide(const std::u16string& text);
std::u16string FromWide(const wchar_t* text);

}  // namespace mv
