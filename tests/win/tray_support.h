// The notification area under Wine, for the tests of the program's tray icon: a stand-in
// for the shell's tray window that records what the program sends, Wine's own tray icons,
// real pointer and keyboard input through xdotool, and the screen's pixels.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace mv::wintest {

// One Shell_NotifyIconW call as the shell receives it.
struct TrayNotification {
    DWORD message = 0;  // NIM_ADD, NIM_MODIFY, NIM_DELETE
    HWND window = nullptr;
    UINT id = 0;
    UINT flags = 0;
    UINT callbackMessage = 0;
    std::wstring tip;
    std::wstring info;
    std::wstring infoTitle;
    UINT timeout = 0;
    DWORD infoFlags = 0;
    UINT iconWidth = 0, iconHeight = 0;
    std::vector<std::uint8_t> iconBits;  // the icon's mask bits, then its colour bits
};

// A stand-in for the shell's tray window: a hidden "Shell_TrayWnd" on a thread of its own,
// created above the shell's, so that Shell_NotifyIconW in any process finds it first. It
// decodes the notifications Wine's shell32 hands over (WM_COPYDATA, dwData = NIM_*) and
// answers NIM_MODIFY and NIM_DELETE for the icons it holds. Destroying it is the tray window
// going away, as when Explorer ends.
class StandInTray {
public:
    StandInTray();
    ~StandInTray();
    StandInTray(const StandInTray&) = delete;
    StandInTray& operator=(const StandInTray&) = delete;

    HWND handle() const { return window_; }
    std::vector<TrayNotification> notifications() const;
    bool holds(HWND window, UINT id) const;
    // Waits until at least `count` notifications arrived; false after `ms`.
    bool waitFor(std::size_t count, DWORD ms) const;

private:
    static DWORD WINAPI Thread(void* self);
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    LRESULT OnCopyData(const COPYDATASTRUCT& data);

    HANDLE thread_ = nullptr;
    HANDLE ready_ = nullptr;
    HWND window_ = nullptr;
    mutable std::mutex mutex_;
    std::vector<TrayNotification> received_;
    std::vector<std::pair<HWND, UINT>> icons_;
};

// Sends the shell's "TaskbarCreated" to every top-level window, as a starting Explorer does.
void BroadcastTaskbarCreated();

// The icons in Wine's own tray (the stand-alone tray window of its X11 driver), left to right.
std::vector<HWND> WineTrayIcons();

// xdotool ARGUMENTS on the X display Wine draws on (MV_XDOTOOL holds the tool's Unix path):
// pointer and keyboard input through the X server, as a user gives it.
bool Xdotool(const std::wstring& arguments);
// The pointer moved to (x, y) of the screen, then the buttons given as xdotool click arguments.
bool PointerAt(int x, int y);
bool PointerClick(int x, int y, int button, int repeat = 1);

// The visible popup menus (#32768) of `process`.
std::vector<HWND> PopupMenusOf(DWORD process);

// The pixels of a screen area, read through the screen DC.
class ScreenArea {
public:
    explicit ScreenArea(const RECT& area);
    int width() const { return width_; }
    int height() const { return height_; }
    // 0x00RRGGBB at (x, y) of the area; 0xFF000000 outside it.
    std::uint32_t at(int x, int y) const;

private:
    int width_ = 0, height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

inline constexpr std::uint32_t Rgb(int r, int g, int b) {
    return static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(g) << 8 | static_cast<std::uint32_t>(b);
}

// A width × height picture drawn by `paint` on a DC, as 0x00RRGGBB pixels.
class Drawing {
public:
    template <class Paint>
    Drawing(int width, int height, Paint paint) : width_(width), height_(height) {
        HDC dc = begin();
        paint(dc);
        end(dc);
    }
    std::uint32_t at(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    HDC begin();
    void end(HDC dc);
    int width_, height_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* bits_ = nullptr;
    std::vector<std::uint32_t> pixels_;
};

}  // namespace mv::wintest
