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
//   acc_probe.exe tray-contrast LANGUAGE_XML OUT.bmp   the tray menu's items drawn by its own code
//                                under the High Contrast Black colours, high contrast reported on
//                                (left) and off (right), into OUT.bmp; prints ok/FAIL lines
//   acc_probe.exe tray-width LANGUAGE_XML DPI en|zh OUT.bmp   the items at the width the menu
//                                measures for DPI: each text drawn whole; English at 96 DPI 75 wide
//   acc_probe.exe own-tray LANGUAGE_XML [KEY]   the program's tray menu (TrayIcon::OnNotify)
//                                opened in this process with the texts of LANGUAGE_XML, read the
//                                same way; then KEY typed into it (else it is closed), and the
//                                command the menu sent printed as "command ID"
// Exit code 1 when the window is not found or oleacc cannot be had.
#include <windows.h>
#include <oleacc.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "app/tray.h"
#include "i18n/text_catalogue.h"
#include "ui/display_scale.h"
#include "ui/system_look_win.h"

namespace {

// A picture of `size` bytes, as `header` describes it, as a BMP file at `path`.
void WriteBmp(const wchar_t* path, const BITMAPINFOHEADER& header, const void* bits, DWORD size) {
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + size;
    if (FILE* out = _wfopen(path, L"wb")) {
        std::fwrite(&file, sizeof file, 1, out);
        std::fwrite(&header, sizeof header, 1, out);
        std::fwrite(bits, size, 1, out);
        std::fclose(out);
    }
}

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
    case ROLE_SYSTEM_LIST: return "list";
    case ROLE_SYSTEM_HOTKEYFIELD: return "hotkeyfield";
    case ROLE_SYSTEM_PANE: return "pane";
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
                 {STATE_SYSTEM_HOTTRACKED, "hottracked"}, {STATE_SYSTEM_CHECKED, "checked"}};
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
    // A value and a keyboard shortcut, where there is one: "|value=...", "|key=...".
    std::string extra;
    BSTR text = nullptr;
    if (acc->get_accValue(self, &text) == S_OK && text && SysStringLen(text) > 0)
        extra += "|value=" + Utf8(std::wstring(text, SysStringLen(text)));
    SysFreeString(text);
    text = nullptr;
    if (acc->get_accKeyboardShortcut(self, &text) == S_OK && text)
        extra += "|key=" + Utf8(std::wstring(text, SysStringLen(text)));
    SysFreeString(text);
    acc->Release();
    return std::string(RoleName(roleValue)) + " " + StateNames(stateValue) + "|" + Utf8(nameText) + extra;
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

bool g_contrast = true;
bool ContrastAnswer() { return g_contrast; }

