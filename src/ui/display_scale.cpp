#include "ui/display_scale.h"

namespace mv {

namespace {

std::int32_t ValidDpi(std::int32_t dpi) { return dpi < 1 ? kBaseDpi : dpi; }

// n / d rounded to the nearest integer, halves away from zero (d > 0).
std::int32_t RoundedQuotient(std::int64_t n, std::int64_t d) {
    const std::int64_t magnitude = ((n < 0 ? -n : n) * 2 + d) / (2 * d);
    return static_cast<std::int32_t>(n < 0 ? -magnitude : magnitude);
}

}  // namespace

std::int32_t ScaleToDpi(std::int32_t value, std::int32_t dpi) {
    return RoundedQuotient(static_cast<std::int64_t>(value) * ValidDpi(dpi), kBaseDpi);
}

std::int32_t UnscaleFromDpi(std::int32_t pixels, std::int32_t dpi) {
    return RoundedQuotient(static_cast<std::int64_t>(pixels) * kBaseDpi, ValidDpi(dpi));
}

Rect ScaleRect(const Rect& r, std::int32_t dpi) {
    return {ScaleToDpi(r.left, dpi), ScaleToDpi(r.top, dpi), ScaleToDpi(r.right, dpi), ScaleToDpi(r.bottom, dpi)};
}

Point ScalePoint(Point p, std::int32_t dpi) { return {ScaleToDpi(p.x, dpi), ScaleToDpi(p.y, dpi)}; }

std::int32_t DpiOfPercent(std::int32_t percent) { return RoundedQuotient(std::int64_t{percent} * kBaseDpi, 100); }

std::vector<std::int32_t> SkinScalesToTry(std::int32_t dpi) {
    dpi = ValidDpi(dpi);
    std::vector<std::int32_t> order;
    if (dpi <= kBaseDpi) return {100};
    for (const std::int32_t percent : kSkinScales)
        if (DpiOfPercent(percent) >= dpi) order.push_back(percent);
    order.push_back(100);
    return order;
}

std::u16string SkinScaleFolder(std::int32_t percent) {
    if (percent == 100) return {};
    std::u16string digits;
    for (std::int32_t v = percent; v > 0; v /= 10) digits.insert(digits.begin(), static_cast<char16_t>(u'0' + v % 10));
    return digits + u"\\";
}

PixelSize SizeAtDpi(PixelSize drawn, std::int32_t percent, std::int32_t dpi) {
    const std::int32_t from = DpiOfPercent(percent);
    if (from == ValidDpi(dpi)) return drawn;
    return {ScaleToDpi(UnscaleFromDpi(drawn.width, from), dpi), ScaleToDpi(UnscaleFromDpi(drawn.height, from), dpi)};
}

}  // namespace mv
