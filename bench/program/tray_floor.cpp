// The floor of a resident tray program under the same Wine: a hidden window, a tray icon and a
// message loop, linked as the program is. bench_program.exe measures its memory beside the
// program's; it ends on WM_CLOSE. With "--threads" it also has the two threads every start of
// the program has: a reader blocked on a semaphore, and the one the system starts for a
// device-arrival notification.
#include <windows.h>
#include <shellapi.h>
#include <dbt.h>
#include <wchar.h>

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

DWORD WINAPI Reader(void* semaphore) {
    WaitForSingleObject(static_cast<HANDLE>(semaphore), INFINITE);
    return 0;
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int) {
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
    if (arguments && wcsstr(arguments, L"--threads")) {
        HANDLE semaphore = CreateSemaphoreW(nullptr, 0, 8000, nullptr);
        if (!semaphore || !CreateThread(nullptr, 4096, Reader, semaphore, 0, nullptr)) return 1;
        DEV_BROADCAST_DEVICEINTERFACE_W filter{};
        filter.dbcc_size = sizeof filter;
        filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        filter.dbcc_classguid = {0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};
        if (!RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE)) return 1;
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    Shell_NotifyIconW(NIM_DELETE, &icon);
    return 0;
}
