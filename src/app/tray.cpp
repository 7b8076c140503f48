#include "app/tray.h"

#include <algorithm>

#include "framework/messages.h"
#include "i18n/text_catalogue.h"
#include "ui/dialog_captions.h"
#include "ui/dpi_win.h"
#include "ui/keyboard_model.h"
#include "ui/resource_ids.h"
#include "ui/system_look_win.h"
#include "win32/win32_platform.h"

namespace mv {

TrayMenuState TrayMenuFor(bool paused, bool feedbackOn) {
    const auto text = [](std::string_view key) { return ToWide(tr(key)); };
    // Exit and Settings keep their own texts; their access keys come from keys beside them.
    return TrayMenuState{ToWide(ButtonCaption(kExitCaption)), ToWide(ButtonCaption(kSettingsCaption)),
                         text(paused ? "tc_resume" : "tc_pause"),
                         text("tc_feedback"), paused, feedbackOn};
}

std::wstring TrayTipText(const std::u16string& title, const DeviceStatus& status, bool paused) {
    StatusTexts texts;
    texts.title = title;
    texts.connected = tr("tc_status_connected");
    texts.notFound = tr("tc_status_notfound");
    texts.unplugged = tr("tc_status_unplugged");
    texts.batteryUnknown = tr("tc_battery_unknown");
    texts.batteryLow = tr("tc_battery_low");
    texts.batteryFair = tr("tc_battery_fair");
    texts.batteryGood = tr("tc_battery_good");
    texts.paused = tr("tc_status_paused");
    return ToWide(TrayTip(status, paused, texts));
}

namespace {
// At 96 DPI.
constexpr int kItemWidth = 75;
constexpr int kItemHeight = 22;
constexpr int kIconStrip = 25;
constexpr int kFontHeight = 12;
// The least room between an item's text and the edges of its body.
constexpr int kTextMargin = 3;
constexpr COLORREF kStripColour = RGB(219, 216, 209);
constexpr COLORREF kBodyColour = RGB(249, 248, 247);
constexpr COLORREF kSelectedColour = RGB(177, 185, 207);
constexpr UINT kTextFormat = DT_CENTER | DT_VCENTER | DT_WORDBREAK | DT_SINGLELINE | DT_NOCLIP | DT_END_ELLIPSIS;
static_assert(kTextFormat == 0x8135);
constexpr DWORD kTrayDataSize = 956;
static_assert(sizeof(NOTIFYICONDATAW) >= kTrayDataSize);

void Fill(HDC dc, const RECT& r, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

// An item's glyph at the small-icon size of the menu's DPI.
void DrawItemIcon(HDC dc, UINT id, int x, int y, int dpi) {
    const int size = SmallIconSize(dpi);
    HICON icon =
        static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
    if (!icon) return;
    DrawIconEx(dc, x, y, icon, size, size, 0, nullptr, DI_NORMAL);
    DestroyIcon(icon);
}

// An elevated window does not get messages from the unelevated shell unless its filter lets
// them through (Windows 7: per window; Vista: per process; earlier systems have no filter).
void AllowMessageFromShell(HWND window, UINT message) {
    HMODULE user = GetModuleHandleW(L"user32.dll");
    if (!user || !message) return;
    using PerWindow = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    using PerProcess = BOOL(WINAPI*)(UINT, DWORD);
    constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW, MSGFLT_ADD
    if (auto perWindow = reinterpret_cast<PerWindow>(
            reinterpret_cast<void*>(GetProcAddress(user, "ChangeWindowMessageFilterEx"))))
        perWindow(window, message, kAllow, nullptr);
    else if (auto perProcess = reinterpret_cast<PerProcess>(
                 reinterpret_cast<void*>(GetProcAddress(user, "ChangeWindowMessageFilter"))))
        perProcess(message, kAllow);
}
}  // namespace

void CopyBounded(wchar_t* destination, std::size_t capacity, const std::wstring& source) {
    if (capacity == 0) return;
    const std::size_t n = source.size() < capacity - 1 ? source.size() : capacity - 1;
    source.copy(destination, n);
    destination[n] = L'\0';
}

HFONT CXPMenu::MakeFont() const {
    return CreateFontW(ScaleToDpi(kFontHeight, dpi), 0, 0, 0, 500, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0x20,
                       L"MS Shell Dlg");
}

std::wstring CXPMenu::ShownText(const std::wstring& text, UINT itemState) const {
    // Unless the access keys are to be underlined, the text is drawn without its marks, exactly
    // as a text that has none (DT_HIDEPREFIX lays the line out otherwise under Wine).
    if (underlineAccessKeys && !(itemState & ODS_NOACCEL)) return text;
    const std::u16string shown = WithoutAccessMarks(std::u16string(text.begin(), text.end()));
    return std::wstring(shown.begin(), shown.end());
}

// As wide as its text needs (a Chinese text with its bracketed key is longer), never narrower
// than the fixed width.
void CXPMenu::MeasureItem(MEASUREITEMSTRUCT* mis) {
    int width = ScaleToDpi(kItemWidth, dpi);
    if (const auto* item = reinterpret_cast<const TrayMenuItem*>(mis->itemData)) {
        if (HDC dc = GetDC(nullptr)) {
            HFONT font = MakeFont();
            HGDIOBJ old = SelectObject(dc, font);
            const std::wstring text = ShownText(item->text, underlineAccessKeys ? 0 : ODS_NOACCEL);
            RECT r{0, 0, 0, 0};
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_CALCRECT);
            SelectObject(dc, old);
            DeleteObject(font);
            ReleaseDC(nullptr, dc);
            width = std::max(width, ScaleToDpi(kIconStrip + 2 * kTextMargin, dpi) + static_cast<int>(r.right - r.left));
        }
    }
    mis->itemWidth = static_cast<UINT>(width);
    mis->itemHeight = static_cast<UINT>(ScaleToDpi(kItemHeight, dpi));
}

void CXPMenu::DrawItem(DRAWITEMSTRUCT* dis) {
    HDC dc = dis->hDC;
    SetBkMode(dc, TRANSPARENT);
    const auto* item = reinterpret_cast<const TrayMenuItem*>(dis->itemData);
    if (!item) return;
    RECT r = dis->rcItem;
    const auto s = [this](int v) { return ScaleToDpi(v, dpi); };
    if (HighContrastOn()) {
        const bool selected = (dis->itemState & ODS_SELECTED) != 0;
        const ContrastPaint paint = ChooseContrastPaint(selected, false);
        Fill(dc, r, SystemColourOf(paint.fill));
        SetTextColor(dc, SystemColourOf(paint.text));
        DrawItemIcon(dc, selected ? item->selectedIcon : item->normalIcon, r.left + s(3), r.top + s(3), dpi);
    } else if (dis->itemState & ODS_SELECTED) {
        HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
        Rectangle(dc, r.left, r.top, r.right, r.bottom);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        RECT inner{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
        Fill(dc, inner, kSelectedColour);
        DrawItemIcon(dc, item->selectedIcon, r.left + s(2), r.top + s(2), dpi);
    } else {
        Fill(dc, RECT{r.left, r.top, r.left + s(kIconStrip), r.bottom}, kStripColour);
        Fill(dc, RECT{r.left + s(kIconStrip), r.top, r.right, r.bottom}, kBodyColour);
        DrawItemIcon(dc, item->normalIcon, r.left + s(3), r.top + s(3), dpi);
    }
    HFONT font = MakeFont();
    HGDIOBJ oldFont = SelectObject(dc, font);
    RECT text{r.left + s(kIconStrip), r.top, r.right, r.bottom};
    const std::wstring caption = ShownText(item->text, dis->itemState);
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, kTextFormat);
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

LRESULT TrayIcon::MenuChar(WPARAM wParam, LPARAM lParam) {
    auto* menu = reinterpret_cast<HMENU>(lParam);
    const char16_t wanted = AccessKeyOf(std::u16string{u'&', static_cast<char16_t>(LOWORD(wParam))});
    const int count = menu ? GetMenuItemCount(menu) : 0;
    for (int i = 0; i < count && wanted; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_DATA | MIIM_FTYPE;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info) || !(info.fType & MFT_OWNERDRAW)) continue;
        const auto* item = reinterpret_cast<const TrayMenuItem*>(info.dwItemData);
        if (item && item->accessible.dwMSAASignature == MSAA_MENU_SIG &&
            AccessKeyOf(std::u16string(item->text.begin(), item->text.end())) == wanted)
            return MAKELRESULT(i, MNC_EXECUTE);
    }
    return 0;
}

