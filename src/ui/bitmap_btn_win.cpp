#include "ui/bitmap_btn_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>
#include <vector>

#include <oleacc.h>

#include "ui/accessible_win.h"
#include "ui/button_paint.h"
#include "ui/display_scale.h"
#include "ui/keyboard_model.h"
#include "ui/system_look_win.h"
#include "win32/on_demand_dlls.h"

namespace mv {

namespace gp = Gdiplus::DllExports;

namespace {

constexpr UINT kCaptionFormat = DT_CENTER | DT_VCENTER | DT_WORDBREAK | DT_SINGLELINE | DT_NOCLIP | DT_END_ELLIPSIS;
static_assert(kCaptionFormat == 0x8135);
constexpr UINT kWrappedFormat = DT_CENTER | DT_WORDBREAK | DT_NOCLIP;
constexpr UINT_PTR kToolId = 1;
constexpr COLORREF kTipTextColour = 0x00285AF0;
// The focus frame, at 96 DPI.
constexpr int kFocusInset = 4;
constexpr int kFocusRounding = 8;

std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

void Dispose(Gdiplus::GpBitmap*& bitmap) {
    if (bitmap) gp::GdipDisposeImage(bitmap);
    bitmap = nullptr;
}

Gdiplus::GpBitmap* Cut(const SkinPicture* sheet, int x, int y, int width, int height) {
    return sheet ? sheet->CloneArea(x, y, width, height) : nullptr;
}

RECT ToRect(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// The caption fonts, made once for each height and escapement and kept for the program's
// life: realising a font at each paint costs more than the paint (a handful of sizes exist).
HFONT CaptionFont(int height, int escapement) {
    struct Made {
        int height, escapement;
        HFONT font;
    };
    static std::vector<Made> made;
    for (const Made& m : made)
        if (m.height == height && m.escapement == escapement) return m.font;
    HFONT font = ::CreateFontW(height, 0, escapement, 0, 500, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, L"MS Shell Dlg");
    if (font) made.push_back({height, escapement, font});
    return font;
}

}  // namespace

CBitmapBtn::~CBitmapBtn() {
    FreePictures();
    if (tooltip_.GetSafeHwnd()) tooltip_.DestroyWindow();
}

void CBitmapBtn::FreePictures() {
    for (const SkinPicture*& sheet : sheets_) sheet = nullptr;
    Dispose(normal_);
    Dispose(hoverPicture_);
    Dispose(pressed_);
    Dispose(disabled_);
    FreeCopies();
}

void CBitmapBtn::FreeCopies() {
    for (Copy& c : copies_) {
        if (c.bitmap) ::DeleteObject(c.bitmap);
        c = Copy{};
    }
}

HBITMAP CBitmapBtn::CopyOf(Gdiplus::GpBitmap* picture, Copy& copy) {
    if (!copy.tried) {
        copy.bitmap = OpaqueCopy(picture);
        copy.tried = true;
    }
    return copy.bitmap;
}

void CBitmapBtn::PreSubclassWindow() {
    // Skinned controls never take part in keyboard tabbing.
    const LONG_PTR style = ::GetWindowLongPtrW(hwnd_, GWL_STYLE);
    if (style & WS_TABSTOP) ::SetWindowLongPtrW(hwnd_, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_TABSTOP));
}

void CBitmapBtn::SetSkin(const SkinPicture* normalSheet, const SkinPicture* hoverSheet, int x, int y, int width,
                         int height, const SkinPicture* pressedSheet, const SkinPicture* disabledSheet) {
    FreePictures();
    sheets_[0] = normalSheet;
    sheets_[1] = hoverSheet;
    sheets_[2] = pressedSheet;
    sheets_[3] = disabledSheet;
    cut_ = RECT{x, y, width, height};
    if (hwnd_) {
        const LONG_PTR style = ::GetWindowLongPtrW(hwnd_, GWL_STYLE);
        ::SetWindowLongPtrW(hwnd_, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_BORDER | WS_TABSTOP));
    }
}

