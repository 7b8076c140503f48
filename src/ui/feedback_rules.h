// The gesture feedback label's rules: how it fades, and where it stands.
#pragma once

#include <cstdint>

#include "base/geometry.h"

namespace mv {

// The label's course from the moment it is shown: opaque for a while, then fading in steps,
// then hidden. Each frame says when the next one is due, so a timer runs only while it shows.
struct FeedbackFrame {
    bool visible = false;
    std::uint8_t alpha = 0;
    std::uint32_t nextInMs = 0;  // 0 once hidden
};

// What Windows' settings make of the course: without "show animations" the label keeps its
// strength for the whole course and goes at once; under high contrast it is opaque.
struct FeedbackLook {
    bool fades = true;
    bool opaque = false;
};

class FeedbackFade {
public:
    static constexpr std::uint32_t kHoldMs = 1000;
    static constexpr std::uint32_t kFadeMs = 400;
    static constexpr std::uint32_t kStepMs = 40;
    static constexpr std::uint8_t kAlpha = 230;

    // The frame `elapsedMs` after the label was shown (a late timer just lands further on).
    static FeedbackFrame At(std::uint32_t elapsedMs, FeedbackLook look = {});
};

// The label's top-left corner for a label of `width` × `height` and the pointer at `cursor`:
// below and to the right of the pointer, else below-left, above-right or above-left, whichever
// first lies wholly in the work area; never over the pointer's hot spot while one of them does.
// The distances from the pointer are 96-DPI figures scaled to `dpi`, the monitor's.
Point FeedbackLabelPosition(Point cursor, std::int32_t width, std::int32_t height, const Rect& workArea,
                            std::int32_t dpi = 96);

// The label's look at 96 DPI: its font height and the room around the text, and the
// diameter of its rounded corners.
inline constexpr std::int32_t kFeedbackFontHeight = 16;
inline constexpr std::int32_t kFeedbackPadX = 10, kFeedbackPadY = 5, kFeedbackCorner = 8;

}  // namespace mv
