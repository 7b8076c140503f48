// Painting a whole window with its skin sheet.
#pragma once

#include <windows.h>

#include "ui/skin_picture_win.h"

namespace mv {

// Draws the picture scaled over (0, 0, width, height) with GDI+; nothing when it is empty.
void DrawSkinPicture(HDC dc, const SkinPicture& picture, int width, int height);

}  // namespace mv
