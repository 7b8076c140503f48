// Prints what a top-level window shows in its standard controls, for end-to-end runs:
//
//   window_texts.exe TITLE
//
// One line per child: "<class>: <text>", and "<class>[i]: <item>" for each list box
// item. Exit code 1 when no visible window has the title. Output is UTF-8.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

void Print(const char* cls, int item, const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), n, nullptr, nullptr);
    if (item < 0) std::printf("%s: %s\n", cls, utf8.c_str());
    else std::printf("%s[%d]: %s\n", cls, item, utf8.c_str());
}

BOOL CALLBACK Child(HWND child, LPARAM) {
    if (!IsWindowVisible(child)) return TRUE;
    wchar_t cls[64] = {};
    GetClassNameW(child, cls, 64);
    char name[64];
    WideCharToMultiByte(CP_UTF8, 0, cls, -1, name, sizeof name, nullptr, nullptr);
    if (lstrcmpiW(cls, L"ListBox") == 0) {
        const LRESULT count = SendMessageW(child, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count && i < 1000; ++i) {
            const LRESULT length = SendMessageW(child, LB_GETTEXTLEN, i, 0);
            if (length < 0 || length > 4096) continue;
            std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
            SendMessageW(child, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
            text.resize(static_cast<std::size_t>(length));
            Print(name, static_cast<int>(i), text);
        }
        return TRUE;
    }
    wchar_t text[4096] = {};
    SendMessageW(child, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
    Print(name, -1, text);
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: window_texts TITLE\n", stderr);
        return 2;
    }
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, nullptr, argv[1])) != nullptr)
        if (IsWindowVisible(window)) break;
    if (!window) return 1;
    EnumChildWindows(window, Child, 0);
    return 0;
}
