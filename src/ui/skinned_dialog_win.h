// What the two skinned dialogs of the settings window share: the skin sheets that give
// their size, place and picture; a press on their background moves them (they have no
// caption bar); Escape cancels and Enter confirms; and each showing can read afresh.
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
    // Each time the dialog is about to be shown.
    virtual void OnShowing() {}
    // The window is being destroyed: free what was loaded.
    virtual void FreeImages() { sheets_.Reset(); }

    SkinSheets sheets_;
    std::wstring programDirectory_;
};

}  // namespace mv
