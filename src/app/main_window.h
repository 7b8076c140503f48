// The main window: hidden hub of the program (gesture events, tray, timers,
// device notifications) and, when shown, the settings window. It routes messages to the
// gesture session and to the settings window; the decisions are theirs.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "app/tray.h"
#include "device/device_presence.h"
#include "device/device_status.h"
#include "device/usb_driver_win.h"
#include "framework/wnd.h"
#include "gesture/gesture_session.h"
#include "ui/default_config_win.h"
#include "ui/feedback_label_win.h"
#include "ui/pointer_setting_win.h"
#include "ui/profile_selector_win.h"
#include "ui/resource_ids.h"
#include "ui/settings_window_win.h"
#include "win32/foreground_program.h"
#include "win32/win32_driver_port.h"
#include "win32/win32_files.h"
#include "win32/win32_platform.h"
#include "win32/win32_registry.h"

namespace mv {

class CMorviCorvelConfigDlg : public fw::CDialog {
public:
    // The window class that the main window's template names: the system's dialog class
    // under a name that only this program registers, so that a later start finds exactly
    // this window.
    static constexpr wchar_t kWindowClass[] = L"MorviCorvelConfig";
    static bool RegisterWindowClass();

    CMorviCorvelConfigDlg();
    ~CMorviCorvelConfigDlg() override;

    BOOL OnInitDialog() override;
    bool PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    SettingsWindow& view() { return view_; }

private:
    void OnGestureEvent(WPARAM code);
    void OnLaunchReport();
    // Logoff and shutdown tell the device what the exit tells it; resume configures it again;
    // lock holds off launches and macros; disconnect hands the device to another session.
    void OnEndSession(bool ending);
    void OnResume();
    void OnSessionChange(WPARAM change);
    void Activate();
    void OnTimer(UINT_PTR id);
    void OnDestroy();
    void RequestExit();
    void OnDeviceChange(WPARAM event, LPARAM data);
    void OnCommand(WPARAM wParam, LPARAM lParam);
    void DeviceOpened();
    // The settings window's controls, pictures and dialogs, made when first needed: the tray
    // icon and the device come first at start.
    void BuildSettingsWindow();
    // Made on first show; hidden for a while, it keeps no decoded picture.
    void PrepareToShow();
    void Show(int how);
    void OnShowWindow(bool shown);
    // Where the window was last: put back when it is made, kept (for this user) when it hides
    // and when the program ends.
    void RestorePlace();
    void RememberPlace();
    // The settings stored, changed as a whole: the window shows them again.
    void SettingsReplaced();
    void UpdateTip();
    void SetPaused(bool paused);
    void SetFeedback(bool on);

    Win32Input input_;
    Win32Desktop desktop_;
    Win32System system_;
    Win32Clock clock_;
    Win32Registry registry_;
    Win32PointerSettings pointer_;
    Win32Files files_;
    ForegroundProgram foreground_;
    CUSBDriver driver_{std::make_unique<Win32DriverPort>()};
    std::u16string title_;
    DesktopActions actions_{input_, desktop_, system_, &title_};
    GestureSession session_;

    BatteryWatch battery_;
    DeviceStatus status_;
    int exitTries_ = 0;  // rounds spent closing modal windows before exiting
    FeedbackLabel feedback_;
    TrayIcon tray_;
    HDEVNOTIFY deviceNotification_ = nullptr;
    bool sessionNotifications_ = false;
    bool handedBack_ = false;  // the device has been told to carry out every gesture itself
    bool built_ = false;       // the settings window's controls exist
    bool shownOnce_ = false;   // shown since the start: its place is the user's
    std::optional<Point> storedPlace_;
    HICON icon_ = nullptr;
    SettingsWindow view_{*this, session_};
    ProfileSelector selector_{view_, session_};
    CDefaultConfig defaultConfig_;
    CPointerSeting pointerSetting_;
};

}  // namespace mv