Gdiplus::GpBitmap* CBitmapBtn::PictureOf(std::size_t state) {
    Gdiplus::GpBitmap** pictures[4] = {&normal_, &hoverPicture_, &pressed_, &disabled_};
    Gdiplus::GpBitmap*& picture = *pictures[state];
    if (const SkinPicture* sheet = std::exchange(sheets_[state], nullptr)) {
        Dispose(picture);
        picture = Cut(sheet, cut_.left, cut_.top, cut_.right, cut_.bottom);
        // A picture that does not have the button's size is scaled once, here, rather than at
        // every paint: scaling costs GDI+ ten times the drawing (a gesture tile is one pixel
        // wider than its cell).
        RECT client{};
        if (picture && hwnd_) ::GetClientRect(hwnd_, &client);
        if (client.right > 0 && client.bottom > 0 && (client.right != cut_.right || client.bottom != cut_.bottom)) {
            if (Gdiplus::GpBitmap* scaled = ScaledCopy(picture, client.right, client.bottom)) {
                Dispose(picture);
                picture = scaled;
            }
        }
        if (copies_[state].bitmap) ::DeleteObject(copies_[state].bitmap);
        copies_[state] = Copy{};
    }
    return picture;
}

void CBitmapBtn::ReplaceSkin(const SkinPicture* normalSheet, const SkinPicture* hoverSheet, int x, int y,
                             int width, int height, const SkinPicture* pressedSheet,
                             const SkinPicture* disabledSheet) {
    SetSkin(normalSheet, hoverSheet, x, y, width, height, pressedSheet, disabledSheet);
    if (hwnd_) Invalidate();
}

void CBitmapBtn::SetAccessibleName(const std::wstring& name) {
    ownName_ = true;
    if (hwnd_) ::SetWindowTextW(hwnd_, name.c_str());
}

void CBitmapBtn::SetAccessibleName(const std::u16string& name) { SetAccessibleName(Wide(name)); }

void CBitmapBtn::SetCaption(const std::wstring& text, int offset, int threshold, int layout) {
    if (hwnd_ && !ownName_ && text != caption_) ::SetWindowTextW(hwnd_, text.c_str());
    caption_ = text;
    textOffsetX_ = offset;
    wrapThreshold_ = threshold;
    textLayout_ = layout;
    if (hwnd_) Invalidate();
}

void CBitmapBtn::SetCaption(const std::u16string& text, int offset, int threshold, int layout) {
    SetCaption(Wide(text), offset, threshold, layout);
}

void CBitmapBtn::SetTextRect(int left, int top, int right, int bottom) {
    textRect_ = RECT{left, top, right, bottom};
    textRectSet_ = 1;
}

void CBitmapBtn::SetDpi(int dpi) {
    if (dpi == dpi_) return;
    dpi_ = dpi;
    if (hwnd_) Invalidate();
}

void CBitmapBtn::SetLatched(int value) {
    if (value == latched_) return;
    latched_ = value;
    if (hwnd_) Invalidate();
}

void CBitmapBtn::SetToggleMode(int value) {
    if (value == toggleMode_) return;
    toggleMode_ = value;
    if (hwnd_) Invalidate();
}

void CBitmapBtn::EnsureTooltip() {
    if (tooltip_.GetSafeHwnd() || !hwnd_) return;
    // Common controls start with the first tip: a program never opened does not load them.
    static const bool controls = [] {
        const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
        return ondemand::InitCommonControlsEx(&classes) != FALSE;
    }();
    (void)controls;
    if (tooltip_.Create(hwnd_)) tooltip_.Activate(false);
}

void CBitmapBtn::SetTooltip(const std::wstring& text) {
    if (text.empty() || !hwnd_) return;
    EnsureTooltip();
    if (!tooltip_.GetSafeHwnd()) return;
    if (tooltip_.GetToolCount() == 0) {
        RECT client{};
        ::GetClientRect(hwnd_, &client);
        tooltip_.AddTool(hwnd_, kToolId, client, text);
    }
    tooltip_.UpdateTipText(hwnd_, kToolId, text);
    tooltip_.Activate(true);
    tooltip_.SetDelayTime(TTDT_AUTOMATIC, 100);
    tooltip_.SetTipTextColor(kTipTextColour);
}

void CBitmapBtn::SetTooltip(const std::u16string& text) { SetTooltip(Wide(text)); }

void CBitmapBtn::SetTooltipLater(const std::u16string& text) {
    if (text.empty()) return;
    if (tooltip_.GetSafeHwnd())
        SetTooltip(text);
    else
        laterTooltip_ = Wide(text);
}

void CBitmapBtn::FadeDisabledPicture() {
    Gdiplus::GpBitmap* normal = PictureOf(0);
    sheets_[3] = nullptr;
    Dispose(disabled_);
    if (copies_[3].bitmap) ::DeleteObject(copies_[3].bitmap);
    copies_[3] = Copy{};
    disabled_ = FadedCopy(normal);
    if (hwnd_) Invalidate();
}

