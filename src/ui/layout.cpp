#include "ui/layout.h"

#include <algorithm>

#include "ui/display_scale.h"

namespace mv {

Point CentreInFullScreen(std::int32_t width, std::int32_t height, std::int32_t screenWidth,
                         std::int32_t screenHeight) {
    return {(screenWidth - width) / 2, (screenHeight - height) / 2};
}

Rect KeepInside(const Rect& window, const Rect& area) {
    const auto along = [](std::int32_t start, std::int32_t size, std::int32_t low, std::int32_t high) {
        if (start + size > high) start = high - size;
        return std::max(start, low);
    };
    const std::int32_t x = along(window.left, window.width(), area.left, area.right);
    const std::int32_t y = along(window.top, window.height(), area.top, area.bottom);
    return {x, y, x + window.width(), y + window.height()};
}

Rect CentreOver(const Rect& over, std::int32_t width, std::int32_t height, const Rect& workArea) {
    const std::int32_t x = over.left + (over.width() - width) / 2, y = over.top + (over.height() - height) / 2;
    return KeepInside({x, y, x + width, y + height}, workArea);
}

Point PlaceSubmenu(const SubmenuGeometry& g, std::int32_t i, std::int32_t n) {
    const std::int32_t X = g.menu.x, Y = g.menu.y, W = g.menuWidth, H = g.itemHeight;
    const bool roomRight = X + W + g.subWidth <= g.workArea.right;
    const auto s = [&](std::int32_t v) { return ScaleToDpi(v, g.dpi); };
    const bool roomBelow = Y + s(H * i) + g.subHeight <= g.workArea.bottom;
    if (roomRight && roomBelow) return {X + W, Y + s((H + 1) * i)};
    if (!roomRight && !roomBelow) return {X - W, Y + s((i - n + 1) * H)};
    if (!roomRight) return {X - W, Y + s(H * i)};
    return {X + W, Y + s((i - n + 1) * H)};
}

CaptionLines SplitCaption(const std::u16string& caption, std::int32_t layout, std::int32_t threshold) {
    CaptionLines lines;
    const bool twoLineMode = (layout & 4) != 0 && threshold >= 0 &&
                             caption.size() > static_cast<std::size_t>(threshold);
    if (!twoLineMode) {
        lines.first = caption;
        return lines;
    }
    // Text with spaces (English) breaks between words, at the space nearest the middle;
    // text without (Chinese) after eight units.
    if (caption.size() > 8) {
        std::size_t best = std::u16string::npos;
        for (std::size_t i = 1; i + 1 < caption.size(); ++i) {
            if (caption[i] != u' ') continue;
            const auto distance = [&](std::size_t at) { return at > caption.size() / 2 ? at - caption.size() / 2 : caption.size() / 2 - at; };
            if (best == std::u16string::npos || distance(i) < distance(best)) best = i;
        }
        if (best != std::u16string::npos) {
            lines.first = caption.substr(0, best);
            lines.rest = caption.substr(best + 1);
            lines.twoLines = true;
            return lines;
        }
    }
    std::size_t cut = std::min<std::size_t>(8, caption.size());
    if (cut > 0 && cut < caption.size() && caption[cut - 1] >= 0xD800 && caption[cut - 1] < 0xDC00) --cut;
    lines.first = caption.substr(0, cut);
    lines.rest = caption.substr(cut);
    lines.twoLines = true;
    return lines;
}

std::int32_t DecimalValue(const std::u16string& text) {
    std::int64_t value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') break;
        value = std::min<std::int64_t>(value * 10 + (c - u'0'), INT32_MAX);
    }
    return static_cast<std::int32_t>(value);
}

std::int32_t RegistrySpeedFromSensitivity(const std::u16string& value) {
    if (value.size() < 2) return DecimalValue(value);
    return 10 * static_cast<std::int32_t>(value[0]) + static_cast<std::int32_t>(value[1]) - 528;
}

std::int32_t SpeedStepForRegistrySpeed(std::int32_t speed) { return std::clamp(speed / 2, 0, 9); }

}  // namespace mv
