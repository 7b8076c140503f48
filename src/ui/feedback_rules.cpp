#include "ui/feedback_rules.h"

#include <algorithm>

#include "ui/display_scale.h"

namespace mv {

namespace {
// Clear of the arrow pointer, whose picture hangs down and to the right of its hot spot.
constexpr std::int32_t kRightOfPointer = 16;
constexpr std::int32_t kBelowPointer = 22;
constexpr std::int32_t kLeftOfPointer = 8;
constexpr std::int32_t kAbovePointer = 8;
}  // namespace

FeedbackFrame FeedbackFade::At(std::uint32_t elapsedMs, FeedbackLook look) {
    FeedbackFrame frame;
    const std::uint32_t strength = look.opaque ? 255 : kAlpha;
    const std::uint32_t held = look.fades ? kHoldMs : kHoldMs + kFadeMs;
    if (elapsedMs < held) {
        frame.visible = true;
        frame.alpha = static_cast<std::uint8_t>(strength);
        frame.nextInMs = held - elapsedMs;
    } else if (elapsedMs < kHoldMs + kFadeMs) {
        const std::uint32_t left = kHoldMs + kFadeMs - elapsedMs;
        frame.visible = true;
        frame.alpha = static_cast<std::uint8_t>(strength * left / kFadeMs);
        frame.nextInMs = std::min(kStepMs, left);
    }
    return frame;
}

Point FeedbackLabelPosition(Point cursor, std::int32_t width, std::int32_t height, const Rect& workArea,
                            std::int32_t dpi) {
    const auto s = [dpi](std::int32_t v) { return ScaleToDpi(v, dpi); };
    const std::int32_t right = cursor.x + s(kRightOfPointer), left = cursor.x - s(kLeftOfPointer) - width;
    const std::int32_t below = cursor.y + s(kBelowPointer), above = cursor.y - s(kAbovePointer) - height;
    const Point candidates[] = {{right, below}, {left, below}, {right, above}, {left, above}};
    for (const Point& at : candidates)
        if (at.x >= workArea.left && at.y >= workArea.top && at.x + width <= workArea.right &&
            at.y + height <= workArea.bottom)
            return at;
    // Larger than the room on every side: below and to the right, moved in from the left and top edges.
    return Point{std::max(right, workArea.left), std::max(below, workArea.top)};
}

}  // namespace mv
