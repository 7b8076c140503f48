#include "ui/pointer_setting_win.h"

#include <windowsx.h>

#include <algorithm>

#include <oleacc.h>

#include "i18n/text_catalogue.h"
#include "ui/dialog_captions.h"
#include "ui/dpi_win.h"
#include "win32/win32_platform.h"
#include "win32/win32_registry.h"

namespace mv {

namespace {

constexpr COLORREF kToggleTextColour = RGB(80, 92, 107);
constexpr RECT kOk{132, 126, 192, 154};
constexpr RECT kCancel{195, 126, 256, 154};
constexpr RECT kClose{244, 7, 259, 22};
constexpr RECT kToggle{36, 97, 226, 116};
constexpr RECT kSlider{36, 47, 225, 68};
constexpr int kSliderImageWidth = 189;
constexpr int kSliderImageHeight = 21;

Win32Registry& RealRegistry() {
    static Win32Registry registry;
    return registry;
}
Win32PointerSettings& RealPointer() {
    static Win32PointerSettings pointer;
    return pointer;
}

}  // namespace

CPointerSeting::CPointerSeting() : CPointerSeting(RealRegistry(), RealPointer()) {}

CPointerSeting::CPointerSeting(RegistrySeam& registry, PointerSettingsSeam& pointer)
    : CSkinnedDialog(IDD), registry_(&registry), pointer_(&pointer) {}

CPointerSeting::~CPointerSeting() {
    if (GetSafeHwnd()) DestroyWindow();
    FreeImages();
}

void CPointerSeting::FreeImages() {
    CSkinnedDialog::FreeImages();
    for (SkinPicture& s : speed_) s.Reset();
}

void CPointerSeting::LoadPictures() {
    for (std::size_t i = 0; i < speed_.size(); ++i)
        LoadSkin(speed_[i], programDirectory_, L"pointer_speed_" + std::to_wstring(i + 1) + L".png", dpi());
}

// The four skinned buttons and the slider, made at their places the first time.
void CPointerSeting::LayOut() {
    const DWORD style = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;
    struct Control {
        CBitmapBtn* button;
        RECT rect;
    };
    const Control controls[] = {
        {&ok_, kOk}, {&cancel_, kCancel}, {&close_, kClose}, {&precision_, kToggle}, {&slider_, kSlider}};
    for (const Control& c : controls) {
        const RECT r = Scaled(c.rect);
        if (!c.button->GetSafeHwnd())
            c.button->Create(L"", style, r, hwnd_, 0);
        else
            ::MoveWindow(*c.button, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
        if (c.button != &slider_) sheets_.Skin(*c.button, c.rect);
    }
    slider_.SetDpi(dpi());
    showSpeedImage(false);
}

BOOL CPointerSeting::OnInitDialog() {
    fw::CDialog::OnInitDialog();
    LoadSheets(L"pointer_setting_normal.png", L"pointer_setting_over.png", L"pointer_setting_down.png");
    LoadPictures();
    LayOut();
    ok_.SetCaption(ButtonCaption(kOkCaption), 0, 7, 1);
    cancel_.SetCaption(ButtonCaption(kCancelCaption), 0, 7, 1);
    precision_.normalTextColor = kToggleTextColour;
    precision_.pressedTextColor = kToggleTextColour;
    precision_.hoverTextColor = kToggleTextColour;
    precision_.SetTextRect(15, 0, 115, 19);
    precision_.SetCaption(ButtonCaption(kPreciseCaption), 0, 7, 1);
    for (CBitmapBtn* b : {&ok_, &cancel_, &precision_}) b->marksAccessKey = true;
    for (CBitmapBtn* b : {&ok_, &cancel_, &precision_, &slider_}) b->drawsFocus = true;
    precision_.accessibleRole = ROLE_SYSTEM_CHECKBUTTON;
    precision_.checkable = true;
    slider_.accessibleRole = ROLE_SYSTEM_SLIDER;
    slider_.SetAccessibleName(tr("tc_pointer_move"));
    close_.SetAccessibleName(tr("tc_acc_close"));
    AddKeyStop(slider_, DialogControl::Slider);
    AddKeyStop(precision_, DialogControl::Toggle);
    AddKeyStop(ok_, DialogControl::Button);
    AddKeyStop(cancel_, DialogControl::Button);

    ReadMouseSettings();
    showSpeedImage(false);
    return TRUE;
}

void CPointerSeting::ReadMouseSettings() {
    model_.readMouseSettings(*registry_);
    model_.initialise();
    if (precision_.GetSafeHwnd()) precision_.SetLatched(model_.precision() ? 1 : 0);
}

void CPointerSeting::showSettings() {
    ReadMouseSettings();
    showSpeedImage(true);
}

// The settings may have changed since the dialog was last shown (Restore defaults, the
// Control Panel): what it shows and what an untouched OK applies are the system's now.
void CPointerSeting::OnShowing() { showSettings(); }

void CPointerSeting::nameSliderValue() {
    std::wstring value = std::to_wstring(model_.step() + 1);
    if (value == slider_.accessibleValue) return;
    slider_.accessibleValue = std::move(value);
    if (slider_.GetSafeHwnd()) ::NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, slider_, OBJID_CLIENT, CHILDID_SELF);
}

void CPointerSeting::OnSliderKey(HWND slider, SliderKey key) {
    if (slider != slider_.GetSafeHwnd()) return;
    if (model_.moveToNotch(SliderPositionAfter(model_.step(), kSpeedNotches, key))) showSpeedImage(true);
}

void CPointerSeting::showSpeedImage(bool repaint) {
    nameSliderValue();
    const SkinPicture* image = &speed_[static_cast<std::size_t>(model_.step())];
    // The pictures are drawn at the slider's size: its area (0, 0, 189, 21) at 96 DPI.
    const RECT slider = Scaled(RECT{kSlider.left, kSlider.top, kSlider.left + kSliderImageWidth,
                                    kSlider.top + kSliderImageHeight});
    const int width = std::min(static_cast<int>(image->width()), static_cast<int>(slider.right - slider.left));
    const int height = std::min(static_cast<int>(image->height()), static_cast<int>(slider.bottom - slider.top));
    if (repaint)
        slider_.ReplaceSkin(image, image, 0, 0, width, height, image, image);
    else
        slider_.SetSkin(image, image, 0, 0, width, height, image, image);
}

void CPointerSeting::moveKnobTo(int screenX) {
    RECT slider{};
    ::GetWindowRect(slider_.GetSafeHwnd(), &slider);
    // The notches are placed in 96-DPI pixels of the slider.
    if (model_.moveKnobTo(UnscaleFromDpi(screenX - slider.left, dpi()))) showSpeedImage(true);
}

void CPointerSeting::OnOk() {
    ApplyPointerSettings();
    Hide();
}

void CPointerSeting::OnCancel() { Hide(); }

BOOL CPointerSeting::OnCommand(WPARAM, LPARAM lParam) {
    const HWND from = reinterpret_cast<HWND>(lParam);
    if (!from) return FALSE;
    if (from == slider_.GetSafeHwnd()) {
        // Released over the slider: the knob goes to the notch there.
        moveKnobTo(GET_X_LPARAM(::GetMessagePos()));
    } else if (from == precision_.GetSafeHwnd()) {
        model_.togglePrecision();
        precision_.SetLatched(model_.precision() ? 1 : 0);
        precision_.Invalidate(true);
        ::NotifyWinEvent(EVENT_OBJECT_STATECHANGE, precision_, OBJID_CLIENT, CHILDID_SELF);
    } else if (from == ok_.GetSafeHwnd()) {
        OnOk();
    } else if (from == cancel_.GetSafeHwnd() || from == close_.GetSafeHwnd()) {
        OnCancel();
    } else {
        return FALSE;
    }
    return TRUE;
}

LRESULT CPointerSeting::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(wParam, lParam);
            break;
        case WM_MOUSEMOVE:
            // Moves forwarded by the buttons, in screen coordinates: while the slider is held
            // down, the knob follows the pointer.
            if ((wParam & MK_LBUTTON) && ::GetCapture() == slider_.GetSafeHwnd()) moveKnobTo(GET_X_LPARAM(lParam));
            break;
        default:
            break;
    }
    return CSkinnedDialog::WindowProc(message, wParam, lParam);
}

}  // namespace mv
