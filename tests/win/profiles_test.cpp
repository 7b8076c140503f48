// Per-program profiles in the real program with the stand-in driver: a profile for Wine's
// notepad overrides one gesture. Runs with the Shell tests (tests/win/run-shell.sh).
#include <gtest/gtest.h>

#include <algorithm>

#include "settings/profiles.h"
#include "settings/settings_images.h"
#include "settings/settings_store.h"
#include "win/program_support.h"
#include "win32/win32_platform.h"

namespace mv::wintest {
namespace {

std::vector<UINT> g_buttons;  // injected button downs seen by the low-level hook

LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* info = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        if ((info->flags & LLMHF_INJECTED) &&
            (wParam == WM_LBUTTONDOWN || wParam == WM_RBUTTONDOWN || wParam == WM_MBUTTONDOWN))
            g_buttons.push_back(static_cast<UINT>(wParam));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void Write(const std::wstring& key, const wchar_t* value, DWORD type, const void* data, DWORD size) {
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr), 0);
    ASSERT_EQ(RegSetValueExW(k, value, 0, type, static_cast<const BYTE*>(data), size), 0);
    RegCloseKey(k);
}

struct TopWindowOf {
    DWORD process;
    HWND found = nullptr;
};
BOOL CALLBACK FindTop(HWND w, LPARAM data) {
    auto* t = reinterpret_cast<TopWindowOf*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == t->process && IsWindowVisible(w) && !GetWindow(w, GW_OWNER)) {
        t->found = w;
        return FALSE;
    }
    return TRUE;
}

class ShellProfiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(Touchsim(L"fail 0").exitCode, 0u) << "stand-in driver not installed";
        ASSERT_EQ(Touchsim(L"plug").exitCode, 0u);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Morvi\\MVSET");
        hook_ = SetWindowsHookExW(WH_MOUSE_LL, MouseHook, GetModuleHandleW(nullptr), 0);
    }
    void TearDown() override {
        if (hook_) UnhookWindowsHookEx(hook_);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Morvi\\MVSET");
    }
    // The button the gesture `code` injects, seen by the hook.
    UINT Gesture(const wchar_t* code) {
        g_buttons.clear();
        if (Touchsim(std::wstring(L"push ") + code).exitCode != 0) return 0;
        PumpUntil(probe, 3000, [] { return !g_buttons.empty(); });
        probe.pump(200);
        return g_buttons.size() == 1 ? g_buttons[0] : 0;
    }
    ProbeWindow probe;
    HHOOK hook_ = nullptr;
};

TEST_F(ShellProfiles, NotepadsProfileDecidesItsOverriddenGestureWhileNotepadIsInFront) {
    ASSERT_NE(hook_, nullptr);
    // All programs: three-finger left (slot 12) is a middle click. Notepad's profile:
    // three-finger click (slot 11) is a right click; slot 12 left to All programs, though
    // the profile's own record holds something else there.
    ButtonSettingBlob all{};
    ResetRecordsToDefaults(all.records);
    all.records[12].setActionCode(3);
    Write(ToWide(kButtonSetting.key), L"ButtonSetting", REG_BINARY, &all, sizeof all);
    ButtonSettingBlob notepad = all;
    notepad.records[11].setActionCode(2);
    notepad.records[12].setActionCode(1);
    const DWORD overrides = SlotBit(11);
    const std::wstring key = ToWide(kProfilesKey) + L"\\NOTEPAD.EXE";
    Write(key, L"ButtonSetting", REG_BINARY, &notepad, sizeof notepad);
    Write(key, L"Overrides", REG_DWORD, &overrides, sizeof overrides);

    Touchsim(L"clear");
    RunningProgram program;
    ASSERT_TRUE(program.started());
    HWND main = WaitForMainWindow(probe, program.processId());
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(PumpUntil(probe, 10000, [&] { return TouchsimClientProcess() == program.processId(); }));
    // The device reports the union: slot 11 (the profile's) and slot 12 (All programs').
    auto requests = TouchsimRequests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.back().substr(0, 15), "mode 0x0000018c") << requests.back();

    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    wchar_t command[] = L"notepad.exe";
    ASSERT_TRUE(CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    TopWindowOf notepadWindow{pi.dwProcessId};
    PumpUntil(probe, 10000, [&] {
        notepadWindow.found = nullptr;
        EnumWindows(FindTop, reinterpret_cast<LPARAM>(&notepadWindow));
        return notepadWindow.found != nullptr;
    });
    ASSERT_NE(notepadWindow.found, nullptr);
    SetForegroundWindow(notepadWindow.found);
    RECT r{};
    GetWindowRect(notepadWindow.found, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ASSERT_TRUE(PumpUntil(probe, 3000, [&] { return GetForegroundWindow() == notepadWindow.found; }));

    // Notepad in front: the overridden gesture runs the profile's function, the other one All programs'.
    EXPECT_EQ(Gesture(L"0x8008"), static_cast<UINT>(WM_MBUTTONDOWN));
    EXPECT_EQ(Gesture(L"0x8004"), static_cast<UINT>(WM_RBUTTONDOWN));
    keybd_event(VK_ESCAPE, 0, 0, 0);  // notepad's context menu
    keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
    probe.pump(300);

    // Another program in front: All programs decides both.
    ASSERT_TRUE(CentreCursorOn(probe));
    EXPECT_EQ(Gesture(L"0x8004"), static_cast<UINT>(WM_MBUTTONDOWN));
    EXPECT_EQ(Gesture(L"0x8008"), static_cast<UINT>(WM_MBUTTONDOWN));

    TerminateProcess(pi.hProcess, 0);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    PostMessageW(main, WM_COMMAND, 0x6001, 0);
    EXPECT_EQ(program.waitExit(10000), 0u);
}

}  // namespace
}  // namespace mv::wintest
