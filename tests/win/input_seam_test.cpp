// The real input seam under Wine: injected events reach a probe window with the
// flags the actions give them.
#include <gtest/gtest.h>

#include "actions/cfunction.h"
#include "actions/input_codes.h"
#include "settings/settings_images.h"
#include "win/probe_window.h"
#include "win32/win32_platform.h"

namespace mv::wintest {
namespace {

struct Real {
    Win32Input input;
    Win32Desktop desktop;
    Win32System system;
    MacroStore macros;
    ActionContext context{input, desktop, system, macros};
    CFunction function{context};
};

// Low-level hooks see the injected events with their flags before any window does.
std::vector<KBDLLHOOKSTRUCT> g_keys;
std::vector<std::pair<WPARAM, MSLLHOOKSTRUCT>> g_mouse;

LRESULT CALLBACK KeyboardHook(int code, WPARAM w, LPARAM l) {
    if (code == HC_ACTION) g_keys.push_back(*reinterpret_cast<KBDLLHOOKSTRUCT*>(l));
    return CallNextHookEx(nullptr, code, w, l);
}
LRESULT CALLBACK MouseHook(int code, WPARAM w, LPARAM l) {
    if (code == HC_ACTION && w != WM_MOUSEMOVE) g_mouse.push_back({w, *reinterpret_cast<MSLLHOOKSTRUCT*>(l)});
    return CallNextHookEx(nullptr, code, w, l);
}

class InputSeam : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(probe.activate()) << "probe window did not get the keyboard focus";
        probe.clear();
        g_keys.clear();
        g_mouse.clear();
    }
    ProbeWindow probe;
    Real real;
};

TEST_F(InputSeam, ShortcutArrivesAsOrderedKeyDownUpPairs) {
    real.function.SendCopy();
    probe.pumpUntil(4, 2000);
    EXPECT_EQ(KeyLines(probe.received), (std::vector<std::string>{"down 11", "down 43", "up 43", "up 11"}));
    // Extended flag on every event (bit 24), transition bits on the releases.
    ASSERT_EQ(probe.received.size(), 4u);
    for (const auto& m : probe.received) EXPECT_TRUE(m.lParam & (1 << 24)) << std::hex << m.lParam;
    EXPECT_EQ(static_cast<DWORD>(probe.received[2].lParam) & 0xC0000000u, 0xC0000000u);
    EXPECT_EQ(static_cast<DWORD>(probe.received[1].lParam) & 0xC0000000u, 0u);
}

TEST_F(InputSeam, HookSeesInjectedKeysWithTheirFlags) {
    HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardHook, GetModuleHandleW(nullptr), 0);
    ASSERT_NE(hook, nullptr);
    real.function.SwitchTask();  // Alt down (ext), Tab down (plain), Tab up (plain), Alt up (ext) ...
    probe.pump(300);
    UnhookWindowsHookEx(hook);
    ASSERT_GE(g_keys.size(), 4u);
    EXPECT_EQ(g_keys[0].vkCode, 0xA4u);
    EXPECT_TRUE(g_keys[0].flags & LLKHF_EXTENDED);
    EXPECT_TRUE(g_keys[0].flags & LLKHF_INJECTED);
    EXPECT_EQ(g_keys[1].vkCode, 0x09u);
    EXPECT_FALSE(g_keys[1].flags & LLKHF_EXTENDED);
    EXPECT_FALSE(g_keys[1].flags & LLKHF_UP);
    EXPECT_EQ(g_keys[2].vkCode, 0x09u);
    EXPECT_TRUE(g_keys[2].flags & LLKHF_UP);
    EXPECT_EQ(g_keys[3].vkCode, 0xA4u);
    EXPECT_TRUE(g_keys[3].flags & LLKHF_UP);
}

TEST_F(InputSeam, MiddleClickAndWheelReachTheWindowUnderThePointer) {
    RECT r;
    GetWindowRect(probe.handle(), &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    probe.pump(50);
    HHOOK hook = SetWindowsHookExW(WH_MOUSE_LL, MouseHook, GetModuleHandleW(nullptr), 0);
    ASSERT_NE(hook, nullptr);
    probe.clear();
    real.function.SendMiddleClick();
    real.function.SendWheel(-120);
    probe.pumpUntil(3, 2000);
    UnhookWindowsHookEx(hook);

    std::vector<UINT> messages;
    for (const auto& m : probe.received) messages.push_back(m.message);
    EXPECT_EQ(messages, (std::vector<UINT>{WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MOUSEWHEEL}));
    ASSERT_EQ(probe.received.size(), 3u);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(probe.received[2].wParam), -120);

    ASSERT_EQ(g_mouse.size(), 3u);
    EXPECT_EQ(g_mouse[0].first, static_cast<WPARAM>(WM_MBUTTONDOWN));
    EXPECT_TRUE(g_mouse[0].second.flags & LLMHF_INJECTED);
    EXPECT_EQ(static_cast<short>(HIWORD(g_mouse[2].second.mouseData)), -120);
}

TEST_F(InputSeam, XButtonsCarryTheirButtonNumber) {
    RECT r;
    GetWindowRect(probe.handle(), &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    probe.pump(50);
    probe.clear();
    real.function.SendXButton1Click();
    real.function.SendXButton2Click();
    probe.pumpUntil(4, 2000);
    ASSERT_EQ(probe.received.size(), 4u);
    EXPECT_EQ(probe.received[0].message, static_cast<UINT>(WM_XBUTTONDOWN));
    EXPECT_EQ(GET_XBUTTON_WPARAM(probe.received[0].wParam), XBUTTON1);
    EXPECT_EQ(probe.received[3].message, static_cast<UINT>(WM_XBUTTONUP));
    EXPECT_EQ(GET_XBUTTON_WPARAM(probe.received[3].wParam), XBUTTON2);
}

TEST_F(InputSeam, PostedKeyCarriesScanCodeAndExtendedBit) {
    real.function.PostKeyToWindow(reinterpret_cast<WindowHandle>(probe.handle()), 0, kVkLeft);
    real.function.PostKeyToWindow(reinterpret_cast<WindowHandle>(probe.handle()), 0, 'A');
    probe.pumpUntil(4, 2000);
    ASSERT_EQ(probe.received.size(), 4u);
    const UINT scanLeft = MapVirtualKeyW(VK_LEFT, 0) & 0xFF;
    EXPECT_EQ(probe.received[0].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(static_cast<DWORD>(probe.received[0].lParam), (scanLeft << 16) | 1u | 0x01000000u);
    EXPECT_EQ(static_cast<DWORD>(probe.received[1].lParam), (scanLeft << 16) | 1u | 0x01000000u | 0xC0000000u);
    EXPECT_EQ(probe.received[2].wParam, static_cast<WPARAM>('A'));
    EXPECT_EQ(static_cast<DWORD>(probe.received[2].lParam) & 0x01000000u, 0u);
}

}  // namespace
}  // namespace mv::wintest
