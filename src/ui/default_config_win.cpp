#include "ui/default_config_win.h"

#include <oleacc.h>

#include "framework/messages.h"
#include "i18n/text_catalogue.h"
#include "win32/win32_platform.h"

namespace mv {

namespace {

constexpr COLORREF kLabelColour = 0x006B5C50;

std::u16string CaptionOf(const char* plain, const CaptionKeys* marked) {
    return marked ? ButtonCaption(*marked) : plain ? tr(plain) : std::u16string();
}

}  // namespace

CDefaultConfig::CDefaultConfig() : CSkinnedDialog(IDD) {}

CDefaultConfig::~CDefaultConfig() {
    if (GetSafeHwnd()) DestroyWindow();
    FreeImages();
}

std::array<CDefaultConfig::Control, 4> CDefaultConfig::Controls() {
    return {{
        {&close_, {244, 7, 259, 22}, 0, nullptr, nullptr, 7},
        {&ok_, {132, 126, 191, 155}, 0, nullptr, &kOkCaption, 7},
        {&cancel_, {195, 126, 253, 155}, 0, nullptr, &kCancelCaption, 7},
        {&label_, {60, 50, 250, 100}, BS_MULTILINE | BS_LEFTTEXT, "tc_return_default", nullptr, 5},
    }};
}

void CDefaultConfig::LayOut() {
    for (const Control& c : Controls()) {
        const RECT r = Scaled(c.rect);
        ::MoveWindow(*c.button, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
        sheets_.Skin(*c.button, c.rect);
    }
}

BOOL CDefaultConfig::OnInitDialog() {
    fw::CDialog::OnInitDialog();
    LoadSheets(L"default_config_normal.png", L"default_config_over.png", L"default_config_down.png");

    for (const Control& c : Controls()) {
        c.button->Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW | c.style, Scaled(c.rect), hwnd_, 0);
        sheets_.Skin(*c.button, c.rect);
        if (c.button == &label_) {
            label_.normalTextColor = kLabelColour;
            label_.pressedTextColor = kLabelColour;
            label_.hoverTextColor = kLabelColour;
            label_.Invalidate(true);
            label_.SetTextRect(-90, 0, 250, 50);
        }
        c.button->SetCaption(CaptionOf(c.caption, c.marked), 0, c.threshold, 1);
        c.button->drawsFocus = true;
    }
    ok_.marksAccessKey = cancel_.marksAccessKey = true;
    close_.SetAccessibleName(tr("tc_acc_close"));
    label_.accessibleRole = ROLE_SYSTEM_STATICTEXT;
    AddKeyStop(ok_, DialogControl::Button);
    AddKeyStop(cancel_, DialogControl::Button);
    return TRUE;
}

void CDefaultConfig::OnOk() {
    if (!IsWindowVisible()) return;
    Hide();
    // Never a thread message: without an owner set, the window it was created under.
    const HWND owner = ownerWindow_ ? ownerWindow_ : GetWindow(hwnd_, GW_OWNER);
    if (owner) PostMessageW(owner, WM_RESTORE_DEFAULTS, 0, 0);
}

void CDefaultConfig::OnCancel() { Hide(); }

BOOL CDefaultConfig::OnCommand(WPARAM, LPARAM lParam) {
    const HWND from = reinterpret_cast<HWND>(lParam);
    if (!from) return FALSE;
    if (from == close_.GetSafeHwnd() || from == cancel_.GetSafeHwnd())
        OnCancel();
    else if (from == ok_.GetSafeHwnd())
        OnOk();
    return TRUE;
}

LRESULT CDefaultConfig::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) OnCommand(wParam, lParam);
    return CSkinnedDialog::WindowProc(message, wParam, lParam);
}

}  // namespace mv
