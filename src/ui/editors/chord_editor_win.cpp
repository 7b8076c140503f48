#include "ui/editors/chord_editor_win.h"

#include <oleacc.h>

#include "i18n/text_catalogue.h"
#include "ui/accessible_win.h"
#include "ui/skin_draw_win.h"
#include "win32/win32_platform.h"

namespace mv {

namespace {

const RECT kTipsRect{20, 40, 340, 62};
const RECT kFieldRect{20, 66, 270, 96};
const RECT kClearRect{276, 68, 340, 94};
const RECT kMouseLabelRect{20, 108, 118, 126};
const RECT kMouseRects[3] = {{120, 104, 192, 128}, {196, 104, 268, 128}, {272, 104, 344, 128}};
const RECT kMessageRect{20, 134, 340, 168};
const RECT kOkRect{212, 180, 274, 208};
const RECT kCancelRect{280, 180, 344, 208};
constexpr std::uint8_t kMouseKeys[3] = {kChordLeftButton, kChordRightButton, kChordMiddleButton};

bool Down(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

}  // namespace

std::uint8_t KeyOfMessage(WPARAM vk, LPARAM lParam) {
    const bool extended = (lParam & 0x01000000) != 0;
    switch (vk) {
        case VK_SHIFT: return ((lParam >> 16) & 0xFF) == 0x36 ? VK_RSHIFT : VK_LSHIFT;
        case VK_CONTROL: return extended ? VK_RCONTROL : VK_LCONTROL;
        case VK_MENU: return extended ? VK_RMENU : VK_LMENU;
        default: return static_cast<std::uint8_t>(vk);
    }
}

LRESULT ChordField::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETDLGCODE: return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            const HDC dc = BeginPaint(hwnd_, &ps);
            RECT client;
            GetClientRect(hwnd_, &client);
            if (paint) paint(dc, client, GetFocus() == hwnd_);
            EndPaint(hwnd_, &ps);
            return 0;
        }
        case WM_ERASEBKGND: return TRUE;
        case WM_GETOBJECT:
            if (const LRESULT answer = AnswerGetObject(hwnd_, wParam, lParam)) return answer;
            break;
        case WM_ACCESSIBLE_TRAITS:
            return AnswerFocusableTraits(lParam, ROLE_SYSTEM_HOTKEYFIELD, accessibleName,
                                         shownText ? shownText() : std::wstring());
        case WM_SETFOCUS: Invalidate(false); break;
        case WM_KILLFOCUS:
            Invalidate(false);
            if (focusLost) focusLost();
            break;
        case WM_LBUTTONDOWN: SetFocus(hwnd_); return 0;
        default: break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

ChordEditor::ChordEditor(FunctionRecord& record) : EditorDialog(L"chord", tr("tc_combo_tittle")), record_(record) {
    buttonNames_ = {tr("tc_click"), tr("tc_function_doubleclick"), tr("tc_middle")};
    if (record.actionCode() == 19) capture_.setChord({record.chordModifiers(), record.chordKey1(), record.chordKey2()});
}

void ChordEditor::BuildControls() {
    AddLabel(kTipsRect, tr("tc_combo_tips"));
    field_.paint = [this](HDC dc, const RECT& client, bool focused) { PaintField(dc, client, focused); };
    field_.shownText = [this] { return ToWide(ChordText(capture_.shown(), buttonNames_)); };
    field_.focusLost = [this]() { Report(capture_.interrupted()); };
    field_.CreateEx(0, fw::CWnd::WindowClass(), L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, Scaled(kFieldRect), hwnd_, 0);
    Track(field_, kFieldRect);
    field_.accessibleName = ToWide(tr("tc_combo_tittle"));
    AddKeyStop(field_, DialogControl::Text);
    clear_ = &AddButton(kClearRect, kClearCaption);
    AddLabel(kMouseLabelRect, tr("tc_combo_mouse"));
    for (int i = 0; i < 3; ++i) mouse_[i] = &AddButton(kMouseRects[i], kMouseCaptions[i]);
    AddLabel(kMessageRect, u"", true);
    AddButton(kOkRect, kOkCaption, IDOK);
    AddButton(kCancelRect, kCancelCaption, IDCANCEL);
}

void ChordEditor::PaintField(HDC dc, const RECT& client, bool focused) {
    // The field's own part of the sheets: the over sheet draws the focused frame.
    const SkinPicture& sheet = focused ? sheets().over : sheets().normal;
    const RECT at = Scaled(kFieldRect);
    const HDC memory = CreateCompatibleDC(dc);
    const HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    {
        using namespace Gdiplus::DllExports;
        Gdiplus::GpGraphics* g = nullptr;
        if (!sheet.empty() && GdipCreateFromHDC(memory, &g) == Gdiplus::Ok) {
            GdipDrawImageRectRectI(g, sheet.bitmap(), 0, 0, client.right, client.bottom, at.left, at.top,
                                   client.right, client.bottom, Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
            GdipDeleteGraphics(g);
        }
    }
    const HGDIOBJ oldFont = SelectObject(memory, font());
    SetBkMode(memory, TRANSPARENT);
    SetTextColor(memory, 0x006B5C50);
    const std::wstring text = ToWide(ChordText(capture_.shown(), buttonNames_));
    RECT r = client;
    DrawTextW(memory, text.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(memory, oldFont);
    BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

void ChordEditor::Report(ChordCapture::Result result) {
    switch (result) {
        case ChordCapture::Result::Captured: ClearMessage(); break;
        case ChordCapture::Result::Reserved:
        case ChordCapture::Result::Interrupted: ShowMessage(tr("tc_combo_reserved")); break;
        case ChordCapture::Result::TooManyKeys: ShowMessage(tr("tc_combo_full")); break;
        case ChordCapture::Result::Pending: break;
    }
    field_.Invalidate(false);
}

bool ChordEditor::OnKeyMessage(MSG* msg) {
    if (msg->hwnd != field_.GetSafeHwnd()) return false;
    const bool down = msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN;
    const bool up = msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP;
    if (!down && !up) return msg->message == WM_CHAR || msg->message == WM_SYSCHAR;  // no characters, no beeps
    const auto vk = static_cast<UINT>(msg->wParam);
    // Tab, Enter and Escape with no other key held keep their meaning in the dialog
    // (Shift+Tab too); with Ctrl, Alt or Win held they are part of a chord.
    const bool chordModifier = Down(VK_CONTROL) || Down(VK_MENU) || Down(VK_LWIN) || Down(VK_RWIN);
    if (down && !chordModifier && (vk == VK_TAB || vk == VK_RETURN || vk == VK_ESCAPE)) {
        capture_.interrupted();  // a Shift held for Shift+Tab is no chord
        field_.Invalidate(false);
        if (vk == VK_TAB) MoveFocus(Down(VK_SHIFT));
        else PostMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(vk == VK_RETURN ? IDOK : IDCANCEL, BN_CLICKED), 0);
        return true;
    }
    const std::uint8_t key = KeyOfMessage(msg->wParam, msg->lParam);
    if (down && (msg->lParam & 0x40000000)) return true;  // auto-repeat
    Report(down ? capture_.keyDown(key) : capture_.keyUp(key));
    return true;
}

void ChordEditor::OnButton(HWND from) {
    if (clear_ && from == clear_->GetSafeHwnd()) {
        capture_.clear();
        ClearMessage();
        field_.Invalidate(false);
        return;
    }
    for (int i = 0; i < 3; ++i) {
        if (mouse_[i] && from == mouse_[i]->GetSafeHwnd()) {
            if (capture_.addMouseButton(kMouseKeys[i])) ClearMessage();
            else ShowMessage(tr("tc_combo_full"));
            field_.Invalidate(false);
        }
    }
}

bool ChordEditor::Confirm() {
    const KeyChord chord = capture_.chord();
    if (chord.empty()) {
        ShowMessage(tr("tc_combo_empty"));
        return false;
    }
    record_.setActionCode(19);
    record_.bytes[FunctionRecord::kChordModifiersOffset] = chord.modifiers;
    record_.bytes[FunctionRecord::kChordKey1Offset] = chord.key1;
    record_.bytes[FunctionRecord::kChordKey2Offset] = chord.key2;
    return true;
}

}  // namespace mv
