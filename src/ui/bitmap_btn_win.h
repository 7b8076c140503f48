// CBitmapBtn: the one skinned control of all windows. An owner-drawn push button
// that paints one of four pictures cut from the owner's skin sheets, with an
// optional caption, hover tracking through the mouse capture, an optional
// toggle (latch) mode and a tooltip.
//
// Set-up by the owner, in this order:
//   btn.Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, rect, parent, 0);
//   btn.SetSkin(&normal, &over, x, y, w, h, &down, &normal);   // sheets stay the owner's
//   btn.SetCaption(text, 0, 7, 1);  // optional SetTextRect, SetTooltip, SetLatched, SetToggleMode
// The parent must be a window of the framework layer (fw::CWnd / fw::CDialog), which
// reflects WM_DRAWITEM to the button.
#pragma once

#include "framework/wnd.h"
#include "ui/skin_picture_win.h"

#include <string>

namespace mv {

class CBitmapBtn : public fw::CButton {
public:
    // Lets go of the control's pictures; the next SetSkin gives it new ones.
    void FreePictures();
    CBitmapBtn() = default;
    ~CBitmapBtn() override;

    // Frees the four pictures; each is then cut from its sheet at (x, y, width, height) when it
    // is first drawn (a page or a state never shown costs nothing), so the sheets must live as
    // long as the skin. A null or empty sheet leaves that state without picture. Removes
    // WS_BORDER and WS_TABSTOP. Does not repaint.
    void SetSkin(const SkinPicture* normalSheet, const SkinPicture* hoverSheet, int x, int y, int width,
                 int height, const SkinPicture* pressedSheet, const SkinPicture* disabledSheet);
    // SetSkin followed by a full repaint.
    void ReplaceSkin(const SkinPicture* normalSheet, const SkinPicture* hoverSheet, int x, int y, int width,
                     int height, const SkinPicture* pressedSheet, const SkinPicture* disabledSheet);
    // Layout: exactly 2 rotates 90 degrees, exactly 3 rotates 270 degrees; bit 4 is
    // two-line mode for captions longer than `threshold` units. Repaints.
    void SetCaption(const std::wstring& text, int offset, int threshold, int layout);
    void SetCaption(const std::u16string& text, int offset, int threshold, int layout);
    // The caption is centred in this rectangle (client pixels at 96 DPI) from now on. No repaint.
    void SetTextRect(int left, int top, int right, int bottom);
    // Store and repaint when the value differs.
    void SetLatched(int value);
    void SetToggleMode(int value);
    // Tool 1 over the client rectangle; a second call only changes the text. Empty: nothing.
    void SetTooltip(const std::wstring& text);
    void SetTooltip(const std::u16string& text);
    // The same tooltip, made when the pointer first reaches the button: a button that is
    // never visited costs no tooltip window (the menus and the settings window have many,
    // and each takes milliseconds to make).
    void SetTooltipLater(const std::u16string& text);
    // The disabled picture becomes a faded, grey copy of the normal one, so that a disabled
    // button looks disabled with any skin (the sheets hold no disabled picture of their own).
    void FadeDisabledPicture();
    // Forgets the pointer (the window holding the button is being hidden).
    void ClearHover();
    // Shows the hover picture whether or not the pointer is over the button: a menu
    // category whose second level is open.
    void SetHighlighted(bool value);
    // The DPI the button is laid out for: its caption's font and the distances of its text
    // rectangle (96-DPI figures) are scaled to it. Repaints when it changes.
    void SetDpi(int dpi);
    int dpi() const { return dpi_; }
    // A press no longer gives the button the keyboard focus (which would activate its
    // window): an entry of a menu, whose owner keeps the activation. Plain mode only.
    void NeverTakeFocus() { takesFocus_ = false; }
    // The name assistive technology reads: the window text, which is the caption unless a
    // name of its own was set (a picture-only control, or one whose caption needs context).
    // Painting never reads the window text.
    void SetAccessibleName(const std::wstring& name);
    void SetAccessibleName(const std::u16string& name);

