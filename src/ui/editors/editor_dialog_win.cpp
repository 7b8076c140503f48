#include "ui/editors/editor_dialog_win.h"

#include <string>

#include <oleacc.h>

#include "i18n/text_catalogue.h"
#include "ui/accessible_win.h"
#include "ui/dpi_win.h"
#include "win32/win32_platform.h"

namespace mv {

namespace {

constexpr COLORREF kTextColour = 0x006B5C50;     // the dialogs' caption colour
constexpr COLORREF kMessageColour = 0x002626DC;  // red (220, 38, 38)
constexpr COLORREF kTitleColour = 0x00F0E8E2;    // light on the dark header
constexpr int kHeaderHeight = 30;
constexpr int kFontHeight = 12;

}  // namespace

LRESULT NamedControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETOBJECT) {
        if (const LRESULT answer = AnswerGetObject(hwnd_, wParam, lParam)) return answer;
    } else if (message == WM_ACCESSIBLE_TRAITS) {
        auto* traits = reinterpret_cast<AccessibleTraits*>(lParam);
        if (!traits) return 0;
        traits->role = role_;
        traits->focusable = role_ != ROLE_SYSTEM_STATICTEXT;
        traits->name = ToWide(name_);  // empty: the window text
        if (role_ == ROLE_SYSTEM_TEXT) {
            traits->value = ToWide(WindowTextOf(hwnd_));
        } else if (role_ == ROLE_SYSTEM_LIST) {
            const LRESULT row = Default(LB_GETCURSEL, 0, 0);
            const LRESULT length = row >= 0 ? Default(LB_GETTEXTLEN, static_cast<WPARAM>(row), 0) : LB_ERR;
            if (length > 0) {
                std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
                text.resize(static_cast<std::size_t>(
                    Default(LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text.data()))));
                traits->value = text;
            }
        }
        return 1;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

namespace {
// A label's text as a name: without the colon that ends it.
std::u16string LabelName(std::u16string text) {
    while (!text.empty() && (text.back() == u':' || text.back() == u'\uFF1A' || text.back() == u' ')) text.pop_back();
    return text;
}
}  // namespace

void EditorDialog::Name(HWND window, const std::u16string& name, long role) {
    if (!window) return;
    named_.push_back(std::make_unique<NamedControl>(LabelName(name), role));
    named_.back()->SubclassWindow(window);
}

std::u16string WindowTextOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return FromWide(text.c_str());
}

EditorDialog::EditorDialog(const wchar_t* sheetName, std::u16string title)
    : CSkinnedDialog(0), sheetName_(sheetName), title_(std::move(title)) {}

EditorDialog::~EditorDialog() {
    if (GetSafeHwnd()) DestroyWindow();
    if (font_) DeleteObject(font_);
    if (cardBrush_) DeleteObject(cardBrush_);
}

bool EditorDialog::CreateShown(HWND owner) {
    if (!GetSafeHwnd() && !Create(owner)) return false;
    ShowWindow(SW_SHOW);
    SetForegroundWindow(hwnd_);
    SetActiveWindow(hwnd_);
    if (HWND first = FirstFocus()) SetFocus(first);
    return true;
}

int EditorDialog::DoModal(HWND owner) {
    // The owner takes no input while the editor is up; disabled first, so that the
    // activation and the keyboard go to the editor.
    const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled) EnableWindow(owner, FALSE);
    if (!CreateShown(owner)) {
        if (ownerWasEnabled) EnableWindow(owner, TRUE);
        return IDCANCEL;
    }
    if (!ended_) RunModalLoop();
    // The owner takes the activation back before this window goes, so that no other
    // program's window comes to the front in between.
    if (ownerWasEnabled) EnableWindow(owner, TRUE);
    if (owner && ::IsWindowVisible(owner)) SetForegroundWindow(owner);
    DestroyWindow();
    return result_;
}

void EditorDialog::End(int result) {
    result_ = result;
    ended_ = true;
    ShowWindow(SW_HIDE);
    EndModalLoop(result);
}

