#include "app/main_window.h"

#include <dbt.h>
#include <wtsapi32.h>

#include "actions/windows_generation.h"
#include "framework/messages.h"
#include "framework/modal_windows.h"
#include "base/text_fill.h"
#include "i18n/text_catalogue.h"
#include "settings/settings_store.h"
#include "ui/dpi_win.h"
#include "ui/placement_win.h"
#include "ui/settings_commands_win.h"

namespace mv {

namespace {
constexpr UINT kDriverRetryMs = 500;
constexpr UINT kBatteryMs = 120000;
constexpr UINT kArrivalSettleMs = 200;
constexpr UINT kAboutCommand = 16;
// Hidden this long, the settings window lets go of its decoded pictures.
constexpr UINT kReleasePicturesMs = 30000;

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

// DEV_BROADCAST_DEVICEINTERFACE_W for USB device interfaces.
const GUID kUsbDeviceInterface = {0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};
}  // namespace

bool CMorviCorvelConfigDlg::RegisterWindowClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(nullptr, WC_DIALOG, &wc)) return false;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(IDI_PROGRAM));
    wc.lpszClassName = kWindowClass;
    return RegisterClassExW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

CMorviCorvelConfigDlg::CMorviCorvelConfigDlg()
    : fw::CDialog(IDD_MAIN_WINDOW),
      session_(SessionSeams{registry_, pointer_, driver_, foreground_, files_, clock_, actions_}, tr) {
    icon_ = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PROGRAM));
}

CMorviCorvelConfigDlg::~CMorviCorvelConfigDlg() = default;

