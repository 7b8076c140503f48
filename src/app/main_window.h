// The main window: hidden hub of the program (gesture events, tray, timers,
// device notifications) and, when shown, the settings window.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "app/tray.h"
#include "device/device_presence.h"
#include "device/device_status.h"
#include "device/usb_driver_win.h"
#include "framework/wnd.h"
#include "gesture/dispatcher.h"
#include "gesture/gesture_events.h"
#include "gesture/gesture_pause.h"
#include "gesture/profiles.h"
#include "gesture/settings_backup.h"
#include "gesture/settings_images.h"
#include "gesture/settings_store.h"
#include "ui/default_config_win.h"
#include "ui/feedback_label_win.h"
#include "ui/pointer_setting_win.h"
#include "ui/profile_selector_win.h"
#include "ui/settings_window_win.h"
#include "win32/foreground_program.h"
#include "win32/win32_platform.h"
#include "win32/win32_registry.h"

namespace mv {

class CMorviCorvelConfigDlg : public fw::CDialog {
public:
    static constexpr UINT kTemplate = 102;
    // The window class that template 102 names: the system's dialog class under a name that
    // only this program registers, so that a later start finds exactly this window.
    static constexpr wchar_t kWindowClass[] = L"MorviCorvelConfig";
    static bool RegisterWindowClass();

    CMorviCorvelConfigDlg();
    ~CMorviCorvelConfigDlg() override;

    BOOL OnInitDialog() override;
    bool PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    SettingsWindow& view() { return view_; }

private:
    std::wstring text(std::string_view key) const;
    void OnGestureEvent(WPARAM code);
    void OnTimer(UINT_PTR id);
    void OnDestroy();
    void RequestExit();
    void OnDeviceChange(WPARAM event, LPARAM data);
    LRESULT OnRestoreDefaults();
    void OnCommand(WPARAM wParam, LPARAM lParam);
    void DeviceOpened();
    bool SendDeviceSettings();
    void OnApply();
    // The tooltip from the receiver's state, the battery level and the pause.
    void UpdateTip();
    void SetPaused(bool paused);
    void SetFeedback(bool on);
    void ShowFeedback(DeviceEventCode code, const FunctionRecord& ran);
    // Per-program profiles and the settings backup.
    const FunctionRecord& RecordFor(GestureSlot slot, const Profile*& profile, bool& looked);
    void OnExport();
    void OnImport();
    bool ImportBackup(const SettingsBackup& backup);
    void ShowApplyWarning();


    Win32Input input_;
    Win32Desktop desktop_;
    Win32System system_;
    Win32Clock clock_;
    Win32Registry registry_;
    Win32PointerSettings pointer_;

    ButtonSettingBlob settings_;
    MacroStore macros_;
    MacroNames macroNames_;
    SettingsStore store_{registry_, settings_, macros_};
    GestureEvents gestures_{clock_};
    CFaceBookFunction facebook_{desktop_, system_};
    ActionContext context_{input_, desktop_, system_, macros_, &title_};

    CUSBDriver driver_;
    BatteryWatch battery_;
    DeviceStatus status_;
    GesturePause pause_;
    bool feedbackOn_ = false;
    int exitTries_ = 0;  // rounds spent closing modal windows before exiting
    FeedbackLabel feedback_;
    std::u16string title_;
    TrayIcon tray_;
    HDEVNOTIFY deviceNotification_ = nullptr;
    HICON icon_ = nullptr;
    ProfileSet profiles_;
    ProfileStore profileStore_{registry_};
    ForegroundProgram foreground_;
    SettingsWindow view_{*this, settings_.records};
    ProfileSelector selector_{view_, profiles_, settings_};
    CDefaultConfig defaultConfig_;
    CPointerSeting pointerSetting_;
};

}  // namespace mv