void EditorDialog::MakeFont() {
    if (font_) DeleteObject(font_);
    font_ = CreateFontW(Scaled(kFontHeight), 0, 0, 0, 500, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, L"MS Shell Dlg");
}

// The header's title and close button, at 96 DPI: they keep their distance from the right edge.
RECT EditorDialog::TitleRect() const {
    const int width96 = UnscaleFromDpi(width_, dpi());
    return RECT{36, 0, width96 - 20, kHeaderHeight - 2};
}

RECT EditorDialog::CloseRect() const {
    const int width96 = UnscaleFromDpi(width_, dpi());
    return RECT{width96 - 15, 7, width96, 22};
}

BOOL EditorDialog::OnInitDialog() {
    fw::CDialog::OnInitDialog();
    LoadSheets((L"editor_" + sheetName_ + L"_normal.png").c_str(), (L"editor_" + sheetName_ + L"_over.png").c_str(),
               (L"editor_" + sheetName_ + L"_down.png").c_str());
    width_ = static_cast<int>(sheets_.normal.width());
    height_ = static_cast<int>(sheets_.normal.height());
    MakeFont();
    cardBrush_ = CreateSolidBrush(RGB(255, 255, 255));
    ::SetWindowTextW(hwnd_, ToWide(title_).c_str());

    const RECT title96 = TitleRect();
    titleLabel_.Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, Scaled(title96), hwnd_, 0);
    titleLabel_.normalTextColor = titleLabel_.pressedTextColor = titleLabel_.hoverTextColor = kTitleColour;
    titleLabel_.SetTextRect(0, 0, title96.right - title96.left - 8, title96.bottom - title96.top);
    titleLabel_.SetCaption(title_, 0, 1000, 1);
    titleLabel_.accessibleRole = ROLE_SYSTEM_STATICTEXT;
    EnableWindow(titleLabel_, FALSE);

    close_.Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, Scaled(CloseRect()), hwnd_, 0);
    close_.SetAccessibleName(tr("tc_acc_close"));
    LayOut();

    BuildControls();
    return FALSE;  // the focus is set by CreateShown
}

void EditorDialog::LayOut() {
    width_ = static_cast<int>(sheets_.normal.width());
    height_ = static_cast<int>(sheets_.normal.height());
    const auto place = [this](HWND window, const RECT& rect96) {
        const RECT r = Scaled(rect96);
        MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
    };
    // The title is cut from the normal sheet alone: it never changes its look.
    const RECT title96 = TitleRect();
    place(titleLabel_, title96);
    titleLabel_.SetDpi(dpi());
    const RECT title = Scaled(title96);
    titleLabel_.SetSkin(&sheets_.normal, &sheets_.normal, title.left, title.top, title.right - title.left,
                        title.bottom - title.top, &sheets_.normal, &sheets_.normal);
    place(close_, CloseRect());
    sheets_.Skin(close_, CloseRect());
    if (placed_.empty()) return;  // the first layout, before the editor's own controls
    MakeFont();
    for (const Placed& p : placed_) {
        place(p.window, p.rect96);
        if (p.button)
            sheets_.Skin(*p.button, p.rect96);
        else
            SendMessageW(p.window, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    }
}

void EditorDialog::Track(HWND window, const RECT& rect96) {
    if (window) placed_.push_back({window, rect96, nullptr});
}

EditorButton& EditorDialog::AddButton(const RECT& rect, const std::u16string& caption, UINT id) {
    EditorButton* button = id == IDOK ? &ok_ : id == IDCANCEL ? &cancel_ : nullptr;
    if (!button) {
        buttons_.push_back(std::make_unique<EditorButton>());
        button = buttons_.back().get();
    }
    button->Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, Scaled(rect), hwnd_, id);
    sheets_.Skin(*button, rect);
    SetWindowLongPtrW(*button, GWL_STYLE, GetWindowLongPtrW(*button, GWL_STYLE) | WS_TABSTOP);
    button->SetCaption(caption, 0, 1000, 1);
    button->drawsFocus = true;
    placed_.push_back({*button, rect, button});
    AddKeyStop(*button, DialogControl::Button);
    return *button;
}

