// The notification-area icon, its owner-drawn menu and the low-battery balloon.
#pragma once

#include <windows.h>
#include <oleacc.h>
#include <shellapi.h>

#include <string>

#include "device/device_presence.h"
#include "device/device_status.h"
#include "framework/wnd.h"

namespace mv {

inline constexpr UINT kTrayIconId = 128;
inline constexpr UINT kCommandShow = 0x6000;
inline constexpr UINT kCommandExit = 0x6001;
inline constexpr UINT kCommandPause = 0x6002;
inline constexpr UINT kCommandFeedback = 0x6003;

// The menu's captions and the state of its two switches.
struct TrayMenuState {
    std::wstring exitText, showText;
    std::wstring pauseText;     // "pause" while gestures run, "resume" while paused
    std::wstring feedbackText;
    bool paused = false;
    bool feedbackOn = false;
};

// The menu's captions from the language file for the switches' state.
TrayMenuState TrayMenuFor(bool paused, bool feedbackOn);
// The tooltip: the title, the receiver, the battery level and the pause, from the language file.
std::wstring TrayTipText(const std::u16string& title, const DeviceStatus& status, bool paused);

// Data of an owner-drawn tray menu item.
// An owner-drawn item's data. It starts with the header through which assistive technology
// reads the text of an owner-drawn item; the header points into the item itself, so an item
// is never copied.
struct TrayMenuItem {
    TrayMenuItem(UINT normal, UINT selected, std::wstring caption)
        : normalIcon(normal), selectedIcon(selected), text(std::move(caption)) {
        accessible.dwMSAASignature = MSAA_MENU_SIG;
        accessible.cchWText = static_cast<DWORD>(text.size());
        accessible.pszWText = text.data();
    }
    TrayMenuItem(const TrayMenuItem&) = delete;
    TrayMenuItem& operator=(const TrayMenuItem&) = delete;

    MSAAMENUINFO accessible{};
    UINT normalIcon;
    UINT selectedIcon;
    std::wstring text;
};

// The tray menu's item drawing: icon strip, body, selection frame, centred text. Its figures
// are at 96 DPI and scaled to `dpi`, the DPI of the monitor the menu opens on.
// Under a high-contrast theme (HighContrastOn, asked at each drawing) the items are drawn in
// the system's menu colours instead of the fixed ones (whose near-white body would carry the
// theme's white text).
class CXPMenu : public fw::CMenu {
public:
    void DrawItem(DRAWITEMSTRUCT* dis) override;
    void MeasureItem(MEASUREITEMSTRUCT* mis) override;
    int dpi = 96;
    // The menu opens only from the pointer: its access keys work but are not underlined (and a
    // Chinese text's bracketed key shows as it is written).
    bool underlineAccessKeys = false;

private:
    HFONT MakeFont() const;
    // An item's text as drawn in the item state given (ODS_NOACCEL).
    std::wstring ShownText(const std::wstring& text, UINT itemState) const;
};

class TrayIcon {
public:
    using Notify = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAW data);
    // `notify` is Shell_NotifyIconW; tests pass a recorder.
    explicit TrayIcon(Notify notify = ::Shell_NotifyIconW) : notify_(notify) {}
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Fills the icon data for `window` with the title as tooltip and adds the icon. The
    // window also gets the shell's "TaskbarCreated" broadcast, through the message filter of
    // an elevated process.
    void Add(HWND window, const std::wstring& title);
    // The taskbar was created again (Explorer restarted, or the display's scale changed): adds
    // the icon anew with the data of Add, whatever a balloon left in the icon data since, the
    // picture drawn for the small-icon size of now. Nothing before Add or after Remove.
    void Restore();
    void Remove();
    // WM_MENUCHAR of the tray menu: the owner-drawn item whose access key was typed runs
    // (MNC_EXECUTE); 0 when none has it.
    static LRESULT MenuChar(WPARAM wParam, LPARAM lParam);
    // The registered "TaskbarCreated" message.
    static UINT TaskbarCreatedMessage();
    // WM_TRAY_NOTIFY: a double-click shows the window, a right-click opens the menu: exit,
    // separator, pause or resume, the feedback switch, separator, show.
    void OnNotify(HWND window, LPARAM mouseMessage, const TrayMenuState& menu);
    // The tooltip (bounded to its 128 units); the icon and the balloon are left alone.
    void SetTip(const std::wstring& tip);
    // A balloon on the icon (the structure size is the balloon's).
    void ShowBalloon(const BalloonData& balloon);

    const NOTIFYICONDATAW& data() const { return data_; }

private:
    void FillCreationData();
    // The program icon at the small-icon size of the system's DPI, kept while that size stays.
    HICON SmallIcon();

    Notify notify_;
    HICON icon_ = nullptr;
    int iconSize_ = 0;
    NOTIFYICONDATAW data_{};
    HWND window_ = nullptr;
    std::wstring title_;
    bool added_ = false;
};

// Bounded copy that always terminates the destination.
void CopyBounded(wchar_t* destination, std::size_t capacity, const std::wstring& source);

}  // namespace mv