UINT TrayIcon::TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

TrayIcon::~TrayIcon() {
    if (icon_) DestroyIcon(icon_);
}

HICON TrayIcon::SmallIcon() {
    const int size = SmallIconSize(SystemDpi());
    if (icon_ && size == iconSize_) return icon_;
    if (icon_) DestroyIcon(icon_);
    icon_ = nullptr;
    iconSize_ = size;
    // The icon has a frame for each size from 100 to 200 % display scale, so no frame is scaled.
    icon_ = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON, size, size, 0));
    return icon_;
}

void TrayIcon::FillCreationData() {
    data_ = {};
    data_.cbSize = kTrayDataSize;
    data_.hWnd = window_;
    data_.uID = kTrayIconId;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = WM_TRAY_NOTIFY;
    data_.hIcon = SmallIcon();
    CopyBounded(data_.szTip, 128, title_);
}

void TrayIcon::Add(HWND window, const std::wstring& title) {
    window_ = window;
    title_ = title;
    FillCreationData();
    notify_(NIM_ADD, &data_);
    added_ = true;
    AllowMessageFromShell(window, TaskbarCreatedMessage());
}

void TrayIcon::Restore() {
    if (!added_) return;
    FillCreationData();
    notify_(NIM_ADD, &data_);
}

void TrayIcon::Remove() {
    notify_(NIM_DELETE, &data_);
    added_ = false;
}

