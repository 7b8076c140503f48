// The playing order of an animation's frames: drawing, display times and the
// disposal of each frame, over an abstract drawing surface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace mv {

struct FrameRect {
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const FrameRect&, const FrameRect&) = default;
};

struct FrameTiming {
    FrameRect rect;
    std::optional<std::uint16_t> delay;  // hundredths of a second; none without a control extension
    std::uint8_t disposal = 0;           // 2: restore to background, 3: restore to previous
};

// What the player draws on. The player only composes on this surface; `present`
// publishes a completely drawn frame.
class AnimationCanvas {
public:
    virtual ~AnimationCanvas() = default;
    // Copies the area under `rect` aside (disposal method 3), replacing an earlier copy.
    virtual void saveUnder(const FrameRect& rect) = 0;
    // Gives back the copy made by saveUnder and forgets it; nothing when there is none.
    virtual void restoreSaved(const FrameRect& rect) = 0;
    virtual void fillBackground(const FrameRect& rect) = 0;
    virtual void clearAll() = 0;
    virtual bool drawFrame(std::size_t index, const FrameRect& rect) = 0;
    virtual void present() = 0;
    // Waits `ms`; returns early when a stop is requested.
    virtual void wait(std::uint32_t ms) = 0;
    virtual bool stopRequested() = 0;
};

// Disposal of a frame once it has been shown.
void DisposeFrame(const FrameTiming& frame, AnimationCanvas& canvas);

// Plays `frames` in a loop from `index` until a stop is requested, leaving in
// `index` the frame to continue from.
void PlayAnimation(const std::vector<FrameTiming>& frames, std::size_t& index, AnimationCanvas& canvas);

// The animation held still on its first frame (Windows' "show animations" off): the surface
// cleared, frame 0 drawn and presented, nothing waited for; `index` is left at 0, so a later
// PlayAnimation starts from the beginning.
void ShowFirstFrame(const std::vector<FrameTiming>& frames, std::size_t& index, AnimationCanvas& canvas);

}  // namespace mv
