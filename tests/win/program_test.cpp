// The real MorviCorvelConfig.exe under Wine: it starts hidden, runs the default
// functions of gesture events posted to its main window, and exits cleanly.
#include <gtest/gtest.h>

#include <string>

#include "win/program_support.h"

namespace mv::wintest {
namespace {

constexpr UINT kGestureEvent = 0x7EB;
constexpr WPARAM kExitCommand = 0x6001;

TEST(Program, StartsHiddenRunsGestureDefaultsAndExitsCleanly) {
    ProbeWindow probe;
    ASSERT_TRUE(probe.activate());
    RunningProgram program;
    ASSERT_TRUE(program.started()) << GetLastError();
    HWND main = WaitForMainWindow(probe, program.processId());
    ASSERT_NE(main, nullptr) << "no window titled with the program title";
    EXPECT_FALSE(IsWindowVisible(main));

    RECT r;
    GetWindowRect(probe.handle(), &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ASSERT_TRUE(probe.activate());
    probe.clear();

    PostMessageW(main, kGestureEvent, 0x00008004, 0);  // three-finger click: middle click
    PostMessageW(main, kGestureEvent, 0x00008002, 0);  // double-click gesture: right click
    PostMessageW(main, kGestureEvent, 0x50005708, 0);  // unlisted: nothing
    probe.pumpUntil(4, 3000);
    std::vector<UINT> buttons;
    for (const auto& m : probe.received) buttons.push_back(m.message);
    EXPECT_EQ(buttons, (std::vector<UINT>{WM_MBUTTONDOWN, WM_MBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP}));

    // Ctrl report then a wheel step at once: a zoom step, which on Windows 7 is Win and numpad plus.
    ASSERT_TRUE(probe.activate());
    probe.clear();
    PostMessageW(main, kGestureEvent, 0x80000001, 0);
    PostMessageW(main, kGestureEvent, 0x00000101, 0);
    probe.pumpUntil(4, 3000);
    EXPECT_EQ(KeyLines(probe.received), (std::vector<std::string>{"down 5B", "down 6B", "up 6B", "up 5B"}));

    PostMessageW(main, WM_COMMAND, kExitCommand, 0);
    ASSERT_EQ(WaitForSingleObject(program.process(), 10000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(program.process(), &code);
    EXPECT_EQ(code, 0u);
}

TEST(Program, SecondInstanceActivatesTheFirstAndLeaves) {
    ProbeWindow probe;
    RunningProgram first;
    ASSERT_TRUE(first.started());
    HWND main = WaitForMainWindow(probe, first.processId());
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(IsWindowVisible(main));

    RunningProgram second;
    ASSERT_TRUE(second.started());
    ASSERT_EQ(WaitForSingleObject(second.process(), 10000), WAIT_OBJECT_0);
    for (int i = 0; i < 40 && !IsWindowVisible(main); ++i) probe.pump(50);
    EXPECT_TRUE(IsWindowVisible(main));

    PostMessageW(main, WM_COMMAND, kExitCommand, 0);
    EXPECT_EQ(WaitForSingleObject(first.process(), 10000), WAIT_OBJECT_0);
}

}  // namespace
}  // namespace mv::wintest
