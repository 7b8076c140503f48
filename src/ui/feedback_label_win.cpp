#include "ui/feedback_label_win.h"

#include <objbase.h>
#include <oleacc.h>

#include "ui/accessible_win.h"
#include "ui/dpi_win.h"
#include "ui/system_look_win.h"
#include "win32/on_demand_dlls.h"

namespace mv {

namespace {
constexpr UINT kShowMessage = WM_APP + 1;
constexpr UINT kHideMessage = WM_APP + 2;
constexpr UINT_PTR kFadeTimer = 1;
constexpr wchar_t kClassName[] = L"MvGestureFeedback";
constexpr COLORREF kBackground = RGB(38, 42, 52);
constexpr COLORREF kBorder = RGB(90, 130, 220);
constexpr COLORREF kText = RGB(255, 255, 255);
constexpr DWORD kExStyle = WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
}  // namespace

FeedbackLabel::~FeedbackLabel() { Close(); }

bool FeedbackLabel::Start() {
    if (thread_) return window_ != nullptr;
    ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!ready_) return false;
    thread_ = CreateThread(nullptr, 0, Thread, this, 0, nullptr);
    if (thread_) WaitForSingleObject(ready_, INFINITE);
    CloseHandle(ready_);
    ready_ = nullptr;
    return window_ != nullptr;
}

void FeedbackLabel::Show(const std::wstring& text) {
    if (text.empty() || !Start()) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        pending_ = text;
    }
    PostMessageW(window_, kShowMessage, 0, 0);
}

void FeedbackLabel::Hide() {
    if (window_) PostMessageW(window_, kHideMessage, 0, 0);
}

void FeedbackLabel::Close() {
    if (!thread_) return;
    if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
    WaitForSingleObject(thread_, 5000);
    CloseHandle(thread_);
    thread_ = nullptr;
    window_ = nullptr;
}

DWORD WINAPI FeedbackLabel::Thread(void* self) {
    auto* label = static_cast<FeedbackLabel*>(self);
    // COM, for handing the window's accessible object to assistive technology.
    const bool com = SUCCEEDED(ondemand::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);  // fails harmlessly when a second label registered it before
    HWND window = CreateWindowExW(kExStyle, kClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, label);
    label->window_ = window;
    SetEvent(label->ready_);
    if (window) {
        MSG m;
        while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
    }
    if (label->font_) DeleteObject(label->font_);
    label->font_ = nullptr;
    if (com) ondemand::CoUninitialize();
    return 0;
}

void FeedbackLabel::SetAlpha(std::uint8_t alpha) {
    if (alpha == alpha_) return;
    SetLayeredWindowAttributes(window_, 0, alpha, LWA_ALPHA);
    alpha_ = alpha;
}

void FeedbackLabel::Place() {
    std::wstring text;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        text = pending_;
    }
    POINT cursor{};
    GetCursorPos(&cursor);
    // The label is drawn for the monitor it appears on.
    const int dpi = DpiAtPoint(cursor);
    const bool newDpi = dpi != dpi_ || !font_;
    if (newDpi) {
        if (font_) DeleteObject(font_);
        dpi_ = dpi;
        font_ = CreateFontW(-ScaleToDpi(kFeedbackFontHeight, dpi), 0, 0, 0, FW_SEMIBOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                            CLEARTYPE_QUALITY, 0, L"MS Shell Dlg");
    }
    const bool newText = text != text_;
    if (newText || newDpi) {
        text_ = std::move(text);
        // Never drawn (the window has no caption): the name assistive technology reads, with
        // any "&" doubled so that it is not taken for an access key's mark.
        std::wstring name;
        for (wchar_t c : text_) name.append(c == L'&' ? 2 : 1, c);
        SetWindowTextW(window_, name.c_str());
        SIZE extent{};
        if (HDC dc = GetDC(window_)) {
            HGDIOBJ old = SelectObject(dc, font_);
            GetTextExtentPoint32W(dc, text_.c_str(), static_cast<int>(text_.size()), &extent);
            SelectObject(dc, old);
            ReleaseDC(window_, dc);
        }
        size_ = SIZE{extent.cx + 2 * ScaleToDpi(kFeedbackPadX, dpi_), extent.cy + 2 * ScaleToDpi(kFeedbackPadY, dpi_)};
    }
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const Point at = FeedbackLabelPosition(Point{cursor.x, cursor.y}, size_.cx, size_.cy,
                                           Rect{work.left, work.top, work.right, work.bottom}, dpi_);
    shownAt_ = GetTickCount();
    ReadLook();
    const FeedbackFrame frame = FeedbackFade::At(0, look_);
    SetAlpha(frame.alpha);
    const RECT wanted{at.x, at.y, at.x + size_.cx, at.y + size_.cy};
    const bool resized = wanted.right - wanted.left != placed_.right - placed_.left ||
                         wanted.bottom - wanted.top != placed_.bottom - placed_.top || newDpi;
    const int corner = ScaleToDpi(kFeedbackCorner, dpi_);
    if (resized) {
        HRGN region = CreateRoundRectRgn(0, 0, size_.cx + 1, size_.cy + 1, corner, corner);
        if (region && !SetWindowRgn(window_, region, FALSE)) DeleteObject(region);
    }
    // The same text in the same place while it shows: only the course starts again.
    if (!EqualRect(&wanted, &placed_) || !IsWindowVisible(window_))
        SetWindowPos(window_, HWND_TOPMOST, at.x, at.y, size_.cx, size_.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    placed_ = wanted;
    if (newText || resized) InvalidateRect(window_, nullptr, FALSE);
    SetTimer(window_, kFadeTimer, frame.nextInMs, nullptr);
    RaiseNameChange(window_);
}