void TrayIcon::OnNotify(HWND window, LPARAM mouseMessage, const TrayMenuState& state) {
    if (mouseMessage == WM_LBUTTONDBLCLK) {
        ShowWindow(window, SW_SHOWNORMAL);
        return;
    }
    if (mouseMessage != WM_RBUTTONDOWN) return;
    SetForegroundWindow(window);
    const TrayMenuItem exitItem{IDI_EXIT, IDI_EXIT_SELECTED, state.exitText};
    const TrayMenuItem showItem{IDI_SETTINGS, IDI_SETTINGS_SELECTED, state.showText};
    // Pause shows two bars, resume a play triangle; the feedback's label is ticked while on.
    const TrayMenuItem pauseItem(state.paused ? IDI_RESUME : IDI_PAUSE,
                                 state.paused ? IDI_RESUME_SELECTED : IDI_PAUSE_SELECTED, state.pauseText);
    const TrayMenuItem feedbackItem(state.feedbackOn ? IDI_FEEDBACK_ON : IDI_FEEDBACK_OFF,
                                    state.feedbackOn ? IDI_FEEDBACK_ON_SELECTED : IDI_FEEDBACK_OFF_SELECTED,
                                    state.feedbackText);
    POINT cursor{};
    GetCursorPos(&cursor);
    CXPMenu menu;
    menu.dpi = DpiAtPoint(cursor);
    if (!menu.CreatePopupMenu()) return;
    menu.AppendMenu(MF_OWNERDRAW, kCommandExit, &exitItem);
    menu.AppendMenu(MF_SEPARATOR, 0, nullptr);
    menu.AppendMenu(MF_OWNERDRAW, kCommandPause, &pauseItem);
    menu.AppendMenu(MF_OWNERDRAW, kCommandFeedback, &feedbackItem);
    menu.AppendMenu(MF_SEPARATOR, 0, nullptr);
    menu.AppendMenu(MF_OWNERDRAW, kCommandShow, &showItem);
    menu.TrackPopupMenu(TPM_RIGHTBUTTON, cursor.x, cursor.y, window);
    menu.DestroyMenu();
}

void TrayIcon::SetTip(const std::wstring& tip) {
    data_.uFlags = NIF_TIP;
    CopyBounded(data_.szTip, 128, tip);
    notify_(NIM_MODIFY, &data_);
}

void TrayIcon::ShowBalloon(const BalloonData& balloon) {
    data_.cbSize = balloon.cbSize;
    CopyBounded(data_.szInfoTitle, 64, ToWide(balloon.title));
    CopyBounded(data_.szInfo, 256, ToWide(balloon.text));
    data_.dwInfoFlags = balloon.infoFlags;
    data_.uFlags = balloon.flags;
    data_.uTimeout = balloon.timeoutMs;
    notify_(NIM_MODIFY, &data_);
}

}  // namespace mv
