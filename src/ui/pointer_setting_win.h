// CPointerSeting: the skinned dialog that sets the system pointer speed in ten
// steps and switches the enhanced pointer precision. Modeless, created hidden
// once; it reads the current user's mouse settings at initialisation and applies
// them with SystemParametersInfoW on OK. OK, cancel and close hide it.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "framework/wnd.h"
#include "gesture/registry.h"
#include "ui/bitmap_btn_win.h"
#include "ui/skin_draw_win.h"
#include "ui/skin_picture_win.h"
#include "ui/pointer_settings.h"

namespace mv {

class CPointerSeting : public fw::CDialog {
public:
    static constexpr UINT IDD = 104;

    // The real registry and SystemParametersInfoW.
    CPointerSeting();
    // Other seams (tests); both must outlive the dialog.
    CPointerSeting(RegistrySeam& registry, PointerSettingsSeam& pointer);
    ~CPointerSeting() override;

    void SetMainWindow(HWND window) { mainWindow_ = window; }
    HWND mainWindow() const { return mainWindow_; }
    // The folder that holds skins\ (the executable's directory unless set before Create).
    void SetProgramDirectory(const std::wstring& directory) { programDirectory_ = directory; }

    void ReadMouseSettings() { model_.readMouseSettings(*registry_); }
    void ApplyPointerSettings() { model_.apply(*pointer_); }
    const PointerSettingsModel& settings() const { return model_; }

    HWND okButton() const { return ok_.GetSafeHwnd(); }
    HWND cancelButton() const { return cancel_.GetSafeHwnd(); }
    HWND closeButton() const { return close_.GetSafeHwnd(); }
    HWND precisionToggle() const { return precision_.GetSafeHwnd(); }
    HWND speedSlider() const { return slider_.GetSafeHwnd(); }

    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);

private:
    void showSpeedImage(bool repaint);
    void freeImages();

    RegistrySeam* registry_;
    PointerSettingsSeam* pointer_;
    SkinSheets sheets_;
    std::array<SkinPicture, 10> speed_;
    std::wstring programDirectory_;
    CBitmapBtn ok_;
    CBitmapBtn cancel_;
    CBitmapBtn close_;
    CBitmapBtn precision_;
    CBitmapBtn slider_;
    HWND mainWindow_ = nullptr;
    PointerSettingsModel model_;
};

}  // namespace mv
