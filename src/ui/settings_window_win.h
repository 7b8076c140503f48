// The visible side of the main window: the skinned controls, the three gesture pages,
// the animation of the selected gesture, the function menu, and what their clicks do.
// The main window owns one and forwards WM_CREATE, WM_PAINT, WM_COMMAND, the function
// choice and the keyboard filter to it.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "framework/wnd.h"
#include "gesture/function_record.h"
#include "ui/bitmap_btn_win.h"
#include "ui/bmp_menu_win.h"
#include "ui/picture_ex_win.h"
#include "ui/skin_draw_win.h"
#include "ui/skin_picture_win.h"

namespace mv {

class SettingsWindow {
public:
    SettingsWindow(fw::CWnd& host, FunctionRecordArray& records) : host_(host), records_(records) {}
    ~SettingsWindow();

    // After the default WM_CREATE processing: sheets, size and place, every control.
    void Create();
    void Paint();
    // The source of a command is found by its window handle (every control has ID 0).
    void OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_FUNCTION_CHOSEN: close the menu, show the name, store the code in CurrentSlot's record.
    void OnFunctionChosen(LPARAM lParam);
    // Enter and Escape are consumed; Alt+F4 shows the window and is consumed.
    bool PreTranslateMessage(const MSG* msg);
    void ShowFunctionName(int actionCode);
    // Loads the slot's animation; it plays only while the window is on screen.
    void ShowGestureAnimation(int slot);
    // The window was shown, hidden, minimized or restored: the animation plays only while it
    // is on screen, so that the hidden program does not wake for frames nobody sees.
    void OnVisibilityChanged(bool onScreen);
    void SwitchPage(int page);  // 1..3
    void SelectGesture(int slot);
    void OpenFunctionMenu();
    void CloseFunctionMenu();
    // Frees the sheets (the window is being destroyed).
    void FreeSkins();

    std::function<void()> onApply;
    HWND resetDialog = nullptr;
    HWND pointerDialog = nullptr;
    int CurrentSlot = 0;

    // For tests and screenshots.
    HWND closeButton() const { return close_.GetSafeHwnd(); }
    HWND applyButton() const { return apply_.GetSafeHwnd(); }
    HWND functionButton() const { return function_.GetSafeHwnd(); }
    HWND gestureButton(int slot) const { return gestures_[slot].GetSafeHwnd(); }
    HWND pageTab(int page) const { return tabs_[page - 1].GetSafeHwnd(); }
    const std::wstring& functionText() const { return functionText_; }
    CBmpMenu* functionMenu() const { return menu_.get(); }

private:
    void CreateButton(CBitmapBtn& button, const RECT& rect);

    fw::CWnd& host_;
    FunctionRecordArray& records_;
    std::wstring directory_;
    SkinSheets main_;
    SkinPicture pages_[3][3];
    CBitmapBtn close_, minimize_, reset_, apply_, version_, function_, pointer_;
    std::array<CBitmapBtn, 3> tabs_;
    std::array<RECT, 3> tabText_{};
    std::array<CBitmapBtn, kSlotCount> gestures_;
    CPictureEx animation_;
    std::unique_ptr<CBmpMenu> menu_;
    bool playing_ = false;
    std::wstring functionText_;
};

}  // namespace mv
