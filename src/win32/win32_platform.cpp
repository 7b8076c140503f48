#include "win32/win32_platform.h"

#include <windows.h>
#include <shellapi.h>

namespace mv {

namespace {
HWND H(WindowHandle w) { return reinterpret_cast<HWND>(w); }
WindowHandle W(HWND h) { return reinterpret_cast<WindowHandle>(h); }
HMODULE M(ModuleHandle m) { return reinterpret_cast<HMODULE>(m); }

template <typename Fn>
Fn Export(ModuleHandle module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(M(module), name)));
}
}  // namespace

void RestrictDllSearch() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const auto restrict = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (!restrict || !restrict(LOAD_LIBRARY_SEARCH_SYSTEM32)) SetDllDirectoryW(L"");
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
    // The flag needs Windows 8 or Windows 7's KB2533623; without it, the full system path.
    if (HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return module;
    wchar_t directory[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(directory, length) + L"\\" + name;
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

FARPROC SystemProc(const wchar_t* dll, const char* name) {
    HMODULE module = GetModuleHandleW(dll);
    if (!module) module = LoadSystemLibrary(dll);
    return module ? GetProcAddress(module, name) : nullptr;
}

bool RegisterSessionNotifications(HWND window) {
    using RegisterFn = BOOL(WINAPI*)(HWND, DWORD);
    const auto registerFn = SystemFunction<RegisterFn>(L"wtsapi32.dll", "WTSRegisterSessionNotification");
    return registerFn && registerFn(window, 0 /* NOTIFY_FOR_THIS_SESSION */);
}

void UnregisterSessionNotifications(HWND window) {
    using UnregisterFn = BOOL(WINAPI*)(HWND);
    if (const auto unregisterFn = SystemFunction<UnregisterFn>(L"wtsapi32.dll", "WTSUnRegisterSessionNotification")) unregisterFn(window);
}

std::wstring ToWide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

std::u16string FromWide(const wchar_t* text) {
    std::u16string out;
    if (text)
        for (; *text; ++text) out.push_back(static_cast<char16_t>(*text));
    return out;
}

// ---- input

void Win32Input::keybdEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags, std::uintptr_t extraInfo) {
    keybd_event(vk, scan, flags, static_cast<ULONG_PTR>(extraInfo));
}

void Win32Input::mouseEvent(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::int32_t data,
                            std::uintptr_t extraInfo) {
    mouse_event(flags, static_cast<DWORD>(dx), static_cast<DWORD>(dy), static_cast<DWORD>(data),
                static_cast<ULONG_PTR>(extraInfo));
}

std::uint32_t Win32Input::mapVirtualKey(std::uint32_t code, std::uint32_t mapType) {
    return MapVirtualKeyW(code, mapType);
}

std::uintptr_t Win32Input::messageExtraInfo() { return static_cast<std::uintptr_t>(GetMessageExtraInfo()); }

bool Win32Input::postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) {
    return PostMessageW(H(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam)) != FALSE;
}

std::intptr_t Win32Input::sendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                      std::intptr_t lParam) {
    return SendMessageW(H(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}

void Win32Input::sleep(std::uint32_t milliseconds) { Sleep(milliseconds); }

bool Win32Input::cursorPos(Point& where) {
    POINT p{};
    if (!GetCursorPos(&p)) return false;
    where = {p.x, p.y};
    return true;
}

bool Win32Input::setCursorPos(Point where) { return SetCursorPos(where.x, where.y) != FALSE; }

// ---- desktop

WindowHandle Win32Desktop::windowFromPoint(Point where) { return W(WindowFromPoint(POINT{where.x, where.y})); }

std::u16string Win32Desktop::className(WindowHandle window) {
    wchar_t name[260] = {};
    const int length = GetClassNameW(H(window), name, 260);
    if (length <= 0) return {};
    return FromWide(name);
}

WindowHandle Win32Desktop::foregroundWindow() { return W(GetForegroundWindow()); }
WindowHandle Win32Desktop::desktopWindow() { return W(GetDesktopWindow()); }

std::uint32_t Win32Desktop::windowStyle(WindowHandle window) {
    return static_cast<std::uint32_t>(GetWindowLongW(H(window), GWL_STYLE));
}

VersionInfo Win32Desktop::windowsVersion() {
    OSVERSIONINFOW info{};
    static_assert(sizeof(info) == 276);
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&info)) return {};
#pragma GCC diagnostic pop
    return {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}

// ---- system

void Win32System::shellOpen(const std::u16string& target) { launcher_.Launch(target); }

std::optional<bool> Win32System::isWow64Process() {
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    const HMODULE kernel = GetModuleHandleW(L"kernel32");
    const auto fn = Export<IsWow64ProcessFn>(reinterpret_cast<ModuleHandle>(kernel), "IsWow64Process");
    if (!fn) return std::nullopt;
    BOOL wow64 = FALSE;
    if (!fn(GetCurrentProcess(), &wow64)) return false;
    return wow64 != FALSE;
}

ModuleHandle Win32System::loadLibrary(const std::u16string& name) {
    return reinterpret_cast<ModuleHandle>(LoadSystemLibrary(ToWide(name).c_str()));
}

void Win32System::freeLibrary(ModuleHandle module) {
    if (module) FreeLibrary(M(module));
}

bool Win32System::disableFsRedirection(ModuleHandle module, std::uintptr_t& oldValue) {
    using DisableFn = BOOL(WINAPI*)(PVOID*);
    const auto fn = Export<DisableFn>(module, "Wow64DisableWow64FsRedirection");
    if (!fn) return false;
    PVOID old = nullptr;
    fn(&old);
    oldValue = reinterpret_cast<std::uintptr_t>(old);
    return true;
}

bool Win32System::revertFsRedirection(ModuleHandle module, std::uintptr_t oldValue) {
    using RevertFn = BOOL(WINAPI*)(PVOID);
    const auto fn = Export<RevertFn>(module, "Wow64RevertWow64FsRedirection");
    if (!fn) return false;
    fn(reinterpret_cast<PVOID>(oldValue));
    return true;
}

void Win32System::lockWorkStation() { LockWorkStation(); }

std::uintptr_t Win32System::procAddress(ModuleHandle module, const char* name) {
    return reinterpret_cast<std::uintptr_t>(reinterpret_cast<void*>(GetProcAddress(M(module), name)));
}

void Win32System::callWindowEntry(std::uintptr_t entry, WindowHandle window) {
    using EntryFn = void (*)(HWND);
    if (entry) reinterpret_cast<EntryFn>(entry)(H(window));
}

// ---- clock

std::uint32_t Win32Clock::tickCount() { return GetTickCount(); }

}  // namespace mv
