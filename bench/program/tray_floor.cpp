// The floor of a resident tray program under the same Wine: a hidden window, a tray icon and a
// message loop, linked as the program is. bench_program.exe measures its memory beside the
// program's; it ends on WM_CLOSE.
#include <windows.h>
#include <shellapi.h>

namespace {
LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        DestroyWindow(window);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.lpszClassName = L"MvTrayFloor";
    if (!RegisterClassW(&wc)) return 1;
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"mv tray floor", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  instance, nullptr);
    if (!window) return 1;
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = window;
    icon.uID = 1;
    icon.uFlags = NIF_ICON | NIF_TIP;
    icon.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
    lstrcpynW(icon.szTip, L"mv tray floor", 64);
    Shell_NotifyIconW(NIM_ADD, &icon);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    Shell_NotifyIconW(NIM_DELETE, &icon);
    return 0;
}