void FeedbackLabel::ReadLook() { look_ = FeedbackLook{ClientAnimationsOn(), HighContrastOn()}; }

void FeedbackLabel::Step() {
    const FeedbackFrame frame = FeedbackFade::At(GetTickCount() - shownAt_, look_);
    if (!frame.visible) {
        ShowWindow(window_, SW_HIDE);
        return;
    }
    SetAlpha(frame.alpha);
    SetTimer(window_, kFadeTimer, frame.nextInMs, nullptr);
}

void FeedbackLabel::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    RECT r;
    GetClientRect(window_, &r);
    const bool contrast = look_.opaque;
    HBRUSH fill = CreateSolidBrush(contrast ? SystemColourOf(SystemColour::Menu) : kBackground);
    HPEN pen = CreatePen(PS_SOLID, ScaleToDpi(1, dpi_), contrast ? SystemColourOf(SystemColour::MenuText) : kBorder);
    HGDIOBJ oldBrush = SelectObject(dc, fill), oldPen = SelectObject(dc, pen);
    const int corner = ScaleToDpi(kFeedbackCorner, dpi_);
    RoundRect(dc, r.left, r.top, r.right, r.bottom, corner, corner);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(fill);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, contrast ? SystemColourOf(SystemColour::MenuText) : kText);
    HGDIOBJ oldFont = SelectObject(dc, font_);
    DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    EndPaint(window_, &ps);
}

LRESULT CALLBACK FeedbackLabel::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* label = reinterpret_cast<FeedbackLabel*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!label) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
        case WM_NCHITTEST: return HTTRANSPARENT;
        case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: label->Paint(); return 0;
        case kShowMessage: label->Place(); return 0;
        case kHideMessage:
            KillTimer(window, kFadeTimer);
            ShowWindow(window, SW_HIDE);
            return 0;
        case WM_TIMER:
            if (wParam == kFadeTimer) {
                KillTimer(window, kFadeTimer);
                label->Step();
                return 0;
            }
            break;
        case WM_SETTINGCHANGE:
        case WM_SYSCOLORCHANGE:
            // Drawn and timed as the settings say now; a fade under way ends at once.
            label->ReadLook();
            InvalidateRect(window, nullptr, FALSE);
            if (IsWindowVisible(window)) {
                KillTimer(window, kFadeTimer);
                label->Step();
            }
            return 0;
        case WM_GETOBJECT:
            if (const LRESULT answer = AnswerGetObject(window, wParam, lParam)) return answer;
            break;
        case WM_ACCESSIBLE_TRAITS:
            if (auto* traits = reinterpret_cast<AccessibleTraits*>(lParam)) {
                traits->role = ROLE_SYSTEM_STATICTEXT;
                return 1;
            }
            return 0;
        case WM_CLOSE: DestroyWindow(window); return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace mv
