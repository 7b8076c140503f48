#include "win/probe_window.h"

#include <cstdio>

namespace mv::wintest {

namespace {
bool IsRecorded(UINT m) {
    return m == WM_KEYDOWN || m == WM_KEYUP || m == WM_SYSKEYDOWN || m == WM_SYSKEYUP || (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST && m != WM_MOUSEMOVE);
}
}  // namespace

ProbeWindow::ProbeWindow(const wchar_t* className, const wchar_t* title) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = className;
    RegisterClassW(&wc);
    window_ = CreateWindowExW(0, className, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300, nullptr,
                              nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    pump(100);
}

ProbeWindow::~ProbeWindow() {
    if (window_) DestroyWindow(window_);
    pump(20);
}

bool ProbeWindow::activate() {
    for (int attempt = 0; attempt < 20; ++attempt) {
        ShowWindow(window_, SW_SHOWNORMAL);
        SetForegroundWindow(window_);
        SetActiveWindow(window_);
        SetFocus(window_);
        pump(50);
        if (GetForegroundWindow() == window_ && GetFocus() == window_) return true;
    }
    return false;
}

void ProbeWindow::pump(DWORD ms) { PumpThreadMessages(ms); }

void PumpThreadMessages(DWORD ms) {
    const DWORD start = GetTickCount();
    MSG msg;
    do {
        // A steady stream of messages (a flood of injected input) ends the wait on time too.
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            if (GetTickCount() - start >= ms) return;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

void ProbeWindow::pumpUntil(std::size_t count, DWORD ms) {
    const DWORD start = GetTickCount();
    while (received.size() < count && GetTickCount() - start < ms) pump(10);
    pump(50);  // anything extra that would follow
}

LRESULT CALLBACK ProbeWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ProbeWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && IsRecorded(message)) self->received.push_back({message, wParam, lParam});
    return DefWindowProcW(window, message, wParam, lParam);
}

std::vector<std::string> KeyLines(const std::vector<ReceivedMessage>& messages) {
    std::vector<std::string> lines;
    for (const auto& m : messages) {
        const char* kind = nullptr;
        if (m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) kind = "down";
        if (m.message == WM_KEYUP || m.message == WM_SYSKEYUP) kind = "up";
        if (!kind) continue;
        char line[32];
        std::snprintf(line, sizeof line, "%s %02X", kind, static_cast<unsigned>(m.wParam));
        lines.push_back(line);
    }
    return lines;
}

}  // namespace mv::wintest
