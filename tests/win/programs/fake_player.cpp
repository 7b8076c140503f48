// A stand-in music player: a top-level window of the class given as the first
// argument that appends each key message it receives to the file named by the
// second argument ("down 74" / "up 74" with the LPARAM).
#include <windows.h>
#include <shellapi.h>

#include <cstdio>

namespace {
FILE* g_log = nullptr;

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if ((message == WM_KEYDOWN || message == WM_KEYUP) && g_log) {
        std::fprintf(g_log, "%s %02X %08lX\n", message == WM_KEYDOWN ? "down" : "up", static_cast<unsigned>(wParam),
                     static_cast<unsigned long>(lParam));
        std::fflush(g_log);
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 3) return 2;
    g_log = _wfopen(argv[2], L"a");
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.lpszClassName = argv[1];
    RegisterClassW(&wc);
    CreateWindowExW(0, argv[1], L"player", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr, instance, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    if (g_log) std::fclose(g_log);
    return 0;
}
