#include "app/main_window.h"

#include <dbt.h>
#include <objidl.h>
#include <gdiplus.h>

#include "actions/windows_generation.h"
#include "app/messages.h"
#include "i18n/text_catalogue.h"
#include "ui/feedback_rules.h"

namespace mv {

namespace {
constexpr UINT kDriverRetryMs = 500;
constexpr UINT kBatteryMs = 120000;
constexpr UINT kArrivalSettleMs = 200;
constexpr UINT kAboutCommand = 16;

std::wstring W(const std::u16string& s) { return ToWide(s); }


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
    wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(128));
    wc.lpszClassName = kWindowClass;
    return RegisterClassExW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

CMorviCorvelConfigDlg::CMorviCorvelConfigDlg() : fw::CDialog(kTemplate) {
    icon_ = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(128));
}

CMorviCorvelConfigDlg::~CMorviCorvelConfigDlg() = default;

std::wstring CMorviCorvelConfigDlg::text(std::string_view key) const { return W(tr(key)); }

void CMorviCorvelConfigDlg::OnApply() {
    store_.ApplySettings([this] { return SendDeviceSettings(); },
                         [this] {
                             MessageBoxW(hwnd_, ToWide(kApplyWarningText).c_str(),
                                         ToWide(kApplyWarningCaption).c_str(), MB_OK);
                         });
}

BOOL CMorviCorvelConfigDlg::OnInitDialog() {
    // User-interface side.
    if (HMENU system = GetSystemMenu(hwnd_, FALSE)) {
        wchar_t about[128] = {};
        if (LoadStringW(GetModuleHandleW(nullptr), 101, about, 128) > 0) {
            AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
            AppendMenuW(system, MF_STRING, kAboutCommand, about);
        }
    }
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    title_ = tr("tc_mouse_title");
    SetWindowText(W(title_));
    tray_.Add(hwnd_, W(title_));
    defaultConfig_.Create(hwnd_);
    defaultConfig_.SetOwnerWindow(hwnd_);
    pointerSetting_.Create(hwnd_);
    pointerSetting_.SetMainWindow(hwnd_);
    view_.resetDialog = defaultConfig_.GetSafeHwnd();
    view_.pointerDialog = pointerSetting_.GetSafeHwnd();
    view_.onApply = [this] { OnApply(); };
    view_.customFunctions = {&macros_, &macroNames_, {}};
    store_.SetMacroNames(&macroNames_);

    // Device side.
    ResetRecordsToDefaults(settings_.records);
    store_.LoadSettings();
    feedbackOn_ = LoadFeedbackChoice(registry_);
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
    return TRUE;
}

// While paused the device is told the defaults; the user's records stay as they are.
bool CMorviCorvelConfigDlg::SendDeviceSettings() { return driver_.SendDeviceSettings(pause_.active(settings_.records)); }

void CMorviCorvelConfigDlg::DeviceOpened() {
    battery_.onDeviceOpened();
    status_.onOpened();
    SendDeviceSettings();
    SetTimer(TIMER_BATTERY, kBatteryMs);
    UpdateTip();
}

void CMorviCorvelConfigDlg::UpdateTip() {
    StatusTexts texts;
    texts.title = title_;
    texts.connected = tr("tc_status_connected");
    texts.notFound = tr("tc_status_notfound");
    texts.unplugged = tr("tc_status_unplugged");
    texts.batteryUnknown = tr("tc_battery_unknown");
    texts.batteryLow = tr("tc_battery_low");
    texts.batteryFair = tr("tc_battery_fair");
    texts.batteryGood = tr("tc_battery_good");
    texts.paused = tr("tc_status_paused");
    tray_.SetTip(W(TrayTip(status_, pause_.paused(), texts)));
}

void CMorviCorvelConfigDlg::SetPaused(bool paused) {
    if (paused == pause_.paused()) return;
    pause_.setPaused(paused);
    SendDeviceSettings();
    UpdateTip();
}

void CMorviCorvelConfigDlg::SetFeedback(bool on) {
    feedbackOn_ = on;
    SaveFeedbackChoice(registry_, on);
    if (!on) feedback_.Close();  // its thread too
}

