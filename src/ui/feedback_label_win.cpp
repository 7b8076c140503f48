#include "ui/feedback_label_win.h"

#include "ui/feedback_rules.h"

namespace mv {

namespace {
constexpr UINT_PTR kFadeTimer = 1;
constexpr int kFontHeight = 16;
constexpr int kPadX = 10, kPadY = 5, kCorner = 8;
constexpr COLORREF kBackground = RGB(38, 42, 52);
constexpr COLORREF kBorder = RGB(90, 130, 220);
constexpr COLORREF kText = RGB(255, 255, 255);
constexpr DWORD kExStyle = WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
}  // namespace

FeedbackLabel::~FeedbackLabel() {
    if (hwnd_) DestroyWindow();
    if (font_) DeleteObject(font_);
}

bool FeedbackLabel::Make() {
    if (hwnd_) return true;
    if (!font_)
        font_ = CreateFontW(-kFontHeight, 0, 0, 0, FW_SEMIBOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0,
                            L"MS Shell Dlg");
    return CreateEx(kExStyle, WindowClass(), L"", WS_POPUP, RECT{0, 0, 1, 1}, nullptr, 0);
}

void FeedbackLabel::Show(const std::wstring& text) {
    if (text.empty() || !Make()) return;
    text_ = text;
    ::SetWindowTextW(hwnd_, text_.c_str());  // never drawn: the window has no caption
    SIZE extent{};
    if (HDC dc = GetDC(hwnd_)) {
        HGDIOBJ old = SelectObject(dc, font_);
        GetTextExtentPoint32W(dc, text_.c_str(), static_cast<int>(text_.size()), &extent);
        SelectObject(dc, old);
        ReleaseDC(hwnd_, dc);
    }
    const int width = extent.cx + 2 * kPadX, height = extent.cy + 2 * kPadY;
    POINT cursor{};
    GetCursorPos(&cursor);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const Point at = FeedbackLabelPosition(Point{cursor.x, cursor.y}, width, height,
                                           Rect{work.left, work.top, work.right, work.bottom});
    shownAt_ = GetTickCount();
    const FeedbackFrame frame = FeedbackFade::At(0);
    SetLayeredWindowAttributes(hwnd_, 0, frame.alpha, LWA_ALPHA);
    HRGN region = CreateRoundRectRgn(0, 0, width + 1, height + 1, kCorner, kCorner);
    if (region && !SetWindowRgn(hwnd_, region, FALSE)) DeleteObject(region);
    SetWindowPos(hwnd_, HWND_TOPMOST, at.x, at.y, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(hwnd_, nullptr, FALSE);
    ::SetTimer(hwnd_, kFadeTimer, frame.nextInMs, nullptr);
}

void FeedbackLabel::Hide() {
    if (!hwnd_) return;
    ::KillTimer(hwnd_, kFadeTimer);
    ::ShowWindow(hwnd_, SW_HIDE);
}

void FeedbackLabel::Step() {
    const FeedbackFrame frame = FeedbackFade::At(GetTickCount() - shownAt_);
    if (!frame.visible) return Hide();
    SetLayeredWindowAttributes(hwnd_, 0, frame.alpha, LWA_ALPHA);
    ::SetTimer(hwnd_, kFadeTimer, frame.nextInMs, nullptr);
}

void FeedbackLabel::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT r;
    GetClientRect(hwnd_, &r);
    HBRUSH fill = CreateSolidBrush(kBackground);
    HPEN pen = CreatePen(PS_SOLID, 1, kBorder);
    HGDIOBJ oldBrush = SelectObject(dc, fill), oldPen = SelectObject(dc, pen);
    RoundRect(dc, r.left, r.top, r.right, r.bottom, kCorner, kCorner);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(fill);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kText);
    HGDIOBJ oldFont = SelectObject(dc, font_);
    DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    EndPaint(hwnd_, &ps);
}

LRESULT FeedbackLabel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCHITTEST: return HTTRANSPARENT;
        case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: Paint(); return 0;
        case WM_TIMER:
            if (wParam == kFadeTimer) {
                ::KillTimer(hwnd_, kFadeTimer);
                Step();
                return 0;
            }
            break;
        default: break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

}  // namespace mv