void CBitmapBtn::SetHighlighted(bool value) {
    if (value == highlighted_) return;
    highlighted_ = value;
    if (hwnd_) Invalidate();
}

void CBitmapBtn::ClearHover() {
    if (!hover_) return;
    hover_ = 0;
    if (hwnd_) Invalidate();
}

bool CBitmapBtn::PreTranslateMessage(MSG* msg) {
    // Only the pointer makes a waiting tip and moves it; a paint or a key makes no window.
    if (msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST) {
        if (!laterTooltip_.empty()) SetTooltip(std::exchange(laterTooltip_, std::wstring()));
        if (tooltip_.GetSafeHwnd()) tooltip_.RelayEvent(msg);
    }
    return fw::CButton::PreTranslateMessage(msg);
}

void CBitmapBtn::DrawItem(DRAWITEMSTRUCT* dis) {
    HDC dc = dis->hDC;

    ButtonPaintState state;
    state.toggleMode = toggleMode_ != 0;
    state.latched = latched_ != 0;
    state.hover = hover_ != 0 || highlighted_;
    state.pressed = (dis->itemState & ODS_SELECTED) != 0;
    state.disabled = (dis->itemState & ODS_DISABLED) != 0;
    const ButtonPaint paint = ChooseButtonPaint(state);

    std::size_t shown = 0;
    switch (paint.picture) {
    case ButtonPicture::Normal: shown = 0; break;
    case ButtonPicture::Hover: shown = 1; break;
    case ButtonPicture::Pressed: shown = 2; break;
    case ButtonPicture::Disabled: shown = 3; break;
    }
    Gdiplus::GpBitmap* picture = PictureOf(shown);
    const bool contrast = HighContrastOn();
    const ContrastPaint system = ChooseButtonContrast(state);
    switch (paint.colour) {
    case ButtonTextColour::Normal: ::SetTextColor(dc, normalTextColor); break;
    case ButtonTextColour::Pressed: ::SetTextColor(dc, pressedTextColor); break;
    case ButtonTextColour::Hover: ::SetTextColor(dc, hoverTextColor); break;
    case ButtonTextColour::Disabled:
        ::SetTextColor(dc, disabledTextColor != CLR_INVALID ? disabledTextColor : normalTextColor);
        break;
    case ButtonTextColour::Unchanged: break;
    }

    RECT client{};
    ::GetClientRect(hwnd_, &client);
    if (contrast) ::SetTextColor(dc, SystemColourOf(system.text));
    const auto fillSystem = [&](RECT area) {
        if (!::IntersectRect(&area, &area, &client)) return;
        HBRUSH brush = ::CreateSolidBrush(SystemColourOf(system.fill));
        ::FillRect(dc, &area, brush);
        ::DeleteObject(brush);
    };
    if (contrast && contrastAsMenuEntry)
        fillSystem(client);
    else if (picture)
        DrawPicture(dc, picture, CopyOf(picture, copies_[shown]), client.right, client.bottom);

    if (!caption_.empty()) {
        ::SetBkMode(dc, TRANSPARENT);
        HFONT font = CaptionFont(ScaleToDpi(fontHeight, dpi_), CaptionEscapement(textLayout_));
        HGDIOBJ previous = font ? ::SelectObject(dc, font) : nullptr;

        CaptionInput in;
        in.caption.assign(caption_.begin(), caption_.end());
        if (marksAccessKey)
            in.caption = DrawnCaption(
                in.caption, !(::SendMessageW(::GetAncestor(hwnd_, GA_ROOT), WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL));
        in.layout = textLayout_;
        in.threshold = wrapThreshold_;
        in.offsetX = textOffsetX_;
        in.textRectSet = textRectSet_ != 0;
        in.textRect = {textRect_.left, textRect_.top, textRect_.right, textRect_.bottom};
        in.client = {client.left, client.top, client.right, client.bottom};
        in.multiLine = (::GetWindowLongPtrW(hwnd_, GWL_STYLE) & BS_MULTILINE) == BS_MULTILINE;
        in.dpi = dpi_;
        const CaptionPlacement placed = PlaceCaption(in);

        // Under high contrast a caption on a picture stands on a box of the system colour: the
        // text's extent centred where the line is centred, with a margin.
        const bool boxed = contrast && !contrastAsMenuEntry && CaptionEscapement(textLayout_) == 0;
        const auto box = [&](const std::wstring& text, const RECT& at, UINT format) {
            if (!boxed || text.empty()) return;
            RECT extent{0, 0, at.right - at.left, 0};
            ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &extent, format | DT_CALCRECT);
            const int w = extent.right - extent.left, h = extent.bottom - extent.top, margin = ScaleToDpi(2, dpi_);
            const int cx = (at.left + at.right) / 2, cy = (at.top + at.bottom) / 2;
            fillSystem(RECT{cx - w / 2 - margin, cy - h / 2 - margin, cx - w / 2 + w + margin, cy - h / 2 + h + margin});
        };
        std::wstring line(placed.firstLine.begin(), placed.firstLine.end());
        RECT r = ToRect(placed.first);
        if (placed.wrapped) {
            // As many lines as the width needs, the block centred vertically.
            RECT measured = r;
            ::DrawTextW(dc, line.c_str(), static_cast<int>(line.size()), &measured, kWrappedFormat | DT_CALCRECT);
            const int height = measured.bottom - measured.top;
            r.top += std::max<LONG>(0, (r.bottom - r.top - height) / 2);
            box(line, RECT{r.left, r.top, r.right, r.top + height}, kWrappedFormat);
            ::DrawTextW(dc, line.c_str(), static_cast<int>(line.size()), &r, kWrappedFormat);
        } else {
            box(line, r, DT_SINGLELINE | DT_NOCLIP);
            ::DrawTextW(dc, line.c_str(), static_cast<int>(line.size()), &r, kCaptionFormat);
        }
        if (placed.twoLines) {
            line.assign(placed.secondLine.begin(), placed.secondLine.end());
            r = ToRect(placed.second);
            box(line, r, DT_SINGLELINE | DT_NOCLIP);
            ::DrawTextW(dc, line.c_str(), static_cast<int>(line.size()), &r, kCaptionFormat);
        }
        if (font) ::SelectObject(dc, previous);
    }
    // The focus, once the keyboard has been used (the top-level window's UI state no longer hides it).
    if (drawsFocus && (dis->itemState & ODS_FOCUS) &&
        !(::SendMessageW(::GetAncestor(hwnd_, GA_ROOT), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS))
        DrawFocusMark(dc, client, contrast ? SystemColourOf(system.text) : focusColor);
}

// A rounded frame in the skins' orange (the system's under high contrast), inside the control's edge.
void CBitmapBtn::DrawFocusMark(HDC dc, const RECT& client, COLORREF colour) const {
    const int inset = ScaleToDpi(kFocusInset, dpi_), round = ScaleToDpi(kFocusRounding, dpi_);
    HPEN pen = ::CreatePen(PS_SOLID, ScaleToDpi(1, dpi_), colour);
    if (!pen) return;
    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    ::RoundRect(dc, client.left + inset, client.top + inset, client.right - inset, client.bottom - inset, round, round);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(pen);
}

void CBitmapBtn::OnMouseMove(WPARAM flags, LPARAM point) {
    POINT screen{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    ::ClientToScreen(hwnd_, &screen);

    ButtonMoveInput in;
    in.leftDown = (flags & MK_LBUTTON) != 0;
    in.hover = hover_ != 0;
    in.hasCapture = ::GetCapture() == hwnd_;
    in.activeWindow = ::GetActiveWindow() != nullptr;
    HWND owner = ::GetWindow(hwnd_, GW_OWNER);
    if (!owner) owner = ::GetParent(hwnd_);
    in.hasOwner = owner != nullptr;
    if (!(in.leftDown && !in.hover) && !(!in.hasCapture && in.activeWindow && in.hasOwner)) {
        HWND at = ::WindowFromPoint(screen);
        in.atPoint = !at ? WindowAtPoint::None : at == hwnd_ ? WindowAtPoint::Self : WindowAtPoint::Other;
    }
    const ButtonMoveResult r = ButtonMouseMove(in);
    hover_ = r.hover ? 1 : 0;
    if (r.takeCapture) ::SetCapture(hwnd_);
    if (r.repaint) Invalidate();
    if (r.releaseCapture) ::ReleaseCapture();
    if (r.forward) {
        if (HWND parent = ::GetParent(hwnd_))
            ::PostMessageW(parent, WM_MOUSEMOVE, flags, MAKELPARAM(screen.x, screen.y));
    }
}

void CBitmapBtn::OnCaptureChanged() {
    if (hover_) {
        // Only our own capture: another window of this thread that just took it keeps it.
        if (::GetCapture() == hwnd_) ::ReleaseCapture();
        Invalidate();
    }
}

void CBitmapBtn::OnKillFocus() {
    hover_ = 0;
    Invalidate();
}

void CBitmapBtn::OnLButtonUp() {
    latched_ = !latched_;
    Invalidate();
    if (HWND parent = ::GetParent(hwnd_)) {
        const int id = ::GetDlgCtrlID(hwnd_);
        ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(hwnd_));
    }
}

// The system button takes the focus on a press; this one only takes the capture and shows
// itself pressed, and reports the click when released over it, as the system button does.
void CBitmapBtn::PressWithoutFocus() {
    if (::GetCapture() != hwnd_) ::SetCapture(hwnd_);
    pressedWithoutFocus_ = true;
    ::SendMessageW(hwnd_, BM_SETSTATE, TRUE, 0);
}

void CBitmapBtn::EndPressWithoutFocus() {
    if (!pressedWithoutFocus_) return;
    pressedWithoutFocus_ = false;
    ::SendMessageW(hwnd_, BM_SETSTATE, FALSE, 0);
}

void CBitmapBtn::ReleaseWithoutFocus(LPARAM point) {
    if (!pressedWithoutFocus_) return;
    EndPressWithoutFocus();
    if (::GetCapture() == hwnd_) ::ReleaseCapture();
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    const POINT at{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    if (!::PtInRect(&client, at)) return;
    if (HWND parent = ::GetParent(hwnd_))
        ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(hwnd_), BN_CLICKED), reinterpret_cast<LPARAM>(hwnd_));
}