void CMorviCorvelConfigDlg::ShowFeedback(DeviceEventCode code, const FunctionRecord& ran) {
    const std::string_view key = FeedbackNameKey(code, ran);
    if (!key.empty()) feedback_.Show(text(key));
}

void CMorviCorvelConfigDlg::OnGestureEvent(WPARAM wParam) {
    const auto code = static_cast<DeviceEventCode>(wParam);
    gestures_.OnGestureEvent(code, pause_.active(settings_.records), [this, code](const FunctionRecord& record) {
        ExecuteFunction(record, facebook_, context_);
        // After the action, so that the label never holds it up.
        if (feedbackOn_) ShowFeedback(code, record);
    });
}

void CMorviCorvelConfigDlg::OnTimer(UINT_PTR id) {
    if (id == TIMER_DRIVER_RETRY) {
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

LRESULT CMorviCorvelConfigDlg::OnRestoreDefaults() {
    store_.RestoreDefaults([this] { return SendDeviceSettings(); }, pointer_);
    view_.ShowFunctionName(settings_.records[view_.CurrentSlot]);
    return 0;
}

void CMorviCorvelConfigDlg::OnDestroy() {
    feedback_.Close();
    ResetRecordsToDefaults(settings_.records);
    SendDeviceSettings();
    driver_.SetMode(0);
    tray_.Remove();
    driver_.StopReader();
    view_.FreeSkins();
    PostQuitMessage(0);
}

void CMorviCorvelConfigDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
        case kCommandShow: ShowWindow(SW_SHOWNORMAL); break;
        case kCommandExit: DestroyWindow(); break;
        case kCommandPause: SetPaused(!pause_.paused()); break;
        case kCommandFeedback: SetFeedback(!feedbackOn_); break;
        default: view_.OnCommand(wParam, lParam); break;  // IDOK and IDCANCEL close nothing
    }
}

bool CMorviCorvelConfigDlg::PreTranslateMessage(MSG* msg) {
    if (view_.PreTranslateMessage(msg)) return true;
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
        case WM_TRAY_NOTIFY:
            tray_.OnNotify(hwnd_, lParam,
                           TrayMenuState{text("tc_exit"), text("tc_config"),
                                         text(pause_.paused() ? "tc_resume" : "tc_pause"), text("tc_feedback"),
                                         pause_.paused(), feedbackOn_});
            return 0;
        case WM_ACTIVATE_INSTANCE: ShowWindow(SW_SHOWNORMAL); return 0;
        case WM_RESTORE_DEFAULTS: return OnRestoreDefaults();
        case WM_DEVICECHANGE: OnDeviceChange(wParam, lParam); return 0;
        case WM_CREATE: {
            const LRESULT r = CDialog::WindowProc(message, wParam, lParam);
            if (r == -1) return -1;
            view_.Create();
            return r;
        }
        case WM_PAINT: view_.Paint(); return 0;
        case WM_FUNCTION_CHOSEN:
            view_.OnFunctionChosen(lParam);
            break;
        case WM_QUERYDRAGICON: return reinterpret_cast<LRESULT>(icon_);
        case WM_TIMER:
            OnTimer(wParam);
            return DefWindowProcW(hwnd_, message, wParam, lParam);
        case WM_COMMAND: OnCommand(wParam, lParam); return 0;
        case WM_CLOSE: ShowWindow(SW_HIDE); return 0;
        case WM_SHOWWINDOW: view_.OnVisibilityChanged(wParam != FALSE && !::IsIconic(hwnd_)); break;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) view_.OnDeactivated();
            break;
        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED) view_.OnVisibilityChanged(false);
            if (wParam == SIZE_RESTORED) view_.OnVisibilityChanged(::IsWindowVisible(hwnd_) != FALSE);
            break;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == kAboutCommand) {
                DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(100), hwnd_, AboutProc, 0);
                return 0;
            }
            break;
        case WM_LBUTTONDOWN:
            view_.CloseFunctionMenu();
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
