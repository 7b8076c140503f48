// What a screen reader learns of the program's windows, read through oleacc from outside the
// program (AccessibleObjectFromWindow on each window's client object), one line per window:
//   ROLE STATES|NAME      ROLE as below, STATES the flags of interest joined by "+" ("-": none),
//                         NAME in UTF-8
//
//   acc_probe.exe main TITLE     the controls of the main window titled TITLE, top of the z-order first
//   acc_probe.exe menus TITLE    each visible popup of the program (a menu level, a dialog) as
//                                "popup ROLE STATES|NAME", then its controls
//   acc_probe.exe focus TITLE    the window that has the program's keyboard focus
//   acc_probe.exe tray TITLE     opens the tray menu (as a right click on the icon does) and
//                                prints the text of each owner-drawn item's MSAAMENUINFO header
//                                as "item ID|TEXT" (read from the program's memory), then closes it;
//                                Wine cannot read another process's menu (grab_menu_ptr: "other
//                                process menu"), so under Wine the next mode is the one that answers
//   acc_probe.exe own-tray LANGUAGE_XML [KEY]   the program's tray menu (TrayIcon::OnNotify)
//                                opened in this process with the texts of LANGUAGE_XML, read the
//                                same way; then KEY typed into it (else it is closed), and the
//                                command the menu sent printed as "command ID"
// Exit code 1 when the window is not found or oleacc cannot be had.
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "app/tray.h"
#include "i18n/text_catalogue.h"

namespace {

constexpr IID kIIDAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
using AccessibleObjectFromWindowFn = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
AccessibleObjectFromWindowFn g_fromWindow = nullptr;

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

const char* RoleName(long role) {
    switch (role) {
    case ROLE_SYSTEM_PUSHBUTTON: return "pushbutton";
    case ROLE_SYSTEM_PAGETAB: return "pagetab";
    case ROLE_SYSTEM_LISTITEM: return "listitem";
    case ROLE_SYSTEM_STATICTEXT: return "statictext";
    case ROLE_SYSTEM_MENUITEM: return "menuitem";
    case ROLE_SYSTEM_MENUPOPUP: return "menupopup";
    case ROLE_SYSTEM_ANIMATION: return "animation";
    case ROLE_SYSTEM_CLIENT: return "client";
    case ROLE_SYSTEM_DIALOG: return "dialog";
    case ROLE_SYSTEM_TEXT: return "text";
    case ROLE_SYSTEM_CHECKBUTTON: return "checkbutton";
    case ROLE_SYSTEM_SLIDER: return "slider";
    default: return "other";
    }
}

std::string StateNames(long state) {
    static const struct {
        long flag;
        const char* name;
    } flags[] = {{STATE_SYSTEM_SELECTED, "selected"},   {STATE_SYSTEM_SELECTABLE, "selectable"},
                 {STATE_SYSTEM_FOCUSED, "focused"},     {STATE_SYSTEM_FOCUSABLE, "focusable"},
                 {STATE_SYSTEM_UNAVAILABLE, "unavailable"}, {STATE_SYSTEM_INVISIBLE, "invisible"},
                 {STATE_SYSTEM_HASPOPUP, "haspopup"},   {STATE_SYSTEM_EXPANDED, "expanded"},
                 {STATE_SYSTEM_HOTTRACKED, "hottracked"}};
    std::string out;
    for (const auto& f : flags)
        if (state & f.flag) out += (out.empty() ? "" : "+") + std::string(f.name);
    return out.empty() ? "-" : out;
}

// "ROLE STATES|NAME" of the window's client object; "error 0x..." when it cannot be read.
std::string Describe(HWND window) {
    IAccessible* acc = nullptr;
    const HRESULT hr = g_fromWindow(window, static_cast<DWORD>(OBJID_CLIENT), kIIDAccessible, reinterpret_cast<void**>(&acc));
    if (FAILED(hr) || !acc) {
        char buffer[48];
        std::snprintf(buffer, sizeof buffer, "error 0x%08lx", static_cast<unsigned long>(hr));
        return buffer;
    }
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role, state;
    VariantInit(&role);
    VariantInit(&state);
    BSTR name = nullptr;
    const long roleValue = SUCCEEDED(acc->get_accRole(self, &role)) && role.vt == VT_I4 ? role.lVal : -1;
    const long stateValue = SUCCEEDED(acc->get_accState(self, &state)) && state.vt == VT_I4 ? state.lVal : 0;
    std::wstring nameText;
    if (SUCCEEDED(acc->get_accName(self, &name)) && name) nameText.assign(name, SysStringLen(name));
    SysFreeString(name);
    acc->Release();
    return std::string(RoleName(roleValue)) + " " + StateNames(stateValue) + "|" + Utf8(nameText);
}

HWND FindMain(const wchar_t* title) { return FindWindowW(L"MorviCorvelConfig", title); }

void PrintChildren(HWND parent, const char* indent) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[64] = {};
        GetClassNameW(child, cls, 64);
        if (lstrcmpiW(cls, L"tooltips_class32") == 0) continue;
        std::printf("%s%s\n", indent, Describe(child).c_str());
    }
}

