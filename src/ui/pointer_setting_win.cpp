#include "ui/pointer_setting_win.h"

#include <windowsx.h>

#include "i18n/text_catalogue.h"
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
    : fw::CDialog(IDD), registry_(&registry), pointer_(&pointer) {}

CPointerSeting::~CPointerSeting() {
    if (GetSafeHwnd()) DestroyWindow();
    freeImages();
}

void CPointerSeting::freeImages() {
    sheets_.Reset();
    for (SkinPicture& s : speed_) s.Reset();
}

BOOL CPointerSeting::OnInitDialog() {
    fw::CDialog::OnInitDialog();
    if (programDirectory_.empty()) programDirectory_ = ExecutableDirectory();
    sheets_.Load(programDirectory_, L"pointer_setting_normal.png", L"pointer_setting_over.png",
                 L"pointer_setting_down.png");
    for (std::size_t i = 0; i < speed_.size(); ++i)
        speed_[i].Load(SkinPath(programDirectory_, L"pointer_speed_" + std::to_wstring(i + 1) + L".png"));

    model_.setDialogLeft(sheets_.SizeAndCentre(hwnd_).x);

    const DWORD style = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;
    struct Control {
        CBitmapBtn* button;
        RECT rect;
        const char* caption;
    };
    const Control skinned[] = {
        {&ok_, kOk, "btn_ok"}, {&cancel_, kCancel, "btn_cancel"}, {&close_, kClose, nullptr},
        {&precision_, kToggle, "tc_pointer_distinguish"}};
    for (const Control& c : skinned) {
        c.button->Create(L"", style, c.rect, hwnd_, 0);
        sheets_.Skin(*c.button, c.rect);
    }
    ok_.SetCaption(ToWide(tr("btn_ok")), 0, 7, 1);
    cancel_.SetCaption(ToWide(tr("btn_cancel")), 0, 7, 1);
    precision_.normalTextColor = kToggleTextColour;
    precision_.pressedTextColor = kToggleTextColour;
    precision_.hoverTextColor = kToggleTextColour;
    precision_.SetTextRect(15, 0, 115, 19);
    precision_.SetCaption(ToWide(tr("tc_pointer_distinguish")), 0, 7, 1);
    slider_.Create(L"", style, kSlider, hwnd_, 0);

    ReadMouseSettings();
    model_.initialise();
    precision_.SetLatched(model_.precision() ? 1 : 0);
    showSpeedImage(false);
    return TRUE;
}

void CPointerSeting::showSpeedImage(bool repaint) {
    const SkinPicture* image = &speed_[static_cast<std::size_t>(model_.step())];
    if (repaint)
        slider_.ReplaceSkin(image, image, 0, 0, kSliderImageWidth, kSliderImageHeight, image, image);
    else
        slider_.SetSkin(image, image, 0, 0, kSliderImageWidth, kSliderImageHeight, image, image);
}

BOOL CPointerSeting::OnCommand(WPARAM, LPARAM lParam) {
    const HWND from = reinterpret_cast<HWND>(lParam);
    if (!from) return FALSE;
    if (from == slider_.GetSafeHwnd()) {
        // A click without a drag leaves no move with the button down: take the x of
        // the release when it lies on the slider.
        const DWORD pos = GetMessagePos();
        const POINT release{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
        RECT onScreen{};
        GetWindowRect(from, &onScreen);
        if (PtInRect(&onScreen, release)) model_.sliderReleasedAt(release.x);
        if (model_.pressSlider()) showSpeedImage(true);
    } else if (from == precision_.GetSafeHwnd()) {
        model_.togglePrecision();
        precision_.SetLatched(model_.precision() ? 1 : 0);
        precision_.Invalidate(true);
    } else if (from == ok_.GetSafeHwnd()) {
        ApplyPointerSettings();
        ShowWindow(SW_HIDE);
    } else if (from == cancel_.GetSafeHwnd() || from == close_.GetSafeHwnd()) {
        ShowWindow(SW_HIDE);
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
            model_.mouseMoved(static_cast<std::uint32_t>(wParam), GET_X_LPARAM(lParam));
            break;
        case WM_PAINT:
            sheets_.Paint(hwnd_);
            return 0;
        case WM_ERASEBKGND:
            if (!sheets_.normal.empty()) return TRUE;
            break;
        case WM_DESTROY: {
            const LRESULT result = fw::CDialog::WindowProc(message, wParam, lParam);
            freeImages();
            return result;
        }
        default:
            break;
    }
    return fw::CDialog::WindowProc(message, wParam, lParam);
}

}  // namespace mv
