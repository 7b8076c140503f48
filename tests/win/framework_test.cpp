// The window-class layer under Wine: routing to virtual handlers from the first
// message on, owner-draw reflection to controls and menus, dialogs and the modal loop.
#include <gtest/gtest.h>

#include <vector>

#include "framework/wnd.h"

namespace mv::fw {
namespace {

class RecordingDialog : public CDialog {
public:
    RecordingDialog() : CDialog(900) {}
    std::vector<UINT> seen;
    bool initialised = false;
    bool destroyedAfterInit = false;
    BOOL OnInitDialog() override {
        initialised = true;
        return TRUE;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CREATE || message == WM_INITDIALOG || message == WM_DESTROY || message == WM_APP)
            seen.push_back(message);
        if (message == WM_CREATE) {
            const LRESULT r = CDialog::WindowProc(message, wParam, lParam);
            child.Create(L"child", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, RECT{5, 5, 60, 30}, hwnd_, 0);
            return r;
        }
        if (message == WM_APP) {
            DestroyWindow();
            return 0;
        }
        return CDialog::WindowProc(message, wParam, lParam);
    }

    class Child : public CButton {
    public:
        int drawn = 0;
        void DrawItem(DRAWITEMSTRUCT* dis) override {
            ++drawn;
            FillRect(dis->hDC, &dis->rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        }
    } child;
};

void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < ms) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!PreTranslate(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        Sleep(5);
    }
}

TEST(Framework, DialogSeesCreateBeforeInitAndReflectsOwnerDrawToItsControl) {
    RecordingDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    ASSERT_TRUE(dialog.initialised);
    EXPECT_EQ(CWnd::FromHandle(dialog.GetSafeHwnd()), &dialog);
    ASSERT_GE(dialog.seen.size(), 1u);
    EXPECT_EQ(dialog.seen[0], static_cast<UINT>(WM_CREATE));
    EXPECT_FALSE(dialog.IsWindowVisible());

    dialog.ShowWindow(SW_SHOW);
    UpdateWindow(dialog);
    Pump(100);
    EXPECT_GE(dialog.child.drawn, 1);

    // The modal loop returns once the window is gone.
    PostMessageW(dialog, WM_APP, 0, 0);
    dialog.RunModalLoop();
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
    EXPECT_EQ(dialog.seen.back(), static_cast<UINT>(WM_DESTROY));
    EXPECT_EQ(dialog.child.GetSafeHwnd(), nullptr);
}

class MeasuredMenu : public CMenu {
public:
    int measured = 0;
    void MeasureItem(MEASUREITEMSTRUCT* mis) override {
        ++measured;
        mis->itemWidth = 75;
        mis->itemHeight = 22;
    }
};

void CALLBACK CloseMenuSoon(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
}

TEST(Framework, MenusAreFoundByHandleAndMeasuredThroughTheOwner) {
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"owner", WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100}, nullptr, 0));
    MeasuredMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    EXPECT_EQ(CMenu::FromHandle(menu.GetSafeHmenu()), &menu);
    static const int item = 1;
    ASSERT_TRUE(menu.AppendMenu(MF_OWNERDRAW, 0x6001, &item));
    SetForegroundWindow(owner);
    // Close the menu shortly after it opens.
    SetTimer(nullptr, 0, 300, &CloseMenuSoon);
    menu.TrackPopupMenu(TPM_RIGHTBUTTON, 10, 10, owner);
    EXPECT_GE(menu.measured, 1);
    HMENU handle = menu.GetSafeHmenu();
    menu.DestroyMenu();
    EXPECT_EQ(CMenu::FromHandle(handle), nullptr);
}

}  // namespace
}  // namespace mv::fw
