// CDefaultConfig: the skinned confirmation before the default gesture functions
// are restored. Modeless, created hidden once; OK hides it and posts
// WM_RESTORE_DEFAULTS to the owner window, cancel and close only hide it.
#pragma once

#include <windows.h>

#include <string>

#include "framework/wnd.h"
#include "ui/bitmap_btn_win.h"
#include "ui/skin_draw_win.h"
#include "ui/skin_picture_win.h"

namespace mv {

class CDefaultConfig : public fw::CDialog {
public:
    static constexpr UINT IDD = 136;

    CDefaultConfig();
    ~CDefaultConfig() override;

    // The window that receives WM_RESTORE_DEFAULTS; set right after Create.
    void SetOwnerWindow(HWND owner) { ownerWindow_ = owner; }
    HWND ownerWindow() const { return ownerWindow_; }
    // The folder that holds skins\ (the executable's directory unless set before Create).
    void SetProgramDirectory(const std::wstring& directory) { programDirectory_ = directory; }

    HWND closeButton() const { return close_.GetSafeHwnd(); }
    HWND okButton() const { return ok_.GetSafeHwnd(); }
    HWND cancelButton() const { return cancel_.GetSafeHwnd(); }
    HWND messageLabel() const { return label_.GetSafeHwnd(); }

    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);

private:
    void freeSheets();

    HWND ownerWindow_ = nullptr;
    std::wstring programDirectory_;
    SkinSheets sheets_;
    CBitmapBtn close_;
    CBitmapBtn ok_;
    CBitmapBtn cancel_;
    CBitmapBtn label_;
};

}  // namespace mv
