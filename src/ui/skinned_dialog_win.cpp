#include "ui/skinned_dialog_win.h"

#include "ui/placement_win.h"

#include <optional>

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

namespace {
// Posted at each showing: the first stop takes the focus once the dialog is active.
constexpr UINT kFocusFirstStop = WM_APP + 0x3A3;
}  // namespace

void CSkinnedDialog::AddKeyStop(HWND window, DialogControl kind) {
    if (window) stops_.push_back({window, kind});
}

std::vector<DialogStop> CSkinnedDialog::KeyStops() const {
    std::vector<DialogStop> stops;
    for (const KeyStop& k : stops_) {
        DialogStop stop;
        stop.kind = k.kind;
        stop.available = ::IsWindowVisible(k.window) && ::IsWindowEnabled(k.window);
        if (k.kind == DialogControl::Button || k.kind == DialogControl::Toggle) {
            const int length = ::GetWindowTextLengthW(k.window);
            std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
            text.resize(static_cast<std::size_t>(::GetWindowTextW(k.window, text.data(), length + 1)));
            stop.accessKey = AccessKeyOf(std::u16string(text.begin(), text.end()));
        }
        stops.push_back(stop);
    }
    return stops;
}

int CSkinnedDialog::StopIndex(HWND window) const {
    for (std::size_t i = 0; i < stops_.size(); ++i)
        if (window && stops_[i].window == window) return static_cast<int>(i);
    return -1;
}

void CSkinnedDialog::ShowKeyboardCues() {
    if (keyboardCues_) return;
    keyboardCues_ = true;
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void CSkinnedDialog::Hide() {
    const bool active = ::GetActiveWindow() == hwnd_;
    ShowWindow(SW_HIDE);
    const HWND owner = ::GetWindow(hwnd_, GW_OWNER);
    if (active && owner && ::IsWindowVisible(owner) && ::IsWindowEnabled(owner)) ::SetActiveWindow(owner);
}

void CSkinnedDialog::MoveFocus(bool backwards) {
    const int next = NextDialogStop(KeyStops(), StopIndex(::GetFocus()), backwards);
    if (next >= 0) {
        const HWND to = stops_[static_cast<std::size_t>(next)].window;
        ::SetFocus(to);
        keyFocus_ = to;
        // An edit shows its whole text selected, as the dialog manager leaves it.
        wchar_t cls[16] = {};
        ::GetClassNameW(to, cls, 16);
        if (::lstrcmpiW(cls, L"Edit") == 0) ::SendMessageW(to, EM_SETSEL, 0, -1);
    }
    ShowKeyboardCues();
}

void CSkinnedDialog::FocusFirstStop() {
    // After the dialog manager, which gives the focus to the first child on activation.
    if (!IsWindowVisible() || ::GetActiveWindow() != hwnd_) return;
    const int first = NextDialogStop(KeyStops(), -1, false);
    if (first >= 0) ::SetFocus(keyFocus_ = stops_[static_cast<std::size_t>(first)].window);
}

void CSkinnedDialog::Press(HWND control) {
    if (::GetFocus() != control) ::SetFocus(control);
    keyFocus_ = control;
    ::SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(control), BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

bool CSkinnedDialog::OnKey(const MSG& msg) {
    const auto vk = static_cast<UINT>(msg.wParam);
    const bool down = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    const HWND focus = ::GetFocus();
    const int at = StopIndex(focus);
    const std::optional<DialogControl> kind =
        at >= 0 ? std::optional<DialogControl>(stops_[static_cast<std::size_t>(at)].kind) : std::nullopt;
    const bool pressable = kind == DialogControl::Button || kind == DialogControl::Toggle;
    if (!down) {
        // The other halves of the keys used on their way down: no control sees them.
        if (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP)
            return vk == VK_RETURN || vk == VK_ESCAPE || vk == VK_TAB || (vk == VK_SPACE && pressable);
        if (msg.message == WM_CHAR)
            return vk == L'\r' || vk == L'\t' || vk == 0x1B || (vk == L' ' && pressable) ||
                   (kind != DialogControl::Text && DialogStopOfAccessKey(KeyStops(), static_cast<char16_t>(vk), false) >= 0);
        if (msg.message == WM_SYSCHAR) return DialogStopOfAccessKey(KeyStops(), static_cast<char16_t>(vk), true) >= 0;
        return false;
    }
    const bool repeat = (msg.lParam & (1 << 30)) != 0;
    const bool alt = ::GetKeyState(VK_MENU) < 0;
    const bool control = ::GetKeyState(VK_CONTROL) < 0;
    switch (vk) {
        case VK_MENU:
            ShowKeyboardCues();
            return false;
        case VK_TAB:
            if (control || alt) return false;
            MoveFocus(::GetKeyState(VK_SHIFT) < 0);
            return true;
        case VK_ESCAPE:
            if (!repeat) OnCancel();
            return true;
        case VK_RETURN:
            if (repeat) return true;
            if (kind == DialogControl::Button && focus == keyFocus_)
                Press(focus);
            else
                OnOk();
            return true;
        case VK_SPACE:
            if (!pressable) return false;
            ShowKeyboardCues();
            if (!repeat) Press(focus);
            return true;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
        case VK_HOME:
        case VK_END:
        case VK_PRIOR:
        case VK_NEXT: {
            if (kind != DialogControl::Slider) return false;
            const SliderKey key = vk == VK_LEFT    ? SliderKey::Left
                                  : vk == VK_RIGHT ? SliderKey::Right
                                  : vk == VK_UP    ? SliderKey::Up
                                  : vk == VK_DOWN  ? SliderKey::Down
                                  : vk == VK_HOME  ? SliderKey::Home
                                  : vk == VK_END   ? SliderKey::End
                                  : vk == VK_PRIOR ? SliderKey::PageUp
                                                   : SliderKey::PageDown;
            ShowKeyboardCues();
            OnSliderKey(focus, key);
            return true;
        }
        default:
            break;
    }
    if (control || !((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))) return false;
    if (!alt && kind == DialogControl::Text) return false;
    const int stop = DialogStopOfAccessKey(KeyStops(), static_cast<char16_t>(vk), alt);
    if (stop < 0) return false;
    ShowKeyboardCues();
    if (!repeat) Press(stops_[static_cast<std::size_t>(stop)].window);
    return true;
}

bool CSkinnedDialog::PreTranslateMessage(MSG* msg) {
    if (hwnd_ && msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST &&
        (msg->hwnd == hwnd_ || ::IsChild(hwnd_, msg->hwnd)) && OnKey(*msg))
        return true;
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
                // Opened after keys were used in the owner: the cues show at once.
                if (const HWND owner = ::GetWindow(hwnd_, GW_OWNER))
                    if (!(::SendMessageW(owner, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) keyboardCues_ = true;
                OnShowing();
                ::PostMessageW(hwnd_, kFocusFirstStop, 0, 0);
            }
            break;
        case kFocusFirstStop:
            FocusFirstStop();
            return 0;
        case WM_QUERYUISTATE:
            return keyboardCues_ ? 0 : UISF_HIDEFOCUS | UISF_HIDEACCEL;
        case WM_CHANGEUISTATE:
        case WM_UPDATEUISTATE:
            if (LOWORD(wParam) == UIS_CLEAR && (HIWORD(wParam) & (UISF_HIDEFOCUS | UISF_HIDEACCEL))) ShowKeyboardCues();
            return 0;
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
