#include "win/tray_support.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>

#include "win/program_support.h"

namespace mv::wintest {

namespace {

constexpr wchar_t kStandInClass[] = L"Shell_TrayWnd";

// Wine's shell32 hands every notification over in one platform-independent block: these
// fields, then (with NIF_ICON) the icon's mask and colour bits.
constexpr std::size_t kWindowOffset = 0, kIdOffset = 4, kFlagsOffset = 8, kCallbackOffset = 12, kTipOffset = 16,
                      kInfoOffset = 280, kTimeoutOffset = 792, kInfoTitleOffset = 796, kInfoFlagsOffset = 924,
                      kIconWidthOffset = 944, kIconHeightOffset = 948, kHeaderSize = 960;

std::uint32_t Le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::wstring Text(const std::uint8_t* p, std::size_t units) {
    std::wstring s;
    for (std::size_t i = 0; i < units; ++i) {
        const wchar_t c = static_cast<wchar_t>(p[2 * i] | p[2 * i + 1] << 8);
        if (!c) break;
        s.push_back(c);
    }
    return s;
}

std::wstring EnvValue(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    return GetEnvironmentVariableW(name, value, MAX_PATH) ? value : L"";
}

}  // namespace

StandInTray::StandInTray() {
    ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, Thread, this, 0, nullptr);
    if (thread_) WaitForSingleObject(ready_, 10000);
}

StandInTray::~StandInTray() {
    if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
    if (thread_) {
        WaitForSingleObject(thread_, 10000);
        CloseHandle(thread_);
    }
    if (ready_) CloseHandle(ready_);
}

DWORD WINAPI StandInTray::Thread(void* parameter) {
    auto* self = static_cast<StandInTray*>(parameter);
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kStandInClass;
    RegisterClassW(&wc);
    // Top-most, so that it stands before the shell's own tray window in the window order.
    HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kStandInClass, L"", WS_POPUP, 0, 0, 0, 0,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_ = window;
    SetEvent(self->ready_);
    MSG msg;
    while (window && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    UnregisterClassW(kStandInClass, wc.hInstance);
    return 0;
}

LRESULT CALLBACK StandInTray::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<StandInTray*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_COPYDATA) return self->OnCopyData(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    if (message == WM_CLOSE) {
        DestroyWindow(window);
        return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT StandInTray::OnCopyData(const COPYDATASTRUCT& data) {
    if (data.cbData < kHeaderSize || !data.lpData) return FALSE;
    const auto* p = static_cast<const std::uint8_t*>(data.lpData);
    TrayNotification n;
    n.message = static_cast<DWORD>(data.dwData);
    n.window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(Le32(p + kWindowOffset)));
    n.id = Le32(p + kIdOffset);
    n.flags = Le32(p + kFlagsOffset);
    n.callbackMessage = Le32(p + kCallbackOffset);
    n.tip = Text(p + kTipOffset, 128);
    n.info = Text(p + kInfoOffset, 256);
    n.timeout = Le32(p + kTimeoutOffset);
    n.infoTitle = Text(p + kInfoTitleOffset, 64);
    n.infoFlags = Le32(p + kInfoFlagsOffset);
    n.iconWidth = Le32(p + kIconWidthOffset);
    n.iconHeight = Le32(p + kIconHeightOffset);
    n.iconBits.assign(p + kHeaderSize, p + data.cbData);

    std::lock_guard<std::mutex> lock(mutex_);
    const std::pair<HWND, UINT> key{n.window, n.id};
    const auto held = std::find(icons_.begin(), icons_.end(), key);
    BOOL result = TRUE;
    if (n.message == NIM_ADD) {
        if (held == icons_.end()) icons_.push_back(key);
        else result = FALSE;
    } else if (n.message == NIM_MODIFY) {
        result = held != icons_.end();
    } else if (n.message == NIM_DELETE) {
        result = held != icons_.end();
        if (result) icons_.erase(held);
    }
    received_.push_back(std::move(n));
    return result;
}

std::vector<TrayNotification> StandInTray::notifications() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return received_;
}

bool StandInTray::holds(HWND window, UINT id) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::find(icons_.begin(), icons_.end(), std::pair<HWND, UINT>{window, id}) != icons_.end();
}

