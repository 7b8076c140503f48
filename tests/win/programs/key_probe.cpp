// A probe window for end-to-end runs: logs every key and mouse button message it
// receives, with the tick count at which its own message handling saw it.
//
//   key_probe.exe LOG_FILE
//
// Each line: "<tick ms> <message time ms> down|up|button VK" (VK in hex). The window is
// titled "mv key probe" and sits at (40, 600), 300 x 200.
#include <windows.h>

#include <cstdio>

namespace {

FILE* g_log = nullptr;

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const char* kind = nullptr;
    unsigned code = static_cast<unsigned>(wParam);
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: kind = "down"; break;
        case WM_KEYUP:
        case WM_SYSKEYUP: kind = "up"; break;
        case WM_LBUTTONDOWN: kind = "button"; code = 0xC1; break;
        case WM_RBUTTONDOWN: kind = "button"; code = 0xC2; break;
        case WM_MBUTTONDOWN: kind = "button"; code = 0xC3; break;
        case WM_DESTROY: PostQuitMessage(0); break;
        default: break;
    }
    if (kind && g_log) {
        std::fprintf(g_log, "%lu %ld %s %02X\n", GetTickCount(), GetMessageTime(), kind, code);
        std::fflush(g_log);
    }
    if (message == WM_SYSKEYDOWN || message == WM_SYSKEYUP || message == WM_SYSCHAR) return 0;  // no menu mode
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: key_probe LOG_FILE\n", stderr);
        return 2;
    }
    g_log = _wfopen(argv[1], L"w");
    if (!g_log) return 1;
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"MvKeyProbe";
    RegisterClassW(&wc);
    CreateWindowExW(0, wc.lpszClassName, L"mv key probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 600, 300, 200,
                    nullptr, nullptr, wc.hInstance, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    std::fclose(g_log);
    return 0;
}
