// What every skinned dialog shares (the pointer and restore dialogs, the editors): the skin
// sheets that give its size, place and picture; a press on its background moves it (it
// has no caption bar); Escape cancels and Enter confirms; and each showing can read afresh.
#pragma once

#include <windows.h>

#include <string>

#include "framework/wnd.h"
#include "ui/skin_draw_win.h"

namespace mv {

class CSkinnedDialog : public fw::CDialog {
public:
    using fw::CDialog::CDialog;

    // The folder that holds skins\ (the executable's directory unless set before Create).
    void SetProgramDirectory(const std::wstring& directory) { programDirectory_ = directory; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool PreTranslateMessage(MSG* msg) override;

protected:
    // Loads the three sheets from the skin folder and gives the window the normal sheet's
    // size, centred in the full-screen area; the window's left edge.
    int LoadSheets(const wchar_t* normal, const wchar_t* over, const wchar_t* down);
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

    SkinSheets sheets_;
    std::wstring programDirectory_;
};

}  // namespace mv