struct Popups {
    DWORD process;
    HWND main;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectPopup(HWND window, LPARAM lParam) {
    auto* p = reinterpret_cast<Popups*>(lParam);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t cls[32] = {};
    GetClassNameW(window, cls, 32);
    if (process == p->process && window != p->main && IsWindowVisible(window) && lstrcmpW(cls, L"#32770") == 0)
        p->found.push_back(window);
    return TRUE;
}

int Tray(HWND main) {
    DWORD processId = 0;
    GetWindowThreadProcessId(main, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_READ | PROCESS_QUERY_INFORMATION, FALSE, processId);
    if (!process) return 1;
    PostMessageW(main, 0x600, 128, WM_RBUTTONDOWN);
    HWND menuWindow = nullptr;
    for (int i = 0; i < 100 && !menuWindow; ++i) {
        Sleep(100);
        for (HWND w = FindWindowW(L"#32768", nullptr); w; w = FindWindowExW(nullptr, w, L"#32768", nullptr))
            if (IsWindowVisible(w)) menuWindow = w;
    }
    int status = 1;
    if (menuWindow) {
        HMENU menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, 0x01E1 /* MN_GETHMENU */, 0, 0));
        const int count = menu ? GetMenuItemCount(menu) : -1;
        std::printf("menu=%p items=%d error=%lu\n", static_cast<void*>(menu), count, GetLastError());
        for (int i = 0; i < count; ++i) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_DATA | MIIM_ID | MIIM_FTYPE;
            if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info) || (info.fType & MFT_SEPARATOR)) continue;
            MSAAMENUINFO header{};
            SIZE_T got = 0;
            std::wstring text;
            if (info.dwItemData &&
                ReadProcessMemory(process, reinterpret_cast<void*>(info.dwItemData), &header, sizeof header, &got) &&
                got == sizeof header && header.dwMSAASignature == static_cast<DWORD>(MSAA_MENU_SIG) &&
                header.cchWText < 1024) {
                text.resize(header.cchWText);
                if (!ReadProcessMemory(process, header.pszWText, text.data(), header.cchWText * sizeof(wchar_t), &got))
                    text = L"<unreadable>";
            } else {
                text = L"<no header>";
            }
            std::printf("item 0x%04x|%s\n", info.wID, Utf8(text).c_str());
        }
        status = count > 0 ? 0 : 1;
        PostMessageW(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(main, WM_CANCELMODE, 0, 0);
    } else {
        std::printf("no menu\n");
    }
    CloseHandle(process);
    return status;
}

wchar_t g_key = 0;

