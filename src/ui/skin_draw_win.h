// Painting a whole window with its skin sheets.
#pragma once

#include <windows.h>

#include <string>

#include "ui/bitmap_btn_win.h"
#include "ui/layout.h"
#include "ui/skin_picture_win.h"

namespace mv {

// Draws the picture scaled over (0, 0, width, height) with GDI+; nothing when it is empty.
void DrawSkinPicture(HDC dc, const SkinPicture& picture, int width, int height);

// The normal, over and down sheets of a skinned window, from the skin set of its DPI: the
// window takes the normal sheet's size and picture, its controls cut their four pictures from
// the sheets at their own rectangles (the disabled one from the normal sheet). The over sheet
// is read when a control is first drawn under the pointer.
struct SkinSheets {
    SkinPicture normal;
    SkinPicture over;
    SkinPicture down;
    int dpi = 96;

    void Load(const std::wstring& directory, const wchar_t* normalName, const wchar_t* overName,
              const wchar_t* downName, int dpi = 96);
    void Reset();
    // Gives `window` the normal sheet's size, centred in the full-screen area; the corner.
    Point SizeAndCentre(HWND window) const;
    // Cuts the button's pictures at its rectangle, given at 96 DPI, and gives it the sheets' DPI.
    void Skin(CBitmapBtn& button, const RECT& rect96) const;
    // The WM_PAINT of the window: the normal sheet over the whole window.
    void Paint(HWND window) const;
};

}  // namespace mv
