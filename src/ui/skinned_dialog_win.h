// What every skinned dialog shares (the pointer and restore dialogs, the editors): the skin
// sheets that give its size, place and picture; a press on its background moves it (it
// has no caption bar); the keyboard; and each showing can read afresh.
//
// The keyboard: Tab and Shift+Tab go round the stops the dialog registers (AddKeyStop), the
// first one focused at each showing; Space presses a focused button and switches a focused
// toggle, Enter presses a button the keys focused and is OK elsewhere, Escape cancels; the arrows, Home, End, Page Up and
// Page Down move a focused slider; Alt and a button's access key press it (the key alone in a
// dialog without a text stop). The focus frame and the access keys show once a key was used
// here or in the owner: the dialog answers WM_QUERYUISTATE itself.
//
// A dialog is laid out for the DPI of the window it belongs to (its owner, the settings
// window): when that has changed by the time it is shown again, or when the dialog itself is
// moved to a monitor of another DPI (WM_DPICHANGED), it takes that DPI's sheets and lays its
// controls out again.
#pragma once

#include <windows.h>

#include <string>

#include <vector>

#include "framework/wnd.h"
#include "ui/keyboard_model.h"
#include "ui/skin_draw_win.h"

namespace mv {

class CSkinnedDialog : public fw::CDialog {
public:
    using fw::CDialog::CDialog;

    // The folder that holds skins\ (the executable's directory unless set before Create).
    void SetProgramDirectory(const std::wstring& directory) { programDirectory_ = directory; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool PreTranslateMessage(MSG* msg) override;

    int dpi() const { return dpi_; }
    // Whether the focus frame and the access keys show (a key was used).
    bool keyboardCues() const { return keyboardCues_; }

    // Moves the focus to the next stop (the previous with `backwards`); the cues show.
    void MoveFocus(bool backwards);

protected:
    // Loads the three sheets from the skin folder for the owner's DPI and gives the window the
    // normal sheet's size, centred in the full-screen area; the window's left edge.
    int LoadSheets(const wchar_t* normal, const wchar_t* over, const wchar_t* down);
    // Puts every control at its place for dpi() with its pictures (after the sheets changed).
    virtual void LayOut() {}
    // Loads what the dialog has of its own for dpi() besides the sheets.
    virtual void LoadPictures() {}
    // A 96-DPI rectangle or figure at the dialog's DPI.
    RECT Scaled(const RECT& rect96) const;
    int Scaled(int value96) const;
    // Enter, and OK.
    virtual void OnOk() = 0;
    // Escape, a close request (WM_CLOSE, Alt+F4), cancel and close.
    virtual void OnCancel() = 0;
    // A press at `y` (client coordinates) on the background moves the window.
    virtual bool MovesFrom(int /*y*/) const { return true; }
    // Each time the dialog is about to be shown.
    virtual void OnShowing() {}
    // The window is being destroyed: free what was loaded.
    virtual void FreeImages() { sheets_.Reset(); }
    // A stop of the keyboard, after the ones added before it.
    void AddKeyStop(HWND window, DialogControl kind);
    // A key that moves the slider stop `slider`.
    virtual void OnSliderKey(HWND /*slider*/, SliderKey /*key*/) {}
    // The cues show from now on; the controls draw them.
    void ShowKeyboardCues();
    // Hides the dialog and gives the activation back to its owner when it had it (without a
    // window manager Wine can leave the focus in the hidden dialog).
    void Hide();

    SkinSheets sheets_;
    std::wstring programDirectory_;

private:
    // Another DPI: the sheets and pictures for it, the size of the new normal sheet at
    // `corner` (or centred when there is none), and the controls laid out again.
    void Rescale(int dpi, const POINT* corner);
    int OwnerDpi() const;
    // One key message for the dialog or a control in it; true when it was used.
    bool OnKey(const MSG& msg);
    std::vector<DialogStop> KeyStops() const;
    int StopIndex(HWND window) const;
    // The click of a button or toggle, as the pointer gives it.
    void Press(HWND control);
    void FocusFirstStop();

    struct KeyStop {
        HWND window;
        DialogControl kind;
    };
    std::vector<KeyStop> stops_;
    // The control the keys last gave the focus: Enter presses it while it keeps the focus; a
    // button the pointer focused leaves Enter to OK, as before.
    HWND keyFocus_ = nullptr;
    bool keyboardCues_ = false;
    int dpi_ = 96;
    std::wstring sheetNames_[3];
};

}  // namespace mv
