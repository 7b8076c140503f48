// Scrolling, player control and macros against real windows: windows of the
// listed classes under the pointer, a stand-in player process, the foreground
// stop test of a macro.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "actions/cfunction.h"
#include "base/bytes.h"
#include "settings/settings_images.h"
#include "win/probe_window.h"
#include "win32/win32_platform.h"

namespace mv::wintest {
namespace {

struct Seen {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Seen> g_seen;

LRESULT CALLBACK RecordProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HSCROLL || message == WM_KEYDOWN || message == WM_KEYUP)
        g_seen.push_back({window, message, wParam, lParam});
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeWindow(const wchar_t* className, DWORD style, HWND parent, int x, int y, int w, int h) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = RecordProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = className;
    RegisterClassW(&wc);
    return CreateWindowExW(0, className, L"test", style | WS_VISIBLE, x, y, w, h, parent, nullptr, wc.hInstance,
                           nullptr);
}

void Pump(DWORD ms) { PumpThreadMessages(ms); }

void PointAtCenter(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    Pump(50);
}

struct Real {
    Win32Input input;
    Win32Desktop desktop;
    Win32System system;
    MacroStore macros;
    std::u16string title = u"Morvi Corvel Config";
    ActionContext context{input, desktop, system, macros, &title};
    CFunction function{context};
};

class RealWindows : public ::testing::Test {
protected:
    void SetUp() override { g_seen.clear(); }
    void TearDown() override {
        for (auto it = made.rbegin(); it != made.rend(); ++it) DestroyWindow(*it);
        Pump(20);
    }
    HWND make(const wchar_t* cls, DWORD style, HWND parent, int x, int y, int w, int h) {
        HWND wnd = MakeWindow(cls, style, parent, x, y, w, h);
        made.push_back(wnd);
        Pump(50);
        return wnd;
    }
    std::vector<Seen> seenBy(HWND window, UINT message) {
        std::vector<Seen> out;
        for (const auto& s : g_seen)
            if (s.window == window && s.message == message) out.push_back(s);
        return out;
    }
    std::vector<HWND> made;
    Real real;
};

TEST_F(RealWindows, MozillaWindowGetsThreeLeftArrowPairs) {
    HWND w = make(L"MozillaWindowClass", WS_OVERLAPPEDWINDOW, nullptr, 100, 100, 400, 300);
    PointAtCenter(w);
    real.function.ScrollHorizontal(+3);
    Pump(200);
    const auto downs = seenBy(w, WM_KEYDOWN);
    const auto ups = seenBy(w, WM_KEYUP);
    ASSERT_EQ(downs.size(), 3u);
    ASSERT_EQ(ups.size(), 3u);
    EXPECT_EQ(downs[0].wParam, static_cast<WPARAM>(VK_LEFT));
    EXPECT_EQ(static_cast<DWORD>(downs[0].lParam), 0x014B0001u);
    EXPECT_EQ(static_cast<DWORD>(ups[2].lParam), 0xC14B0001u);
    EXPECT_TRUE(seenBy(w, WM_HSCROLL).empty());
}

TEST_F(RealWindows, UnlistedClassWithHScrollGetsLineMessages) {
    HWND w = make(L"MvPlainScroller", WS_OVERLAPPEDWINDOW | WS_HSCROLL, nullptr, 100, 100, 400, 300);
    PointAtCenter(w);
    real.function.ScrollHorizontal(+3);
    Pump(200);
    auto lines = seenBy(w, WM_HSCROLL);
    ASSERT_EQ(lines.size(), 3u);
    for (const auto& s : lines) {
        EXPECT_EQ(LOWORD(s.wParam), SB_LINELEFT);
        EXPECT_EQ(s.lParam, 0);
    }
    g_seen.clear();
    real.function.ScrollHorizontal(-3);  // sent: handled before the call returns
    lines = seenBy(w, WM_HSCROLL);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(LOWORD(lines[0].wParam), SB_LINERIGHT);
}

TEST_F(RealWindows, DesktopListViewUnderProgmanIsLeftAlone) {
    HWND progman = make(L"Progman", WS_POPUP, nullptr, 100, 100, 400, 300);
    HWND list = make(L"SysListView32", WS_CHILD | WS_HSCROLL, progman, 0, 0, 400, 300);
    PointAtCenter(list);
    ASSERT_EQ(WindowFromPoint(POINT{300, 250}), list);
    real.function.ScrollHorizontal(+3);
    real.function.ScrollHorizontal(-3);
    Pump(200);
    EXPECT_TRUE(g_seen.empty());
}

TEST_F(RealWindows, ExcelClicksTheScrollBarArrowAndReturnsThePointer) {
    HWND excel = make(L"EXCEL7", WS_POPUP, nullptr, 100, 100, 400, 300);
    HWND bar = CreateWindowExW(0, L"SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | SBS_HORZ, 0, 280, 380, 20, excel,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(bar, nullptr);
    SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_POS, 0, 100, 0, 50, 0};
    SetScrollInfo(bar, SB_CTL, &info, TRUE);
    SetForegroundWindow(excel);
    SetCursorPos(250, 200);
    Pump(100);
    real.function.ScrollHorizontal(+3);
    Pump(500);
    POINT now;
    GetCursorPos(&now);
    EXPECT_EQ(now.x, 250);
    EXPECT_EQ(now.y, 200);
    const auto lines = seenBy(excel, WM_HSCROLL);
    int lineLeft = 0;
    for (const auto& s : lines)
        if (LOWORD(s.wParam) == SB_LINELEFT && reinterpret_cast<HWND>(s.lParam) == bar) ++lineLeft;
    EXPECT_EQ(lineLeft, 3);
    DestroyWindow(bar);
}

void WriteMacro(MacroStore& store, int index, const std::vector<std::array<std::uint32_t, 3>>& steps) {
    std::uint8_t* e = store.entry(index);
    writeLe32(e + 4, 0);
    writeLe16(e + 12, static_cast<std::uint16_t>(steps.size()));
    for (std::size_t i = 0; i < steps.size(); ++i) {
        e[16 + 8 * i] = static_cast<std::uint8_t>(steps[i][0]);
        e[17 + 8 * i] = static_cast<std::uint8_t>(steps[i][1]);
        writeLe32(e + 20 + 8 * i, steps[i][2]);
    }
}

// Activates `own` when the macro waits `markerMs`, as a user switching windows would.
class SwitchingInput : public InputSeam {
public:
    HWND own = nullptr;
    std::uint32_t markerMs = 0;
    Win32Input real;
    void keybdEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags, std::uintptr_t extra) override {
        real.keybdEvent(vk, scan, flags, extra);
    }
    void mouseEvent(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::int32_t data,
                    std::uintptr_t extra) override {
        real.mouseEvent(flags, dx, dy, data, extra);
    }
    std::uint32_t mapVirtualKey(std::uint32_t code, std::uint32_t type) override { return real.mapVirtualKey(code, type); }
    std::uintptr_t messageExtraInfo() override { return real.messageExtraInfo(); }
    bool postMessage(WindowHandle w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) override {
        return real.postMessage(w, m, wp, lp);
    }
    std::intptr_t sendMessage(WindowHandle w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) override {
        return real.sendMessage(w, m, wp, lp);
    }
    bool cursorPos(Point& where) override { return real.cursorPos(where); }
    bool setCursorPos(Point where) override { return real.setCursorPos(where); }
    void sleep(std::uint32_t ms) override {
        real.sleep(ms);
        if (ms == markerMs && own) {
            SetForegroundWindow(own);
            SetFocus(own);
        }
    }
};