LRESULT CBitmapBtn::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!takesFocus_ && !toggleMode_) {
        switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            PressWithoutFocus();
            return 0;
        case WM_LBUTTONUP:
            ReleaseWithoutFocus(lParam);
            return 0;
        case WM_CAPTURECHANGED:
            // Another window took the capture: the press is over without a click.
            if (reinterpret_cast<HWND>(lParam) != hwnd_) EndPressWithoutFocus();
            break;
        default:
            break;
        }
    }
    switch (message) {
    case WM_MOUSEMOVE: {
        const LRESULT result = Default(message, wParam, lParam);
        OnMouseMove(wParam, lParam);
        return result;
    }
    case WM_CAPTURECHANGED:
        OnCaptureChanged();
        return Default(message, wParam, lParam);
    case WM_KILLFOCUS: {
        const LRESULT result = Default(message, wParam, lParam);
        OnKillFocus();
        return result;
    }
    case WM_ERASEBKGND:
        return TRUE;
    case WM_GETOBJECT:
        if (const LRESULT answer = AnswerGetObject(hwnd_, wParam, lParam)) return answer;
        return Default(message, wParam, lParam);
    case WM_ACCESSIBLE_TRAITS: {
        auto* traits = reinterpret_cast<AccessibleTraits*>(lParam);
        if (!traits) return 0;
        traits->role = accessibleRole;
        traits->focusable = takesFocus_ && accessibleRole != ROLE_SYSTEM_STATICTEXT;
        if (selectable) traits->state |= STATE_SYSTEM_SELECTABLE | (latched_ ? STATE_SYSTEM_SELECTED : 0);
        if (hasPopup) traits->state |= STATE_SYSTEM_HASPOPUP | (latched_ ? STATE_SYSTEM_EXPANDED : 0);
        if (checkable) traits->state |= latched_ ? STATE_SYSTEM_CHECKED : 0;
        traits->value = accessibleValue;
        if (highlighted_) traits->state |= STATE_SYSTEM_HOTTRACKED;
        return 1;
    }
    case WM_SIZE:
        // Laid out again (another DPI): the tooltip covers the new client area.
        if (tooltip_.GetSafeHwnd() && tooltip_.GetToolCount() > 0) {
            TOOLINFOW tool{};
            tool.cbSize = sizeof tool;
            tool.hwnd = hwnd_;
            tool.uId = kToolId;
            ::GetClientRect(hwnd_, &tool.rect);
            ::SendMessageW(tooltip_.GetSafeHwnd(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
        }
        return Default(message, wParam, lParam);
    case WM_LBUTTONUP:
        if (toggleMode_) {
            OnLButtonUp();
            return 0;
        }
        return Default(message, wParam, lParam);
    case WM_DESTROY:
        if (tooltip_.GetSafeHwnd()) tooltip_.DestroyWindow();
        return Default(message, wParam, lParam);
    default:
        return fw::CButton::WindowProc(message, wParam, lParam);
    }
}

}  // namespace mv
