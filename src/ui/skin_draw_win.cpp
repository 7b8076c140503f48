#include "ui/skin_draw_win.h"

namespace mv {

void DrawSkinPicture(HDC dc, const SkinPicture& picture, int width, int height) {
    using namespace Gdiplus;
    using namespace Gdiplus::DllExports;
    if (!dc || picture.empty()) return;
    GpGraphics* graphics = nullptr;
    if (GdipCreateFromHDC(dc, &graphics) != Ok || !graphics) return;
    GdipDrawImageRectI(graphics, picture.bitmap(), 0, 0, width, height);
    GdipDeleteGraphics(graphics);
}

}  // namespace mv