    int IsLatched() const { return latched_; }
    int IsToggleMode() const { return toggleMode_; }
    int IsHovering() const { return hover_; }
    const std::wstring& caption() const { return caption_; }
    HWND tooltipWindow() const { return tooltip_.GetSafeHwnd(); }
    RECT textRect() const { return textRect_; }

    COLORREF normalTextColor = 0x006B5C50;
    COLORREF pressedTextColor = 0x00FFFFFF;
    COLORREF hoverTextColor = 0x00C8C8C8;
    // The caption colour of the disabled picture; CLR_INVALID: normalTextColor.
    COLORREF disabledTextColor = CLR_INVALID;
    int fontHeight = 12;  // at 96 DPI
    // What the control is to assistive technology (ROLE_SYSTEM_*): a push button unless set.
    // A selectable one (a tab, a gesture tile) is selected while latched; one with a popup
    // (the function button) is expanded while latched.
    long accessibleRole = 0x2B;  // ROLE_SYSTEM_PUSHBUTTON
    bool selectable = false;
    bool hasPopup = false;
    // A check box (ROLE_SYSTEM_CHECKBUTTON): checked while latched.
    bool checkable = false;
    // What assistive technology reads as its value (a slider's position); empty: none.
    std::wstring accessibleValue;
    // The caption marks an access key: it is drawn with the key underlined (and a bracketed key
    // shown) only while the top-level window's UI state shows the keyboard cues, else exactly as
    // the text without its key (DrawnCaption).
    bool marksAccessKey = false;
    // The keyboard focus's frame, drawn while the button has the focus and its top-level
    // window's UI state shows focus cues; only in windows whose keys lead the focus (opt in).
    bool drawsFocus = false;
    COLORREF focusColor = RGB(236, 110, 30);
    // Under high contrast (HighContrastOn, asked at each paint): a menu entry is drawn as a
    // system menu item (the menu or highlight colour instead of its picture); any other
    // button keeps its picture and draws its caption on a box of those colours. The focus
    // frame takes the caption's system colour.
    bool contrastAsMenuEntry = false;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool PreTranslateMessage(MSG* msg) override;
    void DrawItem(DRAWITEMSTRUCT* dis) override;

protected:
    void PreSubclassWindow() override;

private:
    void DrawFocusMark(HDC dc, const RECT& client, COLORREF colour) const;
    void EnsureTooltip();
    void OnMouseMove(WPARAM flags, LPARAM point);
    void OnCaptureChanged();
    void OnKillFocus();
    void OnLButtonUp();
    void PressWithoutFocus();
    void ReleaseWithoutFocus(LPARAM point);
    void EndPressWithoutFocus();

    fw::CToolTipCtrl tooltip_;
    int latched_ = 0;
    int toggleMode_ = 0;
    int hover_ = 0;
    bool highlighted_ = false;
    bool takesFocus_ = true;
    bool pressedWithoutFocus_ = false;
    // The GDI copy of a state's picture for drawing it with BitBlt (OpaqueCopy), made on its
    // first drawing; none for a picture with transparent pixels.
    struct Copy {
        HBITMAP bitmap = nullptr;
        bool tried = false;
    };
    HBITMAP CopyOf(Gdiplus::GpBitmap* picture, Copy& copy);
    void FreeCopies();

    // The picture of a state (0 normal, 1 hover, 2 pressed, 3 disabled), cut from its sheet at
    // the first asking and scaled once to the button's size when that differs.
    Gdiplus::GpBitmap* PictureOf(std::size_t state);

    Gdiplus::GpBitmap* normal_ = nullptr;
    Gdiplus::GpBitmap* hoverPicture_ = nullptr;
    Gdiplus::GpBitmap* pressed_ = nullptr;
    Gdiplus::GpBitmap* disabled_ = nullptr;
    const SkinPicture* sheets_[4] = {};  // still to be cut from, per state
    RECT cut_{};
    Copy copies_[4];  // normal, hover, pressed, disabled
    int textRectSet_ = 0;
    RECT textRect_{};
    std::wstring caption_;
    bool ownName_ = false;
    std::wstring laterTooltip_;
    int textOffsetX_ = 0;
    int dpi_ = 96;
    int textLayout_ = 1;
    int wrapThreshold_ = 7;
};

}  // namespace mv