int TrayContrast(const wchar_t* languageXml, const wchar_t* outPath) {
    mv::loadTextCatalogue(std::u16string(languageXml, languageXml + std::wcslen(languageXml)));
    const mv::TrayMenuState state = mv::TrayMenuFor(false, true);
    const mv::TrayMenuItem items[4] = {{1, 1, state.exitText}, {1, 1, state.pauseText}, {1, 1, state.feedbackText},
                                       {1, 1, state.showText}};
    // High Contrast Black, for this drawing only.
    const int elements[] = {COLOR_MENU, COLOR_MENUTEXT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT};
    const COLORREF black[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(26, 235, 255), RGB(0, 0, 0)};
    COLORREF saved[4];
    for (int i = 0; i < 4; ++i) saved[i] = GetSysColor(elements[i]);
    SetSysColors(4, elements, black);
    constexpr int w = 75, h = 22;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 2 * w + 10;
    bi.bmiHeader.biHeight = -4 * h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, 2 * w + 10, 4 * h};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    mv::CXPMenu menu;
    mv::SetHighContrastAnswer(ContrastAnswer);
    for (int column = 0; column < 2; ++column) {
        g_contrast = column == 0;
        for (int i = 0; i < 4; ++i) {
            DRAWITEMSTRUCT dis{};
            dis.CtlType = ODT_MENU;
            dis.itemAction = ODA_DRAWENTIRE;
            dis.itemState = i == 1 ? ODS_SELECTED : 0;
            dis.hDC = dc;
            dis.rcItem = RECT{column * (w + 10), i * h, column * (w + 10) + w, (i + 1) * h};
            dis.itemData = reinterpret_cast<ULONG_PTR>(&items[i]);
            // The menu's own text colour, as the system leaves it before the item is drawn.
            SetTextColor(dc, GetSysColor(i == 1 ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
            menu.DrawItem(&dis);
        }
    }
    GdiFlush();
    int failures = 0;
    const auto check = [&](const char* name, bool ok) {
        std::printf("%s %s\n", ok ? "ok  " : "FAIL", name);
        if (!ok) ++failures;
    };
    const auto at = [&](int x, int y) {
        const auto p = static_cast<const std::uint32_t*>(bits)[y * (2 * w + 10) + x] & 0xFFFFFF;
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    };
    // Pixels within `tolerance` of `colour` in every channel (a smoothed font draws few exact ones).
    const auto count = [&](int x0, int y0, COLORREF colour, int tolerance = 60) {
        const auto within = [tolerance](int a, int b) { return a > b ? a - b <= tolerance : b - a <= tolerance; };
        int n = 0;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x) {
                const COLORREF c = at(x, y);
                n += within(GetRValue(c), GetRValue(colour)) && within(GetGValue(c), GetGValue(colour)) &&
                     within(GetBValue(c), GetBValue(colour));
            }
        return n;
    };
    check("high contrast: an item's body in the menu colour (black)", at(w - 2, 1) == RGB(0, 0, 0) && at(1, 1) == RGB(0, 0, 0));
    check("high contrast: its text in the menu text colour (white)", count(0, 0, RGB(255, 255, 255)) > 10);
    check("high contrast: the selected item in the highlight colour", at(w - 2, h + 1) == RGB(26, 235, 255));
    check("high contrast: the selected item's text in the highlight text colour", count(0, h, RGB(0, 0, 0), 130) > 10);
    check("high contrast off: the fixed near-white body as before", at(w + 10 + w - 2, 1) == RGB(249, 248, 247));
    // The picture, as a BMP file.
    WriteBmp(outPath, bi.bmiHeader, bits, static_cast<DWORD>((2 * w + 10) * 4 * h * 4));
    // The access keys' marks change nothing for the pointer: each item is drawn as the same
    // text without its "&" would be.
    {
        g_contrast = false;
        bool same = true;
        for (int i = 0; i < 4 && same; ++i) {
            std::wstring plain;
            for (wchar_t c : items[i].text)
                if (c != L'&') plain += c;
            const mv::TrayMenuItem bare{1, 1, plain};
            for (int pass = 0; pass < 2; ++pass) {
                RECT r{0, i * h, w, (i + 1) * h};
                FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
                DRAWITEMSTRUCT dis{};
                dis.CtlType = ODT_MENU;
                dis.itemAction = ODA_DRAWENTIRE;
                dis.itemState = 0;
                dis.hDC = dc;
                dis.rcItem = r;
                dis.itemData = reinterpret_cast<ULONG_PTR>(pass == 0 ? &items[i] : &bare);
                SetTextColor(dc, RGB(0, 0, 0));
                menu.DrawItem(&dis);
                GdiFlush();
                static std::vector<COLORREF> first;
                if (pass == 0) {
                    first.clear();
                    for (int y = i * h; y < (i + 1) * h; ++y)
                        for (int x = 0; x < w; ++x) first.push_back(at(x, y));
                } else {
                    std::size_t k = 0;
                    for (int y = i * h; y < (i + 1) * h; ++y)
                        for (int x = 0; x < w; ++x) same = same && first[k++] == at(x, y);
                }
            }
            if (!same) std::printf("differs: item %d\n", i);
        }
        check("access keys: every item drawn as its text without the marks", same);
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    SetSysColors(4, elements, saved);
    return failures ? 1 : 0;
}

// The tray menu's items at the width the menu measures them for DPI, drawn by its own code:
// each text must draw as it does in an item far wider (no "..." in place of its end); at
// 96 DPI with the English texts the items keep their fixed 75 pixels. Prints ok/FAIL lines
// and writes the items, at their width and wide, into OUT.bmp.
int TrayWidth(const wchar_t* languageXml, int dpi, bool english, const wchar_t* outPath) {
    mv::loadTextCatalogue(std::u16string(languageXml, languageXml + std::wcslen(languageXml)));
    const mv::TrayMenuState state = mv::TrayMenuFor(false, true);
    const mv::TrayMenuItem items[4] = {{1, 1, state.exitText}, {1, 1, state.pauseText}, {1, 1, state.feedbackText},
                                       {1, 1, state.showText}};
    mv::CXPMenu menu;
    menu.dpi = dpi;
    int width = 0, height = 0;
    for (const auto& item : items) {
        MEASUREITEMSTRUCT mis{};
        mis.CtlType = ODT_MENU;
        mis.itemData = reinterpret_cast<ULONG_PTR>(&item);
        menu.MeasureItem(&mis);
        width = std::max(width, static_cast<int>(mis.itemWidth));  // the menu takes the widest
        height = static_cast<int>(mis.itemHeight);
    }
    const int wide = width + 300, stride = width + 10 + wide;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = stride;
    bi.bmiHeader.biHeight = -4 * height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, stride, 4 * height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    for (int i = 0; i < 4; ++i)
        for (int column = 0; column < 2; ++column) {
            DRAWITEMSTRUCT dis{};
            dis.CtlType = ODT_MENU;
            dis.itemAction = ODA_DRAWENTIRE;
            dis.hDC = dc;
            const int left = column == 0 ? 0 : width + 10;
            dis.rcItem = RECT{left, i * height, left + (column == 0 ? width : wide), (i + 1) * height};
            dis.itemData = reinterpret_cast<ULONG_PTR>(&items[i]);
            SetTextColor(dc, RGB(0, 0, 0));
            menu.DrawItem(&dis);
        }
    GdiFlush();
    // Ink: a pixel well away from the body's near-white (249, 248, 247); the font is smoothed.
    const auto dark = [&](int x, int y) {
        const auto p = static_cast<const std::uint32_t*>(bits)[y * stride + x] & 0xFFFFFF;
        return std::abs(static_cast<int>((p >> 16) & 0xFF) - 249) + std::abs(static_cast<int>((p >> 8) & 0xFF) - 248) +
                   std::abs(static_cast<int>(p & 0xFF) - 247) > 90;
    };
    // The text's ink: its width and its columns' pattern, in the body right of the icon strip.
    const auto ink = [&](int left, int right, int row) {
        std::string columns;
        for (int x = left; x < right; ++x) {
            bool any = false;
            for (int y = row * height; y < (row + 1) * height && !any; ++y) any = dark(x, y);
            columns += any ? '#' : '.';
        }
        const auto first = columns.find('#'), last = columns.rfind('#');
        return first == std::string::npos ? std::string() : columns.substr(first, last - first + 1);
    };
    int failures = 0;
    const int strip = mv::ScaleToDpi(25, dpi);
    for (int i = 0; i < 4; ++i) {
        const std::string narrow = ink(strip, width, i), roomy = ink(width + 10 + strip, width + 10 + wide, i);
        const bool ok = !narrow.empty() && narrow == roomy;
        std::printf("%s item %d drawn whole at the menu's width %d (ink %zu pixels, wide %zu)\n", ok ? "ok  " : "FAIL", i,
                    width, narrow.size(), roomy.size());
        failures += ok ? 0 : 1;
    }
    if (english && dpi == 96) {
        std::printf("%s English at 96 DPI: the fixed width 75 (%d)\n", width == 75 ? "ok  " : "FAIL", width);
        failures += width == 75 ? 0 : 1;
    }
    WriteBmp(outPath, bi.bmiHeader, bits, static_cast<DWORD>(stride * 4 * height * 4));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return failures ? 1 : 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: acc_probe.exe main|menus|focus|tray TITLE | own-tray LANGUAGE_XML\n");
        return 2;
    }
    if (std::wstring(argv[1]) == L"tray-contrast" && argc > 3) return TrayContrast(argv[2], argv[3]);
    if (std::wstring(argv[1]) == L"tray-width" && argc > 5)
        return TrayWidth(argv[2], _wtoi(argv[3]), std::wstring(argv[4]) == L"en", argv[5]);
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
