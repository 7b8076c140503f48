// The visible side of the main window: the skinned controls, the three gesture pages,
// the animation of the selected gesture, the function menu, and what their clicks do.
// The main window owns one and forwards WM_CREATE, WM_PAINT, WM_COMMAND, the function
// choice and the keyboard filter to it.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "framework/wnd.h"
#include "gesture/gesture_session.h"
#include "ui/bitmap_btn_win.h"
#include "ui/bmp_menu_win.h"
#include "ui/editors/custom_functions_win.h"
#include "ui/gesture_pages.h"
#include "ui/keyboard_model.h"
#include "ui/picture_ex_win.h"
#include "ui/skin_draw_win.h"
#include "ui/skin_picture_win.h"

namespace mv {

class SettingsWindow {
public:
    // The records shown and edited are the session's, of the profile it shows.
    SettingsWindow(fw::CWnd& host, GestureSession& session)
        : customFunctions{&session.macros(), &session.macroNames(), {}}, host_(host), session_(session) {}
    ~SettingsWindow();

    // The folder that holds skins\ (the executable's directory unless set before Create).
    void SetProgramDirectory(const std::wstring& directory) { directory_ = directory; }
    // After the default WM_CREATE processing: sheets, size and place, every control, all for
    // the window's DPI.
    void Create();
    // WM_DPICHANGED: the window takes the suggested place and that DPI's pictures, and lays
    // itself out again; the function menu is made anew at its next opening.
    void ChangeDpi(int dpi, const RECT& suggested);
    // WM_GETDPISCALEDSIZE: the window's size at `dpi`, so that the rectangle WM_DPICHANGED
    // suggests is the new sheet's size.
    SIZE WindowSizeAtDpi(int dpi) const;
    int dpi() const { return dpi_; }
    void Paint();
    // The source of a command is found by its window handle (every control has ID 0).
    void OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_FUNCTION_CHOSEN: close the menu, show the name, store the code in CurrentSlot's record
    // (only while the function button may edit it).
    void OnFunctionChosen(LPARAM lParam);
    // The keyboard: Tab and Shift+Tab move round the stops (keyboard_model.h), the arrows
    // among the tabs and among the tiles, Ctrl+Tab switches pages, Space and Enter press the
    // focused control; on the function button Enter, Space, Alt+Down and F4 open the menu driven
    // by keys. A menu opened with the pointer takes no key (Escape closes it). Escape is consumed;
    // Alt+F4 shows the window and is consumed. The focus is drawn once a key moved it.
    bool PreTranslateMessage(const MSG* msg);
    // The answer to WM_QUERYUISTATE: the focus and the access keys are hidden until a key is used.
    LRESULT UiState() const { return keyboardCues_ ? 0 : UISF_HIDEFOCUS | UISF_HIDEACCEL; }
    // WM_CHANGEUISTATE (the dialog manager clears the hiding on Alt): the cues show from now on.
    void OnChangeUiState(WPARAM wParam);
    // The name of any ActionCode (an unknown one included) on the function button.
    void ShowFunctionName(int actionCode);
    // The function of a record: for a key chord, a program or page and a macro what they
    // hold (the chord's keys, the file name, the address, the macro's name), else its name.
    void ShowFunctionName(const FunctionRecord& record);
    // Loads the slot's animation; it plays only while the window is on screen.
    void ShowGestureAnimation(int slot);
    // The window was shown, hidden, minimized or restored: the animation plays only while it
    // is on screen, so that the hidden program does not wake for frames nobody sees. Leaving
    // the screen closes the function menu; being hidden also hides the two dialogs, which
    // belong to the window.
    void OnVisibilityChanged(bool onScreen);
    // WM_SETTINGCHANGE or WM_SYSCOLORCHANGE (`colours`): the window is drawn again with high
    // contrast as it is now (the function menu, when high contrast or the colours changed, is
    // made anew at its next opening), and the animation follows "show animations".
    void OnSystemLookChanged(bool colours);
    // The window lost the activation (a click anywhere outside it): the menu closes.
    void OnDeactivated();
    // Shows page 1..3 and selects the gesture last selected on it (its first one before).
    void SwitchPage(int page);
    void SelectGesture(int slot);
    void OpenFunctionMenu();
    void CloseFunctionMenu();
    bool FunctionMenuOpen() const { return menu_ && menu_->IsOpen(); }
    // Frees the sheets (the window is being destroyed).
    void FreeSkins();
    // While the window stays hidden it keeps no decoded picture; they come back before it shows.
    void ReleasePictures();
    void RestorePictures();
    bool picturesReleased() const { return released_; }

