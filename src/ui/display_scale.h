// Display scale: every pixel figure of the windows is a figure at 96 DPI, brought to the
// window's DPI by ScaleToDpi and by nothing else. Rectangles are scaled edge by edge, so that
// rectangles that touch at 96 DPI touch at every scale, and a gap between two of them stays
// a gap (never an overlap).
//
// The skin pictures exist for 100 % (the skin folder itself) and for each scale of
// kSkinScales (its subfolders 125, 150 and so on), each drawn on the same grid: a picture
// of w x h pixels at 96 DPI is ScaleToDpi(w) x ScaleToDpi(h) in the set for that DPI.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/geometry.h"

namespace mv {

inline constexpr std::int32_t kBaseDpi = 96;

// value * dpi / 96, rounded to the nearest pixel, halves away from zero; exactly `value` at
// 96 DPI. A DPI below 1 counts as 96.
std::int32_t ScaleToDpi(std::int32_t value, std::int32_t dpi);
// The reverse, for a position measured on screen: the 96-DPI figure that scales to `pixels`
// (the nearest one when none does).
std::int32_t UnscaleFromDpi(std::int32_t pixels, std::int32_t dpi);
Rect ScaleRect(const Rect& rect96, std::int32_t dpi);
Point ScalePoint(Point point96, std::int32_t dpi);

// The picture sets the generator draws beyond 100 %, in percent, and their DPI.
inline constexpr std::array<std::int32_t, 4> kSkinScales{125, 150, 175, 200};
std::int32_t DpiOfPercent(std::int32_t percent);

// The sets to try for a window at `dpi`, best first: the set drawn for that DPI, then the
// larger sets from the nearest up (scaled down), then the 100 % set (scaled up). A DPI at or
// below 96 takes the 100 % set alone.
std::vector<std::int32_t> SkinScalesToTry(std::int32_t dpi);
// The folder of a set inside the skin folder: "" for 100 %, "150\" for 150 %.
std::u16string SkinScaleFolder(std::int32_t percent);

struct PixelSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};
// The size at `dpi` of a picture found in the set of `percent` with size `drawn`: the size
// the set for `dpi` would have given it.
PixelSize SizeAtDpi(PixelSize drawn, std::int32_t percent, std::int32_t dpi);

}  // namespace mv
