// CPointerSeting: the skinned dialog that sets the system pointer speed in ten
// notches and switches the enhanced pointer precision. Modeless, created hidden
// once; each time it is shown it reads the current user's mouse settings, and OK
// (or Enter) applies what it shows with SystemParametersInfoW. OK, cancel, close
// and Escape hide it.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "seams/registry.h"
#include "ui/bitmap_btn_win.h"
#include "ui/resource_ids.h"
#include "ui/pointer_settings.h"
#include "ui/skin_picture_win.h"
#include "ui/skinned_dialog_win.h"

namespace mv {

class CPointerSeting : public CSkinnedDialog {
public:
    static constexpr UINT IDD = IDD_POINTER_SETTINGS;

    // The real registry and SystemParametersInfoW.
    CPointerSeting();
    // Other seams (tests); both must outlive the dialog.
    CPointerSeting(RegistrySeam& registry, PointerSettingsSeam& pointer);
    ~CPointerSeting() override;

    void SetMainWindow(HWND window) { mainWindow_ = window; }
    HWND mainWindow() const { return mainWindow_; }

    // The system's settings as they are now, shown on the slider and the toggle.
    void ReadMouseSettings();
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
    void OnOk() override;
    void OnCancel() override;
    void OnShowing() override;
    void FreeImages() override;
    void LayOut() override;
    void LoadPictures() override;
    void OnSliderKey(HWND slider, SliderKey key) override;

private:
    void showSpeedImage(bool repaint);
    void showSettings();
    // The slider's value for assistive technology: its notch, 1 to 10.
    void nameSliderValue();
    // The knob to the notch under the screen x; repaints when it moved.
    void moveKnobTo(int screenX);

    RegistrySeam* registry_;
    PointerSettingsSeam* pointer_;
    std::array<SkinPicture, 10> speed_;
    CBitmapBtn ok_;
    CBitmapBtn cancel_;
    CBitmapBtn close_;
    CBitmapBtn precision_;
    CBitmapBtn slider_;
    HWND mainWindow_ = nullptr;
    PointerSettingsModel model_;
};

}  // namespace mv
