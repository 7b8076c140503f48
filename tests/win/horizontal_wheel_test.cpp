// Horizontal scrolling's last resort against real windows: a window of a class in no row of
// the class table, with no scroll bar, gets horizontal wheel notches, whether it handles them
// or not; a list view still gets the class table's treatment.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "actions/cfunction.h"
#include "settings/settings_images.h"
#include "win/probe_window.h"
#include "win32/win32_platform.h"

namespace mv::wintest {
namespace {

struct Seen {
    HWND window;
    UINT message;
    WPARAM wParam;
};
std::vector<Seen> g_seen;

bool Recorded(UINT message) { return message == WM_MOUSEHWHEEL || message == WM_MOUSEWHEEL || message == WM_HSCROLL; }

// Handles the notches itself (records them and answers 0, as a program that scrolls).
LRESULT CALLBACK HandlingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (Recorded(message)) {
        g_seen.push_back({window, message, wParam});
        if (message == WM_MOUSEHWHEEL) return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Knows nothing of them: records what arrives and leaves everything to the default procedure.
LRESULT CALLBACK IgnoringProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (Recorded(message)) g_seen.push_back({window, message, wParam});
    return DefWindowProcW(window, message, wParam, lParam);
}

WNDPROC g_listProc = nullptr;
LRESULT CALLBACK ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (Recorded(message)) g_seen.push_back({window, message, wParam});
    return CallWindowProcW(g_listProc, window, message, wParam, lParam);
}

HWND Make(const wchar_t* className, WNDPROC proc, DWORD style, HWND parent, int x, int y, int w, int h) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = className;
    RegisterClassW(&wc);
    return CreateWindowExW(0, className, L"wheel", style | WS_VISIBLE, x, y, w, h, parent, nullptr, wc.hInstance,
                           nullptr);
}

class RealWheel : public ::testing::Test {
protected:
    void SetUp() override { g_seen.clear(); }
    void TearDown() override {
        for (auto it = made.rbegin(); it != made.rend(); ++it) DestroyWindow(*it);
        PumpThreadMessages(20);
    }
    HWND keep(HWND window) {
        made.push_back(window);
        return window;
    }
    // The pointer on `window`'s centre, its top-level window in the foreground, `window` focused.
    void PointAt(HWND window) {
        RECT r{};
        GetWindowRect(window, &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        HWND top = GetAncestor(window, GA_ROOT);
        for (int i = 0; i < 20 && (GetForegroundWindow() != top || GetFocus() != window); ++i) {
            SetForegroundWindow(top);
            SetFocus(window);
            PumpThreadMessages(50);
        }
        ASSERT_EQ(GetFocus(), window);
        ASSERT_EQ(WindowFromPoint(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}), window);
    }
    // The wheel deltas of `message` that `window` received, in order.
    static std::vector<int> Deltas(HWND window, UINT message) {
        std::vector<int> deltas;
        for (const auto& s : g_seen)
            if (s.window == window && s.message == message) deltas.push_back(GET_WHEEL_DELTA_WPARAM(s.wParam));
        return deltas;
    }
    static std::size_t Count(HWND window, UINT message) { return Deltas(window, message).size(); }

    std::vector<HWND> made;
    Win32Input input;
    Win32Desktop desktop;
    Win32System system;
    MacroStore macros;
    ActionContext context{input, desktop, system, macros, nullptr};
    CFunction function{context};
};

TEST_F(RealWheel, AnUnlistedWindowWithoutScrollBarsGetsOneNotchPerStep) {
    HWND w = keep(Make(L"MvModernView", HandlingProc, WS_OVERLAPPEDWINDOW, nullptr, 120, 120, 400, 300));
    PointAt(w);
    function.ScrollHorizontal(-3);  // code 17, scroll right
    PumpThreadMessages(300);
    EXPECT_EQ(Deltas(w, WM_MOUSEHWHEEL), (std::vector<int>{120, 120, 120}));
    g_seen.clear();
    function.ScrollHorizontal(+3);  // code 16, scroll left
    PumpThreadMessages(300);
    EXPECT_EQ(Deltas(w, WM_MOUSEHWHEEL), (std::vector<int>{-120, -120, -120}));
    EXPECT_EQ(Count(w, WM_HSCROLL), 0u);
    EXPECT_EQ(Count(w, WM_MOUSEWHEEL), 0u);
}

// A window that knows nothing of the notches gets them all the same and leaves them to the
// default procedure: nothing else arrives (no line step, no vertical notch), nothing moves.
TEST_F(RealWheel, AWindowThatDoesNotHandleTheNotchesGetsThemAndNothingElse) {
    HWND parent = keep(Make(L"MvWheelFrame", HandlingProc, WS_OVERLAPPEDWINDOW, nullptr, 120, 120, 400, 300));
    HWND child = Make(L"MvOldView", IgnoringProc, WS_CHILD, parent, 0, 0, 380, 250);
    PointAt(child);
    function.ScrollHorizontal(-3);
    PumpThreadMessages(300);
    EXPECT_EQ(Deltas(child, WM_MOUSEHWHEEL), (std::vector<int>{120, 120, 120}));
    EXPECT_EQ(g_seen.size(), 3u) << "more than the three notches arrived";
    RECT r{};
    GetWindowRect(child, &r);
    POINT corner{r.left, r.top};
    ScreenToClient(parent, &corner);
    EXPECT_EQ(corner.x, 0);
    EXPECT_EQ(corner.y, 0);
}

// A list view is in no row of the table but has a horizontal scroll bar: it gets the window
// messages of the class table (three line steps to the right, sent) and its columns move; the
// wheel is never turned.
TEST_F(RealWheel, AListViewStillGetsTheLineStepsOfTheClassTable) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&controls));
    HWND frame = keep(Make(L"MvListFrame", HandlingProc, WS_OVERLAPPEDWINDOW, nullptr, 120, 120, 420, 320));
    // The system's list view class, not a same-named class of this program.
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 400, 280, frame,
                                nullptr, GetModuleHandleW(L"comctl32.dll"), nullptr);
    ASSERT_NE(list, nullptr);
    wchar_t name[64] = {};
    GetClassNameW(list, name, 64);
    ASSERT_STREQ(name, L"SysListView32");
    for (int i = 0; i < 6; ++i) {
        wchar_t caption[] = L"Column";
        LVCOLUMNW column{};
        column.mask = LVCF_WIDTH | LVCF_TEXT;
        column.cx = 200;
        column.pszText = caption;
        SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    wchar_t row[] = L"row";
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.pszText = row;
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    PumpThreadMessages(100);
    ASSERT_TRUE(GetWindowLongW(list, GWL_STYLE) & WS_HSCROLL) << "the columns do not overflow";
    g_listProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListProc)));
    PointAt(list);
    const int before = GetScrollPos(list, SB_HORZ);

    function.ScrollHorizontal(-3);
    PumpThreadMessages(300);
    std::vector<WORD> steps;
    for (const auto& s : g_seen)
        if (s.window == list && s.message == WM_HSCROLL) steps.push_back(LOWORD(s.wParam));
    EXPECT_EQ(steps, (std::vector<WORD>{SB_LINERIGHT, SB_LINERIGHT, SB_LINERIGHT}));
    EXPECT_GT(GetScrollPos(list, SB_HORZ), before) << "the list did not move";
    EXPECT_EQ(Count(list, WM_MOUSEHWHEEL), 0u);
    EXPECT_EQ(Count(frame, WM_MOUSEHWHEEL), 0u);
    SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_listProc));
}

}  // namespace
}  // namespace mv::wintest