// The owner of the menu opened in this process: when the menu waits for input, its items are
// read and it is closed.
LRESULT CALLBACK OwnTrayOwner(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ENTERIDLE && wParam == MSGF_MENU) {
        HMENU menu = reinterpret_cast<HMENU>(SendMessageW(reinterpret_cast<HWND>(lParam), 0x01E1, 0, 0));
        const int count = menu ? GetMenuItemCount(menu) : -1;
        std::printf("items=%d\n", count);
        for (int i = 0; i < count; ++i) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_DATA | MIIM_ID | MIIM_FTYPE;
            if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info) || (info.fType & MFT_SEPARATOR)) continue;
            const auto* header = reinterpret_cast<const MSAAMENUINFO*>(info.dwItemData);
            std::wstring text = L"<no header>";
            if (header && header->dwMSAASignature == static_cast<DWORD>(MSAA_MENU_SIG) && header->pszWText)
                text.assign(header->pszWText, header->cchWText);
            std::printf("item 0x%04x|%s\n", info.wID, Utf8(text).c_str());
        }
        if (g_key) {
            // The key, then Escape: a key that runs nothing leaves the menu to Escape.
            PostMessageW(reinterpret_cast<HWND>(lParam), WM_CHAR, g_key, 1);
            PostMessageW(reinterpret_cast<HWND>(lParam), WM_KEYDOWN, VK_ESCAPE, 1);
        } else {
            EndMenu();
        }
        return 0;
    }
    if (message == WM_MENUCHAR) {
        if (const LRESULT r = mv::TrayIcon::MenuChar(wParam, lParam)) return r;
    }
    if (message == WM_COMMAND) std::printf("command 0x%04x\n", LOWORD(wParam));
    return DefWindowProcW(window, message, wParam, lParam);
}

BOOL WINAPI NoShell(DWORD, PNOTIFYICONDATAW) { return TRUE; }

int OwnTray(const wchar_t* languageXml, const wchar_t* key) {
    g_key = key ? key[0] : 0;
    mv::loadTextCatalogue(std::u16string(languageXml, languageXml + std::wcslen(languageXml)));
    WNDCLASSW wc{};
    wc.lpfnWndProc = OwnTrayOwner;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"AccProbeTrayOwner";
    RegisterClassW(&wc);
    HWND owner = CreateWindowExW(0, wc.lpszClassName, L"owner", WS_POPUP, 10, 10, 10, 10, nullptr, nullptr,
                                 wc.hInstance, nullptr);
    if (!owner) return 1;
    SetCursorPos(300, 300);
    mv::TrayIcon tray(NoShell);
    tray.OnNotify(owner, WM_RBUTTONDOWN, mv::TrayMenuFor(false, true));
    MSG msg;
    for (int i = 0; i < 20; ++i) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(10);
    }
    DestroyWindow(owner);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: acc_probe.exe main|menus|focus|tray TITLE | own-tray LANGUAGE_XML\n");
        return 2;
    }
    if (std::wstring(argv[1]) == L"own-tray") return OwnTray(argv[2], argc > 3 ? argv[3] : nullptr);
    CoInitialize(nullptr);
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    HMODULE oleacc = LoadLibraryW((std::wstring(system) + L"\\oleacc.dll").c_str());
    g_fromWindow = oleacc ? reinterpret_cast<AccessibleObjectFromWindowFn>(
                                reinterpret_cast<void*>(GetProcAddress(oleacc, "AccessibleObjectFromWindow")))
                          : nullptr;
    HWND main = FindMain(argv[2]);
    if (!g_fromWindow || !main) {
        std::printf("no %s\n", g_fromWindow ? "window" : "oleacc");
        return 1;
    }
    const std::wstring mode = argv[1];
    if (mode == L"main") {
        std::printf("window %s\n", Describe(main).c_str());
        PrintChildren(main, "");
    } else if (mode == L"menus") {
        Popups popups{0, main, {}};
        GetWindowThreadProcessId(main, &popups.process);
        EnumWindows(CollectPopup, reinterpret_cast<LPARAM>(&popups));
        for (HWND popup : popups.found) {
            std::printf("popup %s\n", Describe(popup).c_str());
            PrintChildren(popup, "  ");
        }
    } else if (mode == L"focus") {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info);
        std::printf("%s\n", info.hwndFocus ? Describe(info.hwndFocus).c_str() : "none");
    } else if (mode == L"tray") {
        return Tray(main);
    }
    std::fflush(stdout);
    CoUninitialize();
    return 0;
}