TEST(RealMacro, StopsWhenTheProgramsOwnWindowComesToTheForeground) {
    ProbeWindow other(L"MvMacroTarget", L"Editor");
    ProbeWindow own(L"MvOwnWindow", L"Morvi Corvel Config");
    ASSERT_TRUE(other.activate());
    other.clear();
    own.clear();

    SwitchingInput input;
    input.own = own.handle();
    input.markerMs = 77;
    Win32Desktop desktop;
    Win32System system;
    MacroStore macros;
    const std::u16string title = u"Morvi Corvel Config";
    ActionContext context{input, desktop, system, macros, &title};
    CFunction function(context);
    WriteMacro(macros, 4, {{'A', 0, 0}, {'A', 1, 77}, {'B', 0, 0}, {'B', 1, 0}});
    function.PlayMacro(4);
    ASSERT_EQ(GetForegroundWindow(), own.handle());
    other.pump(300);
    std::vector<std::string> all = KeyLines(other.received);
    const auto more = KeyLines(own.received);
    all.insert(all.end(), more.begin(), more.end());
    EXPECT_EQ(all, (std::vector<std::string>{"down 41", "up 41"}));

    // Started with our own window in front, nothing plays at all.
    other.clear();
    own.clear();
    function.PlayMacro(4);
    own.pump(300);
    EXPECT_TRUE(own.received.empty());
    EXPECT_TRUE(other.received.empty());
}

std::wstring ExeDir() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path);
    return dir.substr(0, dir.find_last_of(L"\\/") + 1);
}

TEST(RealPlayers, RunningKwMusicGetsPostedKeysInItsWindow) {
    const std::wstring dir = ExeDir();
    const std::wstring exe = dir + L"mykwmusic.exe";
    const std::wstring logFile = dir + L"mykwmusic.log";
    ASSERT_TRUE(CopyFileW((dir + L"fake_player.exe").c_str(), exe.c_str(), FALSE));
    DeleteFileW(logFile.c_str());
    std::wstring command = L"\"" + exe + L"\" kwmusicmaindlg \"" + logFile + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    HWND player = nullptr;
    for (int i = 0; i < 100 && !player; ++i) {
        Sleep(50);
        player = FindWindowW(L"kwmusicmaindlg", nullptr);
    }
    ASSERT_NE(player, nullptr);

    Real real;
    EXPECT_EQ(real.function.FindRunningPlayers() & kPlayerKwMusic, kPlayerKwMusic);
    real.function.PlayPause();
    real.function.StopPlayback();
    std::string text;
    for (int i = 0; i < 100; ++i) {
        Sleep(50);
        std::ifstream in(logFile.c_str());
        std::stringstream all;
        all << in.rdbuf();
        text = all.str();
        if (std::count(text.begin(), text.end(), '\n') >= 4) break;
    }
    const unsigned scanF5 = MapVirtualKeyW(VK_F5, 0) & 0xFF;
    const unsigned scanF6 = MapVirtualKeyW(VK_F6, 0) & 0xFF;
    char expected[200];
    std::snprintf(expected, sizeof expected, "down 74 %08X\nup 74 %08X\ndown 75 %08X\nup 75 %08X\n",
                  (scanF5 << 16) | 1u, (scanF5 << 16) | 1u | 0xC0000000u, (scanF6 << 16) | 1u,
                  (scanF6 << 16) | 1u | 0xC0000000u);
    EXPECT_EQ(text, expected);

    PostMessageW(player, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 3000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    DeleteFileW(exe.c_str());
    DeleteFileW(logFile.c_str());
}

}  // namespace
}  // namespace mv::wintest
