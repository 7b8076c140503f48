#include "ui/skin_draw_win.h"

#include "ui/dpi_win.h"

namespace mv {

void DrawSkinPicture(HDC dc, const SkinPicture& picture, int width, int height) {
    if (!dc || picture.empty()) return;
    picture.Draw(dc, width, height);
}

void SkinSheets::Load(const std::wstring& directory, const wchar_t* normalName, const wchar_t* overName,
                      const wchar_t* downName, int sheetsDpi) {
    dpi = sheetsDpi;
    LoadSkin(normal, directory, normalName, dpi);
    // The pointer brings the over sheet: nothing shows it before then.
    over.LoadSkinLater(directory, overName, dpi);
    LoadSkin(down, directory, downName, dpi);
}

void SkinSheets::Reset() {
    normal.Reset();
    over.Reset();
    down.Reset();
}

Point SkinSheets::SizeAndCentre(HWND window) const {
    const int width = static_cast<int>(normal.width());
    const int height = static_cast<int>(normal.height());
    const Point at = CentreInFullScreen(width, height, GetSystemMetrics(SM_CXFULLSCREEN),
                                        GetSystemMetrics(SM_CYFULLSCREEN));
    MoveWindow(window, at.x, at.y, width, height, TRUE);
    return at;
}

void SkinSheets::Skin(CBitmapBtn& button, const RECT& rect96) const {
    const RECT r = ScaledRECT(rect96, dpi);
    button.SetDpi(dpi);
    button.SetSkin(&normal, &over, r.left, r.top, r.right - r.left, r.bottom - r.top, &down, &normal);
}

void SkinSheets::Paint(HWND window) const {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT rc{};
    GetWindowRect(window, &rc);
    DrawSkinPicture(dc, normal, rc.right - rc.left, rc.bottom - rc.top);
    EndPaint(window, &ps);
}

}  // namespace mv
