// What the scripted tests need to know about the program's windows, as key=value lines.
//
//   window_state.exe TITLE
//     main=HWND                  the program's main window titled TITLE (0: none)
//     foreground=WHO             main, popup (another window of the program), other or none
//     active=WHO focus=WHO       the program thread's active and focus windows (GetGUIThreadInfo):
//                                main, child (a control of main), popup, popupchild or none
//     popups=N                   the program's visible #32770 windows other than main (menus, dialogs)
//     popup=X Y W H              one line per such window, top of the z-order first
//   window_state.exe outside X Y W H SECONDS
//     Shows a plain top-level window titled "outside" there for that long.
//   window_state.exe exit TITLE
//     Asks the program to exit as its tray menu does (the command 0x6001).
//   window_state.exe command TITLE ID
//     Posts WM_COMMAND ID (decimal or 0x hex) with lParam 0 to the program's main window.
//   window_state.exe texts TITLE
//     text=CAPTION|TEXT... for each visible dialog of the program other than main: its
//     caption and the texts of its static controls (a message box's message), UTF-8.
//   window_state.exe edits TITLE
//     edit=TEXT for each visible edit control in the program's dialogs other than main
//     (a file dialog's file name box), UTF-8; focused=1 when one of them has the focus.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

// The program's main window: its own class first, since the program's message boxes carry
// the same title; any window of that title for builds from before the class.
HWND FindMain(const wchar_t* title) {
    HWND main = FindWindowW(L"MorviCorvelConfig", title);
    return main ? main : FindWindowW(nullptr, title);
}

bool IsDialog(HWND w) {
    wchar_t cls[32] = {};
    GetClassNameW(w, cls, 32);
    return std::wcscmp(cls, L"#32770") == 0;
}

const char* Who(HWND w, HWND main, DWORD process) {
    if (!w) return "none";
    if (w == main) return "main";
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner != process) return "other";
    if (IsChild(main, w)) return "child";
    HWND top = GetAncestor(w, GA_ROOT);
    return top == w ? "popup" : "popupchild";
}

int State(const wchar_t* title) {
    HWND main = FindMain(title);
    std::printf("main=%p\n", static_cast<void*>(main));
    if (!main) return 1;
    DWORD process = 0;
    const DWORD thread = GetWindowThreadProcessId(main, &process);
    std::printf("foreground=%s\n", Who(GetForegroundWindow(), main, process));
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(thread, &info))
        std::printf("active=%s\nfocus=%s\ncapture=%s\n", Who(info.hwndActive, main, process),
                    Who(info.hwndFocus, main, process), Who(info.hwndCapture, main, process));
    std::vector<RECT> popups;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (w == main || owner != process || !IsWindowVisible(w) || !IsDialog(w)) continue;
        RECT r{};
        GetWindowRect(w, &r);
        popups.push_back(r);
    }
    std::printf("popups=%zu\n", popups.size());
    for (const RECT& r : popups)
        std::printf("popup=%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return 0;
}

LRESULT CALLBACK OutsideProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) DestroyWindow(window);
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

int Outside(int x, int y, int w, int h, int seconds) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = OutsideProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"MvOutside";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"outside", WS_POPUP | WS_BORDER | WS_VISIBLE, x, y, w, h,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    if (!window) return 1;
    SetTimer(window, 1, static_cast<UINT>(seconds) * 1000, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

int Exit(const wchar_t* title) {
    HWND main = FindMain(title);
    if (!main) return 1;
    DWORD process = 0;
    GetWindowThreadProcessId(main, &process);
    HANDLE handle = OpenProcess(SYNCHRONIZE, FALSE, process);
    PostMessageW(main, WM_COMMAND, 0x6001, 0);
    const bool ended = handle && WaitForSingleObject(handle, 15000) == WAIT_OBJECT_0;
    if (handle) CloseHandle(handle);
    return ended ? 0 : 1;
}

int Command(const wchar_t* title, const wchar_t* id) {
    HWND main = FindMain(title);
    if (!main) return 1;
    return PostMessageW(main, WM_COMMAND, static_cast<WPARAM>(std::wcstoul(id, nullptr, 0)), 0) ? 0 : 1;
}

std::string Utf8(const wchar_t* text) {
    char out[4096] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof out - 1, nullptr, nullptr);
    return out;
}

BOOL CALLBACK AppendStatic(HWND child, LPARAM data) {
    wchar_t cls[32] = {}, text[2048] = {};
    GetClassNameW(child, cls, 32);
    if (_wcsicmp(cls, L"Static") == 0 && IsWindowVisible(child) && GetWindowTextW(child, text, 2048) > 0)
        *reinterpret_cast<std::string*>(data) += '|' + Utf8(text);
    return TRUE;
}

int Texts(const wchar_t* title) {
    HWND main = FindMain(title);
    if (!main) return 1;
    DWORD process = 0;
    GetWindowThreadProcessId(main, &process);
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (w == main || owner != process || !IsWindowVisible(w) || !IsDialog(w)) continue;
        wchar_t caption[512] = {};
        GetWindowTextW(w, caption, 512);
        std::string line = "text=" + Utf8(caption);
        EnumChildWindows(w, AppendStatic, reinterpret_cast<LPARAM>(&line));
        std::printf("%s\n", line.c_str());
    }
    return 0;
}

BOOL CALLBACK AppendEdit(HWND child, LPARAM data) {
    wchar_t cls[32] = {}, text[2048] = {};
    GetClassNameW(child, cls, 32);
    if (_wcsicmp(cls, L"Edit") == 0 && IsWindowVisible(child)) {
        // GetWindowText does not ask another process's edit control for what it holds.
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(child, WM_GETTEXT, 2047, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                            &copied);
        *reinterpret_cast<std::string*>(data) += "edit=" + Utf8(text) + "\n";
    }
    return TRUE;
}

int Edits(const wchar_t* title) {
    HWND main = FindMain(title);
    if (!main) return 1;
    DWORD process = 0;
    const DWORD thread = GetWindowThreadProcessId(main, &process);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(thread, &info);
    wchar_t focusClass[32] = {};
    if (info.hwndFocus) GetClassNameW(info.hwndFocus, focusClass, 32);
    std::string lines;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (w == main || owner != process || !IsWindowVisible(w) || !IsDialog(w)) continue;
        EnumChildWindows(w, AppendEdit, reinterpret_cast<LPARAM>(&lines));
    }
    std::printf("%sfocused=%d\n", lines.c_str(), _wcsicmp(focusClass, L"Edit") == 0 ? 1 : 0);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 2) return State(argv[1]);
    if (argc == 3 && std::wcscmp(argv[1], L"exit") == 0) return Exit(argv[2]);
    if (argc == 4 && std::wcscmp(argv[1], L"command") == 0) return Command(argv[2], argv[3]);
    if (argc == 3 && std::wcscmp(argv[1], L"texts") == 0) return Texts(argv[2]);
    if (argc == 3 && std::wcscmp(argv[1], L"edits") == 0) return Edits(argv[2]);
    if (argc == 7 && std::wcscmp(argv[1], L"outside") == 0)
        return Outside(_wtoi(argv[2]), _wtoi(argv[3]), _wtoi(argv[4]), _wtoi(argv[5]), _wtoi(argv[6]));
    std::fprintf(stderr,
                 "usage: window_state TITLE | window_state exit|texts|edits TITLE | window_state command TITLE ID"
                 " | window_state outside X Y W H SECONDS\n");
    return 2;
}