EditorButton& EditorDialog::AddButton(const RECT& rect, const CaptionKeys& caption, UINT id) {
    EditorButton& button = AddButton(rect, ButtonCaption(caption), id);
    button.marksAccessKey = true;
    return button;
}

HWND EditorDialog::AddLabel(const RECT& rect, const std::u16string& text, bool message) {
    const RECT r = Scaled(rect);
    const HWND label = CreateWindowExW(0, L"STATIC", ToWide(text).c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                                       r.left, r.top, r.right - r.left, r.bottom - r.top, hwnd_, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    if (message) message_ = label;
    Track(label, rect);
    Name(label, u"", ROLE_SYSTEM_STATICTEXT);
    return label;
}

HWND EditorDialog::AddEdit(const RECT& frame, UINT id, const std::u16string& name, DWORD style) {
    // Inside the frame the sheets draw: 6 pixels in at the sides, 5 below its top, 4 above its bottom.
    const RECT inner{frame.left + 6, frame.top + 5, frame.right - 6, frame.bottom - 4};
    const RECT r = Scaled(inner);
    const HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | style,
                                      r.left, r.top, r.right - r.left, r.bottom - r.top, hwnd_,
                                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleW(nullptr),
                                      nullptr);
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    Track(edit, inner);
    Name(edit, name, ROLE_SYSTEM_TEXT);
    AddKeyStop(edit, DialogControl::Text);
    return edit;
}

HWND EditorDialog::AddList(const RECT& frame, UINT id, const std::u16string& name) {
    const RECT inner{frame.left + 2, frame.top + 3, frame.right - 2, frame.bottom - 3};
    const RECT r = Scaled(inner);
    const HWND list = CreateWindowExW(0, L"LISTBOX", L"",
                                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                                      r.left, r.top, r.right - r.left, r.bottom - r.top, hwnd_,
                                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleW(nullptr),
                                      nullptr);
    SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    Track(list, inner);
    Name(list, name, ROLE_SYSTEM_LIST);
    AddKeyStop(list, DialogControl::Text);
    return list;
}

void EditorDialog::ShowMessage(const std::u16string& text) {
    if (!message_) return;
    ::SetWindowTextW(message_, ToWide(text).c_str());
    if (!text.empty()) MessageBeep(MB_ICONWARNING);
}

std::wstring EditorDialog::messageText() const {
    if (!message_) return {};
    return ToWide(WindowTextOf(message_));
}

void EditorDialog::OnOk() {
    if (Confirm()) End(IDOK);
}

bool EditorDialog::MovesFrom(int y) const { return y < Scaled(kHeaderHeight); }

// The editor's own fields first, then the skinned dialog's keys.
bool EditorDialog::PreTranslateMessage(MSG* msg) {
    if (!hwnd_) return false;
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && (msg->hwnd == hwnd_ || IsChild(hwnd_, msg->hwnd)))
        if (OnKeyMessage(msg)) return true;
    return CSkinnedDialog::PreTranslateMessage(msg);
}

LRESULT EditorDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            const HWND from = reinterpret_cast<HWND>(lParam);
            const int id = LOWORD(wParam);
            if (id == IDOK && HIWORD(wParam) == BN_CLICKED) {
                OnOk();
                return 0;
            }
            if (id == IDCANCEL || (from && from == close_.GetSafeHwnd())) {
                OnCancel();
                return 0;
            }
            // Owner-drawn buttons report a second quick click as a double click.
            if (from && id == 0 && (HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == BN_DOUBLECLICKED)) {
                OnButton(from);
                return 0;
            }
            if (from) OnControl(id, HIWORD(wParam));
            return 0;
        }
        case WM_CTLCOLORSTATIC: {
            const HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, reinterpret_cast<HWND>(lParam) == message_ ? kMessageColour : kTextColour);
            SetBkColor(dc, RGB(255, 255, 255));
            return reinterpret_cast<LRESULT>(cardBrush_);
        }
        case WM_CLOSE:
            OnCancel();
            return 0;
        default:
            break;
    }
    return CSkinnedDialog::WindowProc(message, wParam, lParam);
}

}  // namespace mv