bool StandInTray::waitFor(std::size_t count, DWORD ms) const {
    for (DWORD waited = 0;; waited += 50) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (received_.size() >= count) return true;
        }
        if (waited >= ms) return false;
        PumpThreadMessages(50);
    }
}

void BroadcastTaskbarCreated() {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 5000,
                        &result);
}

std::vector<HWND> WineTrayIcons() {
    std::vector<HWND> icons;
    HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr);
    if (!tray) return icons;
    for (HWND w = FindWindowExW(tray, nullptr, L"__winex11_tray_icon", nullptr); w;
         w = FindWindowExW(tray, w, L"__winex11_tray_icon", nullptr))
        if (IsWindowVisible(w)) icons.push_back(w);
    std::sort(icons.begin(), icons.end(), [](HWND a, HWND b) {
        RECT ra{}, rb{};
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.left < rb.left;
    });
    return icons;
}

// The Unix path of a Windows path, through Wine's own export.
std::string UnixPath(const std::wstring& windowsPath) {
    using ToUnix = char*(CDECL*)(const wchar_t*);
    auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* path = toUnix ? toUnix(windowsPath.c_str()) : nullptr;
    if (!path) return {};
    std::string result = path;
    HeapFree(GetProcessHeap(), 0, path);
    return result;
}

bool Xdotool(const std::wstring& arguments) {
    // Wine starts a Unix program without waiting for it and without its exit code: the tool
    // runs in a shell that writes its status into a file, which this waits for.
    const std::wstring tool = EnvValue(L"MV_XDOTOOL");
    if (tool.empty()) return false;
    static int calls = 0;
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring marker = std::wstring(temp) + L"mvxdotool." + std::to_wstring(GetCurrentProcessId()) + L"." +
                                std::to_wstring(++calls);
    DeleteFileW(marker.c_str());
    const std::string unixMarker = UnixPath(marker);
    if (unixMarker.empty()) return false;
    std::wstring command = L"/bin/sh -c \"" + tool + L" " + arguments + L"; echo $? >'" +
                           std::wstring(unixMarker.begin(), unixMarker.end()) + L"'\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    for (int waited = 0; waited < 10000; waited += 20) {
        HANDLE file = CreateFileW(marker.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            char status[8] = {};
            DWORD got = 0;
            ReadFile(file, status, sizeof status - 1, &got, nullptr);
            CloseHandle(file);
            if (got > 0 && status[got - 1] == '\n') {
                DeleteFileW(marker.c_str());
                return status[0] == '0' && got == 2;
            }
        }
        PumpThreadMessages(20);
    }
    return false;
}

bool PointerAt(int x, int y) {
    return Xdotool(L"mousemove " + std::to_wstring(x) + L" " + std::to_wstring(y));
}

bool PointerClick(int x, int y, int button, int repeat) {
    return Xdotool(L"mousemove " + std::to_wstring(x) + L" " + std::to_wstring(y) + L" click --repeat " +
                   std::to_wstring(repeat) + L" --delay 80 " + std::to_wstring(button));
}

std::vector<HWND> PopupMenusOf(DWORD process) {
    std::vector<HWND> menus;
    for (HWND w = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); w;
         w = FindWindowExW(nullptr, w, L"#32768", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == process && IsWindowVisible(w)) menus.push_back(w);
    }
    return menus;
}

ScreenArea::ScreenArea(const RECT& area) {
    width_ = std::max<LONG>(0, area.right - area.left);
    height_ = std::max<LONG>(0, area.bottom - area.top);
    pixels_.assign(static_cast<std::size_t>(width_) * height_, 0);
    if (!width_ || !height_) return;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width_, height_, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const auto* source = static_cast<const std::uint32_t*>(bits);
    for (std::size_t i = 0; i < pixels_.size(); ++i) pixels_[i] = source[i] & 0xFFFFFF;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

std::uint32_t ScreenArea::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0xFF000000;
    return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

HDC Drawing::begin() {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<std::uint32_t*>(bits);
    old_ = SelectObject(dc, bitmap_);
    return dc;
}

void Drawing::end(HDC dc) {
    GdiFlush();
    pixels_.assign(static_cast<std::size_t>(width_) * height_, 0);
    if (bits_)
        for (std::size_t i = 0; i < pixels_.size(); ++i) pixels_[i] = bits_[i] & 0xFFFFFF;
    SelectObject(dc, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc);
}

}  // namespace mv::wintest
