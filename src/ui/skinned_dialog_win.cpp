#include "ui/skinned_dialog_win.h"

#include "ui/placement_win.h"

#include "framework/messages.h"
#include "ui/dpi_win.h"
#include "ui/skin_picture_win.h"

namespace mv {

int CSkinnedDialog::OwnerDpi() const {
    const HWND owner = ::GetWindow(hwnd_, GW_OWNER);
    DWORD_PTR laidOut = 0;
    if (owner && ::SendMessageTimeoutW(owner, WM_LAYOUT_DPI, 0, 0, SMTO_ABORTIFHUNG, 1000, &laidOut) && laidOut > 0 &&
        laidOut < 10000)
        return static_cast<int>(laidOut);
    return WindowDpi(owner ? owner : hwnd_);
}

int CSkinnedDialog::LoadSheets(const wchar_t* normal, const wchar_t* over, const wchar_t* down) {
    if (programDirectory_.empty()) programDirectory_ = ExecutableDirectory();
    sheetNames_[0] = normal;
    sheetNames_[1] = over;
    sheetNames_[2] = down;
    dpi_ = OwnerDpi();
    KeepOwnDpiLayout(hwnd_);
    sheets_.Load(programDirectory_, normal, over, down, dpi_);
    return sheets_.SizeAndCentre(hwnd_).x;
}

RECT CSkinnedDialog::Scaled(const RECT& rect96) const { return ScaledRECT(rect96, dpi_); }
int CSkinnedDialog::Scaled(int value96) const { return ScaleToDpi(value96, dpi_); }

void CSkinnedDialog::Rescale(int dpi, const POINT* corner) {
    if (dpi <= 0 || dpi == dpi_ || sheetNames_[0].empty()) return;
    dpi_ = dpi;
    sheets_.Reset();
    sheets_.Load(programDirectory_, sheetNames_[0].c_str(), sheetNames_[1].c_str(), sheetNames_[2].c_str(), dpi_);
    if (corner)
        ::SetWindowPos(hwnd_, nullptr, corner->x, corner->y, static_cast<int>(sheets_.normal.width()),
                       static_cast<int>(sheets_.normal.height()), SWP_NOZORDER | SWP_NOACTIVATE);
    else
        sheets_.SizeAndCentre(hwnd_);
    LoadPictures();
    LayOut();
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

bool CSkinnedDialog::PreTranslateMessage(MSG* msg) {
    // Without a focused control the keys come as system keys to the active dialog.
    const bool down = msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN;
    const bool up = msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP;
    if ((down || up) && (msg->wParam == VK_ESCAPE || msg->wParam == VK_RETURN)) {
        if (down && (msg->lParam & (1 << 30)) == 0) {  // not an auto-repeat
            if (msg->wParam == VK_ESCAPE)
                OnCancel();
            else
                OnOk();
        }
        return true;
    }
    return fw::CDialog::PreTranslateMessage(msg);
}

LRESULT CSkinnedDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            // The dialog manager's close request (WM_CLOSE, Alt+F4) comes without a control.
            if (LOWORD(wParam) == IDCANCEL && lParam == 0) OnCancel();
            break;
        case WM_SHOWWINDOW:
            if (wParam) {
                Rescale(OwnerDpi(), nullptr);
                CentreOver(hwnd_, ::GetWindow(hwnd_, GW_OWNER));
                OnShowing();
            }
            break;
        case kGetDpiScaledSize: {
            const SIZE now{static_cast<LONG>(sheets_.normal.width()), static_cast<LONG>(sheets_.normal.height())};
            *reinterpret_cast<SIZE*>(lParam) = SizeForDpi(now, dpi_, static_cast<int>(wParam));
            return TRUE;
        }
        case WM_DPICHANGED: {
            // The suggested corner; its size is the new sheet's, as answered above.
            const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
            const POINT corner{suggested->left, suggested->top};
            Rescale(LOWORD(wParam), &corner);
            return 0;
        }
        case WM_LBUTTONDOWN:
            // A press on the background, not on a control: move the window with the pointer.
            if (!MovesFrom(static_cast<short>(HIWORD(lParam)))) break;
            ::SendMessageW(hwnd_, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
            return 0;
        case WM_PAINT:
            sheets_.Paint(hwnd_);
            return 0;
        case WM_ERASEBKGND:
            if (!sheets_.normal.empty()) return TRUE;
            break;
        case WM_DESTROY: {
            const LRESULT result = fw::CDialog::WindowProc(message, wParam, lParam);
            FreeImages();
            return result;
        }
        default:
            break;
    }
    return fw::CDialog::WindowProc(message, wParam, lParam);
}

}  // namespace mv