BOOL CMorviCorvelConfigDlg::OnInitDialog() {
    // The icon and the device first; the settings window is made at its first show (a program
    // that is never opened holds none of it).
    title_ = tr("tc_mouse_title");
    SetWindowText(ToWide(title_));
    tray_.Add(hwnd_, ToWide(title_));
    session_.Load();
    driver_.StartReader(hwnd_);
    if (driver_.OpenDevice())
        DeviceOpened();
    else
        SetTimer(TIMER_DRIVER_RETRY, kDriverRetryMs);
    UpdateTip();

    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = 32;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kUsbDeviceInterface;
    deviceNotification_ = RegisterDeviceNotificationW(hwnd_, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    sessionNotifications_ = RegisterSessionNotifications(hwnd_);
    system_.launcher().SetReportWindow(hwnd_, WM_LAUNCH_REPORT);
    return FALSE;  // hidden: no focus, so nothing activates it (nor loads what activation brings)
}

void CMorviCorvelConfigDlg::BuildSettingsWindow() {
    if (built_) return;
    built_ = true;
    if (HMENU system = GetSystemMenu(hwnd_, FALSE)) {
        wchar_t about[128] = {};
        if (LoadStringW(GetModuleHandleW(nullptr), IDS_ABOUTBOX, about, 128) > 0) {
            AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
            AppendMenuW(system, MF_STRING, kAboutCommand, about);
        }
    }
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    view_.Create();
    RestorePlace();
    selector_.Create(hwnd_);
    view_.profileButton = selector_.button();
    // The two dialogs are made at their first opening: most starts never open them.
    view_.openResetDialog = [this] {
        if (!defaultConfig_.GetSafeHwnd()) {
            defaultConfig_.Create(hwnd_);
            defaultConfig_.SetOwnerWindow(hwnd_);
        }
        ::ShowWindow(defaultConfig_.GetSafeHwnd(), SW_SHOW);
    };
    view_.openPointerDialog = [this] {
        if (!pointerSetting_.GetSafeHwnd()) {
            pointerSetting_.Create(hwnd_);
            pointerSetting_.SetMainWindow(hwnd_);
        }
        ::ShowWindow(pointerSetting_.GetSafeHwnd(), SW_SHOW);
    };
    view_.hideDialogs = [this] {
        for (HWND dialog : {defaultConfig_.GetSafeHwnd(), pointerSetting_.GetSafeHwnd()})
            if (dialog) ::ShowWindow(dialog, SW_HIDE);
    };
    view_.onApply = [this] { ApplySettings(hwnd_, session_); };
    selector_.onExport = [this] { ExportSettings(hwnd_, session_); };
    selector_.onImport = [this] {
        if (ImportSettings(hwnd_, session_)) SettingsReplaced();
    };
}

void CMorviCorvelConfigDlg::RestorePlace() {
    storedPlace_ = SettingsStore(registry_).LoadWindowPlace();
    if (storedPlace_)
        SetWindowPos(hwnd_, nullptr, storedPlace_->x, storedPlace_->y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMorviCorvelConfigDlg::RememberPlace() {
    if (!built_ || !shownOnce_ || ::IsIconic(hwnd_)) return;
    RECT r{};
    if (!GetWindowRect(hwnd_, &r)) return;
    const Point at{r.left, r.top};
    if (storedPlace_ == at) return;
    if (SettingsStore(registry_).SaveWindowPlace(at)) storedPlace_ = at;
}

void CMorviCorvelConfigDlg::PrepareToShow() {
    BuildSettingsWindow();
    shownOnce_ = true;
    KillTimer(TIMER_RELEASE_PICTURES);
    if (view_.picturesReleased()) {
        view_.RestorePictures();
        selector_.LayOut();
    }
    KeepOnScreen(hwnd_);  // a monitor may have gone while it was hidden
}

void CMorviCorvelConfigDlg::Show(int how) {
    // Made and placed while still hidden, so that it appears once, whole, where it belongs.
    PrepareToShow();
    ShowWindow(how);
}

void CMorviCorvelConfigDlg::OnShowWindow(bool shown) {
    if (shown) {
        PrepareToShow();  // shown some other way
    } else if (built_) {
        RememberPlace();
        SetTimer(TIMER_RELEASE_PICTURES, kReleasePicturesMs);
    }
    if (built_) view_.OnVisibilityChanged(shown && !::IsIconic(hwnd_));
}

void CMorviCorvelConfigDlg::OnEndSession(bool ending) {
    // Quick and silent: the device's requests, nothing the user sees, nothing that waits.
    if (!ending || handedBack_) return;
    if (::IsWindowVisible(hwnd_)) RememberPlace();
    session_.HandDeviceBack();
    handedBack_ = true;
}

void CMorviCorvelConfigDlg::OnResume() {
    // The device may have lost its settings asleep, without leaving and arriving again.
    if (!driver_.IsOpen() && !driver_.OpenDevice()) return;
    DeviceOpened();
    OnTimer(TIMER_BATTERY);
}

void CMorviCorvelConfigDlg::OnSessionChange(WPARAM change) {
    switch (change) {
        case WTS_SESSION_LOCK: session_.SetLocked(true); break;
        case WTS_SESSION_UNLOCK: session_.SetLocked(false); break;
        case WTS_CONSOLE_DISCONNECT:
        case WTS_REMOTE_DISCONNECT:
            // Another session's instance may take the device: it gets it as after an exit.
            KillTimer(TIMER_DRIVER_RETRY);
            if (driver_.IsOpen()) session_.HandDeviceBack();
            driver_.CloseDevice();
            status_.onRemoved();
            UpdateTip();
            break;
        case WTS_CONSOLE_CONNECT:
        case WTS_REMOTE_CONNECT:
            if (driver_.OpenDevice())
                DeviceOpened();
            else
                SetTimer(TIMER_DRIVER_RETRY, kDriverRetryMs);
            break;
        default: break;
    }
}

void CMorviCorvelConfigDlg::Activate() {
    Show(::IsIconic(hwnd_) ? SW_RESTORE : SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
}

void CMorviCorvelConfigDlg::DeviceOpened() {
    battery_.onDeviceOpened();
    status_.onOpened();
    session_.SendDeviceSettings();
    SetTimer(TIMER_BATTERY, kBatteryMs);
    UpdateTip();
}

void CMorviCorvelConfigDlg::SettingsReplaced() {
    if (!session_.feedback()) feedback_.Close();
    if (built_) selector_.Refresh();
}

void CMorviCorvelConfigDlg::UpdateTip() { tray_.SetTip(TrayTipText(title_, status_, session_.paused())); }

void CMorviCorvelConfigDlg::SetPaused(bool paused) {
    if (paused == session_.paused()) return;
    session_.SetPaused(paused);
    UpdateTip();
}

void CMorviCorvelConfigDlg::SetFeedback(bool on) {
    session_.SetFeedback(on);
    if (!on) feedback_.Close();  // its thread too
}

void CMorviCorvelConfigDlg::OnLaunchReport() {
    // A launch that did not start is named on the label, whether the feedback is on or not.
    for (const LaunchReport& report : system_.launcher().TakeReports())
        if (!report.started) feedback_.Show(ToWide(FillPlaceholders(tr("tc_launch_failed"), {report.target})));
}

void CMorviCorvelConfigDlg::OnGestureEvent(WPARAM wParam) {
    // The label comes after the action, so that it never holds it up.
    const GestureOutcome ran = session_.OnGestureEvent(static_cast<DeviceEventCode>(wParam));
    if (!ran.feedback.empty()) feedback_.Show(ToWide(ran.feedback));
}

void CMorviCorvelConfigDlg::OnTimer(UINT_PTR id) {
    if (id == TIMER_EXIT_RETRY) {
        RequestExit();
    } else if (id == TIMER_RELEASE_PICTURES) {
        KillTimer(TIMER_RELEASE_PICTURES);
        if (built_ && !::IsWindowVisible(hwnd_)) view_.ReleasePictures();
    } else if (id == TIMER_DRIVER_RETRY) {
        if (driver_.OpenDevice()) {
            KillTimer(TIMER_DRIVER_RETRY);
            DeviceOpened();
        }
    } else if (id == TIMER_BATTERY) {
        // The poll goes on after the one warning of a connection, for the tooltip.
        std::uint32_t value = 0;
        const bool ok = driver_.ReadBattery(value);
        if (battery_.onReading(ok, value))
            tray_.ShowBalloon(LowBatteryBalloon(WindowsGeneration(desktop_), tr("tc_lowpower_notice")));
        status_.onBatteryReading(ok, value);
        UpdateTip();
    }
}

void CMorviCorvelConfigDlg::OnDeviceChange(WPARAM event, LPARAM data) {
    if ((event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) || !data) return;
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    const auto* block = reinterpret_cast<const std::uint8_t*>(data);
    if (!IsReceiverInterface(InterfaceNameFromBroadcast(block, header->dbch_size))) return;
    if (event == DBT_DEVICEREMOVECOMPLETE) {
        // Only the tooltip learns of it: the handle and the timers stay as they are.
        status_.onRemoved();
        UpdateTip();
        return;
    }
    Sleep(kArrivalSettleMs);
    if (driver_.OpenDevice())
        DeviceOpened();
    else
        SetTimer(TIMER_DRIVER_RETRY, kDriverRetryMs);
}

// Exit from the tray menu can come while a dialog, message box or file dialog of ours is up,
// from inside its modal loop. Destroying the window under it would leave that loop, and the
// code after it, working on windows and data that are gone; so the modal windows are closed
// as Cancel would, innermost first, and the exit follows once none is left.
void CMorviCorvelConfigDlg::RequestExit() {
    KillTimer(TIMER_EXIT_RETRY);
    if (!fw::HasModalWindowOver(hwnd_)) {
        DestroyWindow();
        return;
    }
    fw::CloseModalWindowsOver(hwnd_);
    // A window that will not close (about 10 s of asking) keeps the program running.
    if (++exitTries_ <= 100) SetTimer(TIMER_EXIT_RETRY, 100);
}

void CMorviCorvelConfigDlg::OnDestroy() {
    if (::IsWindowVisible(hwnd_)) RememberPlace();
    feedback_.Close();
    if (sessionNotifications_) UnregisterSessionNotifications(hwnd_);
    if (!handedBack_) session_.HandDeviceBack();
    tray_.Remove();
    driver_.StopReader();
    if (built_) view_.FreeSkins();
    PostQuitMessage(0);
}

void CMorviCorvelConfigDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (built_ && selector_.OnCommand(reinterpret_cast<HWND>(lParam))) {
        view_.CloseFunctionMenu();
        return;
    }
    if (built_ && lParam == 0 && ProfileSelector::IsCommand(LOWORD(wParam))) {
        selector_.RunCommand(LOWORD(wParam));
        return;
    }
    switch (LOWORD(wParam)) {
        case kCommandShow: Show(SW_SHOWNORMAL); break;
        case kCommandExit:
            exitTries_ = 0;
            RequestExit();
            break;
        case kCommandPause: SetPaused(!session_.paused()); break;
        case kCommandFeedback: SetFeedback(!session_.feedback()); break;
        default:  // IDOK and IDCANCEL close nothing
            if (built_) view_.OnCommand(wParam, lParam);
            break;
    }
}

bool CMorviCorvelConfigDlg::PreTranslateMessage(MSG* msg) {
    if (built_ && view_.PreTranslateMessage(msg)) return true;
    return CDialog::PreTranslateMessage(msg);
}

LRESULT CMorviCorvelConfigDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TrayIcon::TaskbarCreatedMessage() && message != 0) {
        tray_.Restore();
        UpdateTip();
        return 0;
    }
    switch (message) {
        case WM_GESTURE_EVENT: OnGestureEvent(wParam); return 0;
        case WM_LAUNCH_REPORT: OnLaunchReport(); return 0;
        case WM_TRAY_NOTIFY:
            tray_.OnNotify(hwnd_, lParam, TrayMenuFor(session_.paused(), session_.feedback()));
            return 0;
        case WM_ACTIVATE_INSTANCE: Activate(); return 0;
        case WM_QUERYENDSESSION: return TRUE;
        case WM_ENDSESSION: OnEndSession(wParam != FALSE); return 0;
        case WM_POWERBROADCAST:
            if (wParam == PBT_APMRESUMEAUTOMATIC) OnResume();
            return TRUE;
        case WM_WTSSESSION_CHANGE: OnSessionChange(wParam); return 0;
        case WM_RESTORE_DEFAULTS:
            if (RestoreDefaults(hwnd_, session_) && built_) {
                selector_.Refresh();
                view_.RefreshFunctionName();
            }
            return 0;
        case WM_DEVICECHANGE: OnDeviceChange(wParam, lParam); return 0;
        case WM_DISPLAYCHANGE:
            if (::IsWindowVisible(hwnd_)) KeepOnScreen(hwnd_);
            break;
        case WM_SETTINGCHANGE:
        case WM_SYSCOLORCHANGE:
            if (built_) view_.OnSystemLookChanged(message == WM_SYSCOLORCHANGE);
            break;
        case WM_CREATE: {
            const LRESULT r = CDialog::WindowProc(message, wParam, lParam);
            return r;
        }
        case WM_PAINT:
            if (!built_) break;
            view_.Paint();
            return 0;
        case WM_LAYOUT_DPI: return built_ ? view_.dpi() : WindowDpi(hwnd_);
        case kGetDpiScaledSize:
            if (!built_) break;
            *reinterpret_cast<SIZE*>(lParam) = view_.WindowSizeAtDpi(static_cast<int>(wParam));
            return TRUE;
        case WM_DPICHANGED:
            if (!built_) break;
            // Moved to a monitor of another scale, or the scale changed: the dialogs follow
            // when they are next shown.
            view_.ChangeDpi(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            selector_.LayOut();
            return 0;
        case WM_FUNCTION_CHOSEN:
            if (built_) view_.OnFunctionChosen(lParam);
            break;
        case WM_QUERYDRAGICON: return reinterpret_cast<LRESULT>(icon_);
        case WM_MENUCHAR:
            if (const LRESULT r = TrayIcon::MenuChar(wParam, lParam)) return r;
            break;
        case WM_QUERYUISTATE: return view_.UiState();
        case WM_CHANGEUISTATE: view_.OnChangeUiState(wParam); break;
        case WM_TIMER:
            OnTimer(wParam);
            return DefWindowProcW(hwnd_, message, wParam, lParam);
        case WM_COMMAND: OnCommand(wParam, lParam); return 0;
        case WM_CLOSE: ShowWindow(SW_HIDE); return 0;
        case WM_SHOWWINDOW: OnShowWindow(wParam != FALSE); break;
        case WM_ACTIVATE:
            if (built_ && LOWORD(wParam) == WA_INACTIVE) view_.OnDeactivated();
            break;
        case WM_SIZE:
            if (!built_) break;
            if (wParam == SIZE_MINIMIZED) view_.OnVisibilityChanged(false);
            if (wParam == SIZE_RESTORED) view_.OnVisibilityChanged(::IsWindowVisible(hwnd_) != FALSE);
            break;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == kAboutCommand) {
                DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUTBOX), hwnd_, AboutProc, 0);
                return 0;
            }
            break;
        case WM_LBUTTONDOWN:
            if (built_) view_.CloseFunctionMenu();
            SendMessageW(hwnd_, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
            break;
        case WM_DESTROY: {
            const LRESULT r = CDialog::WindowProc(message, wParam, lParam);
            OnDestroy();
            return r;
        }
        default: break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

}  // namespace mv