    std::function<void()> onApply;
    // A function was chosen or edited for the gesture on screen.
    std::function<void()> onRecordEdited;
    // The macros and their names, for the macro editor and the macro's name on the button.
    CustomFunctionData customFunctions;
    // A tile whose gesture the shown profile changes has its caption in the mark colour.
    void MarkGesture(int slot, bool marked, const std::u16string& tooltip);
    // The function button shows the current slot's function again.
    void RefreshFunctionName();
    SkinSheets& sheets() { return main_; }
    // The profile selector's button: one of the keyboard's stops.
    HWND profileButton = nullptr;
    // The restore question and the pointer dialog: the host makes them at their first
    // opening, and hides whichever is up when the window is hidden.
    std::function<void()> openResetDialog, openPointerDialog, hideDialogs;
    int CurrentSlot = 0;

    // For tests and screenshots.
    HWND closeButton() const { return close_.GetSafeHwnd(); }
    HWND applyButton() const { return apply_.GetSafeHwnd(); }
    HWND functionButton() const { return function_.GetSafeHwnd(); }
    HWND gestureButton(int slot) const { return gestures_[slot].GetSafeHwnd(); }
    HWND pageTab(int page) const { return tabs_[page - 1].GetSafeHwnd(); }
    RECT pageTabTextRect(int page) const { return tabs_[page - 1].textRect(); }
    bool gestureLatched(int slot) const { return gestures_[slot].IsLatched() != 0; }
    const std::wstring& functionText() const { return functionText_; }
    const std::wstring& functionCaption() const { return function_.caption(); }
    CBmpMenu* functionMenu() const { return menu_.get(); }
    CPictureEx& gesturePicture() { return animation_; }
    int shownPage() const { return selection_.shownPage(); }
    bool pageSheetsRead(int page) const { return !pages_[page - 1].normal.empty(); }
    // Whether the over sheets (the main one, a page's) still wait for the pointer.
    bool mainOverWaiting() const { return main_.over.waiting(); }
    bool pageOverWaiting(int page) const { return pages_[page - 1].over.waiting(); }

private:
    void PlaceButton(CBitmapBtn& button, const RECT& rect96);
    void LoadSheets();
    void LoadPageSheets(int page);
    void LayOut();
    const FunctionRecord& ShownRecord(int slot) const { return session_.ShownRecord(slot); }
    void ReleaseFunctionMenu();
    bool OnKeyDown(UINT key, bool alt);
    HWND StopWindow(FocusStop stop) const;
    std::optional<FocusStop> StopOf(HWND window) const;
    int TileOf(HWND window) const;
    int TabOf(HWND window) const;
    void OpenMenuFromKeyboard();
    void ShowKeyboardCues();
    // "Function: <name>": the button's caption alone says nothing to someone who cannot see it.
    void NameFunctionButton(const std::u16string& function);

    fw::CWnd& host_;
    GestureSession& session_;
    std::wstring directory_;
    int dpi_ = 96;
    SkinSheets main_;
    SkinSheets pages_[3];
    CBitmapBtn close_, minimize_, reset_, apply_, version_, function_, pointer_;
    std::array<CBitmapBtn, 3> tabs_;
    std::array<CBitmapBtn, kSlotCount> gestures_;
    CPictureEx animation_;
    GesturePages selection_;
    std::unique_ptr<CBmpMenu> menu_;
    bool playing_ = false;
    bool contrast_ = false;  // high contrast as the function menu was made for it
    bool released_ = false;
    bool keyboardCues_ = false;
    std::wstring functionText_;
};

}  // namespace mv
