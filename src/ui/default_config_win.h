// CDefaultConfig: the skinned confirmation before the default gesture functions
// (and the pointer speed and acceleration) are restored. Modeless, created hidden
// once; OK (or Enter) hides it and posts WM_RESTORE_DEFAULTS to the owner window,
// cancel, close and Escape only hide it.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "ui/bitmap_btn_win.h"
#include "ui/dialog_captions.h"
#include "ui/resource_ids.h"
#include "ui/skinned_dialog_win.h"

namespace mv {

class CDefaultConfig : public CSkinnedDialog {
public:
    static constexpr UINT IDD = IDD_RESTORE_DEFAULTS;

    CDefaultConfig();
    ~CDefaultConfig() override;

    // The window that receives WM_RESTORE_DEFAULTS; set right after Create.
    void SetOwnerWindow(HWND owner) { ownerWindow_ = owner; }
    HWND ownerWindow() const { return ownerWindow_; }

    HWND closeButton() const { return close_.GetSafeHwnd(); }
    HWND okButton() const { return ok_.GetSafeHwnd(); }
    HWND cancelButton() const { return cancel_.GetSafeHwnd(); }
    HWND messageLabel() const { return label_.GetSafeHwnd(); }

    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    void OnOk() override;
    void OnCancel() override;
    void LayOut() override;

private:
    struct Control {
        CBitmapBtn* button;
        RECT rect;  // at 96 DPI
        DWORD style;
        const char* caption;        // a plain text, or
        const CaptionKeys* marked;  // one with its access key
        int threshold;
    };
    // The four controls in their order of creation.
    std::array<Control, 4> Controls();

    HWND ownerWindow_ = nullptr;
    CBitmapBtn close_;
    CBitmapBtn ok_;
    CBitmapBtn cancel_;
    CBitmapBtn label_;
};

}  // namespace mv
