// The settings window's rectangles at 96 DPI (left, top, right, bottom in client pixels):
// the one table the window lays itself out from, scaled to its DPI with ScaleRect.
#pragma once

#include <array>

#include "base/geometry.h"

namespace mv::main_layout {

// The main sheet's size: the window's size at 96 DPI.
inline constexpr std::int32_t kWidth = 709, kHeight = 477;

inline constexpr Rect kClose{682, 0, 709, 26};
inline constexpr Rect kMinimize{654, 0, 681, 26};
inline constexpr Rect kReset{450, 421, 551, 469};
inline constexpr Rect kApply{562, 421, 662, 469};
inline constexpr Rect kVersion{38, 416, 218, 477};
inline constexpr Rect kFunction{41, 363, 280, 394};
inline constexpr Rect kPointer{289, 363, 409, 394};
inline constexpr std::array<Rect, 3> kTabs{{{40, 65, 165, 105}, {167, 65, 309, 105}, {311, 65, 416, 105}}};
// The six gesture tiles of a page, row by row.
inline constexpr std::array<Rect, 6> kTiles{{{51, 133, 165, 238}, {169, 133, 283, 238}, {287, 133, 401, 238},
                                             {51, 243, 165, 348}, {169, 243, 283, 348}, {287, 243, 401, 348}}};
// The cells of the page sheets the tiles are cut from, in the same order.
inline constexpr std::int32_t kCellWidth = 113, kCellHeight = 105;
inline constexpr std::array<Point, 6> kCellOrigins{{{10, 7}, {127, 7}, {244, 7}, {10, 119}, {127, 119}, {244, 119}}};
inline constexpr Rect Cell(std::size_t i) {
    return {kCellOrigins[i].x, kCellOrigins[i].y, kCellOrigins[i].x + kCellWidth, kCellOrigins[i].y + kCellHeight};
}
inline constexpr Rect kAnimation{444, 122, 669, 384};
// The profile selector, which wears the function button's picture.
inline constexpr Rect kSelector{443, 72, 682, 103};
// The function menu's top-left corner: one pixel below the function button.
inline constexpr Point kMenuCorner{kFunction.left, kFunction.bottom + 1};
inline constexpr Point kSelectorMenuCorner{kSelector.left, kSelector.bottom + 1};

}  // namespace mv::main_layout
