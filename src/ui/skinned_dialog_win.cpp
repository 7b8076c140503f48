#include "ui/skinned_dialog_win.h"

#include "ui/skin_picture_win.h"

namespace mv {

int CSkinnedDialog::LoadSheets(const wchar_t* normal, const wchar_t* over, const wchar_t* down) {
    if (programDirectory_.empty()) programDirectory_ = ExecutableDirectory();
    sheets_.Load(programDirectory_, normal, over, down);
    return sheets_.SizeAndCentre(hwnd_).x;
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
            if (wParam) OnShowing();
            break;
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
