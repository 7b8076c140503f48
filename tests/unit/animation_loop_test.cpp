// The playing order of animation frames, composed on a small pixel surface.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ui/animation_loop.h"

namespace mv {
namespace {

constexpr std::uint32_t kBackground = 0xFFFFFF;

// Frame i paints its rectangle in colour i + 1; `present` records the surface.
class PixelCanvas : public AnimationCanvas {
public:
    PixelCanvas(int w, int h, int stopAfterWaits) : w_(w), h_(h), pixels_(w * h, kBackground), waitsLeft_(stopAfterWaits) {}

    std::vector<std::vector<std::uint32_t>> shown;  // surface at every present
    std::vector<std::uint32_t> waits;
    std::vector<std::string> log;

    void saveUnder(const FrameRect& r) override {
        log.push_back("save");
        saved_ = copy(r);
        hasSaved_ = true;
    }
    void restoreSaved(const FrameRect& r) override {
        log.push_back("restore");
        if (!hasSaved_) return;
        std::size_t k = 0;
        for (int y = r.top; y < r.top + r.height; ++y)
            for (int x = r.left; x < r.left + r.width; ++x) at(x, y) = saved_[k++];
        hasSaved_ = false;
    }
    void fillBackground(const FrameRect& r) override {
        log.push_back("fill");
        fill(r, kBackground);
    }
    void clearAll() override {
        log.push_back("clear");
        fill({0, 0, w_, h_}, kBackground);
    }
    bool drawFrame(std::size_t index, const FrameRect& r) override {
        log.push_back("draw" + std::to_string(index));
        if (index == failingFrame) return false;
        fill(r, static_cast<std::uint32_t>(index + 1));
        return true;
    }
    void present() override { shown.push_back(pixels_); }
    void wait(std::uint32_t ms) override {
        waits.push_back(ms);
        if (--waitsLeft_ <= 0) stop_ = true;
    }
    bool stopRequested() override { return stop_; }
    void restart(int waits) {
        stop_ = false;
        waitsLeft_ = waits;
    }
    std::uint32_t pixel(int x, int y) const { return pixels_[y * w_ + x]; }
    static std::uint32_t pixelOf(const std::vector<std::uint32_t>& s, int x, int y) { return s[y * 20 + x]; }

    std::size_t failingFrame = 1000;

private:
    std::uint32_t& at(int x, int y) { return pixels_[y * w_ + x]; }
    void fill(const FrameRect& r, std::uint32_t c) {
        for (int y = r.top; y < r.top + r.height; ++y)
            for (int x = r.left; x < r.left + r.width; ++x) at(x, y) = c;
    }
    std::vector<std::uint32_t> copy(const FrameRect& r) const {
        std::vector<std::uint32_t> out;
        for (int y = r.top; y < r.top + r.height; ++y)
            for (int x = r.left; x < r.left + r.width; ++x) out.push_back(pixels_[y * w_ + x]);
        return out;
    }
    int w_, h_;
    std::vector<std::uint32_t> pixels_;
    std::vector<std::uint32_t> saved_;
    bool hasSaved_ = false;
    int waitsLeft_;
    bool stop_ = false;
};

// 20 x 20: a full background frame, a disposal-2 patch, a disposal-3 patch, a frame without control extension.
std::vector<FrameTiming> FourFrames() {
    return {
        {{0, 0, 20, 20}, 10, 1},
        {{2, 2, 4, 4}, 20, 2},
        {{10, 10, 5, 5}, 4, 3},
        {{0, 0, 2, 2}, std::nullopt, 0},
    };
}

TEST(AnimationLoop, DisposalMethodsComposeAsTheyShould) {
    PixelCanvas canvas(20, 20, 5);
    std::size_t index = 0;
    PlayAnimation(FourFrames(), index, canvas);
    ASSERT_EQ(canvas.shown.size(), 5u);

    // Frame 1 on top of frame 0.
    EXPECT_EQ(PixelCanvas::pixelOf(canvas.shown[1], 3, 3), 2u);
    EXPECT_EQ(PixelCanvas::pixelOf(canvas.shown[1], 12, 12), 1u);
    // Frame 1's area is background again before frame 2 is drawn (method 2).
    EXPECT_EQ(PixelCanvas::pixelOf(canvas.shown[2], 3, 3), kBackground);
    EXPECT_EQ(PixelCanvas::pixelOf(canvas.shown[2], 12, 12), 3u);
    // Method 3 gives back what was under frame 2.
    EXPECT_EQ(PixelCanvas::pixelOf(canvas.shown[3], 12, 12), 1u);
    EXPECT_EQ(PixelCanvas::pixelOf(canvas.shown[3], 1, 1), 4u);
    EXPECT_EQ(PixelCanvas::pixelOf(canvas.shown[3], 3, 3), kBackground);
    // After the last frame the surface is cleared, then frame 0 covers it again.
    EXPECT_EQ(PixelCanvas::pixelOf(canvas.shown[4], 3, 3), 1u);
    EXPECT_EQ(PixelCanvas::pixelOf(canvas.shown[4], 1, 1), 1u);
    EXPECT_EQ(index, 0u);  // stopped during frame 0's wait
}

TEST(AnimationLoop, DisplayTimesIncludeFramesWithoutControlExtension) {
    PixelCanvas canvas(20, 20, 8);
    std::size_t index = 0;
    PlayAnimation(FourFrames(), index, canvas);
    EXPECT_EQ(canvas.waits, (std::vector<std::uint32_t>{100, 200, 100, 100, 100, 200, 100, 100}));
}

TEST(AnimationLoop, WrapClearsBeforeTheFirstFrameAgain) {
    std::vector<FrameTiming> frames = {{{0, 0, 4, 4}, 5, 0}, {{4, 4, 4, 4}, 5, 0}};
    PixelCanvas canvas(20, 20, 3);
    std::size_t index = 0;
    PlayAnimation(frames, index, canvas);
    EXPECT_EQ(canvas.log, (std::vector<std::string>{"draw0", "draw1", "clear", "draw0"}));
    // Without the clear, frame 1 would still be visible beside frame 0.
    EXPECT_EQ(PixelCanvas::pixelOf(canvas.shown[2], 5, 5), kBackground);
    EXPECT_EQ(PixelCanvas::pixelOf(canvas.shown[2], 1, 1), 1u);
}

TEST(AnimationLoop, StopsAfterTheWaitAndRestartsFromTheInterruptedFrame) {
    PixelCanvas canvas(20, 20, 3);
    std::size_t index = 0;
    PlayAnimation(FourFrames(), index, canvas);
    // Stopped while frame 2 was showing: its disposal has not run yet.
    EXPECT_EQ(index, 2u);
    EXPECT_EQ(canvas.log.back(), "draw2");
    EXPECT_EQ(canvas.pixel(12, 12), 3u);

    canvas.log.clear();
    canvas.restart(1);
    PlayAnimation(FourFrames(), index, canvas);
    // The interrupted frame is undone (method 3) and drawn again over what was under it.
    EXPECT_EQ(canvas.log, (std::vector<std::string>{"restore", "save", "draw2"}));
    EXPECT_EQ(index, 2u);
}

TEST(AnimationLoop, AStopRequestedBeforehandDrawsNothing) {
    PixelCanvas canvas(20, 20, 1);
    canvas.wait(0);  // uses up the only wait: the stop is now requested
    canvas.waits.clear();
    std::size_t index = 0;
    PlayAnimation(FourFrames(), index, canvas);
    EXPECT_TRUE(canvas.shown.empty());
    EXPECT_TRUE(canvas.waits.empty());
}

TEST(AnimationLoop, AFrameThatFailsToDrawIsNotPresentedButTimed) {
    PixelCanvas canvas(20, 20, 3);
    canvas.failingFrame = 1;
    std::size_t index = 0;
    PlayAnimation(FourFrames(), index, canvas);
    EXPECT_EQ(canvas.shown.size(), 2u);  // frames 0 and 2
    EXPECT_EQ(canvas.waits.size(), 3u);
}

TEST(AnimationLoop, OutOfRangeStartAndNoFrames) {
    PixelCanvas canvas(20, 20, 1);
    std::size_t index = 7;
    PlayAnimation({}, index, canvas);
    EXPECT_TRUE(canvas.log.empty());
    PlayAnimation(FourFrames(), index, canvas);
    EXPECT_EQ(canvas.log.front(), "draw0");
}

TEST(AnimationLoop, HeldStillTheFirstFrameAloneIsShownWithoutWaiting) {
    PixelCanvas canvas(20, 20, 3);
    std::size_t index = 0;
    PlayAnimation(FourFrames(), index, canvas);  // interrupted in frame 3's wait
    ASSERT_EQ(index, 2u);
    canvas.log.clear();
    canvas.waits.clear();
    ShowFirstFrame(FourFrames(), index, canvas);
    EXPECT_EQ(canvas.log, (std::vector<std::string>{"clear", "draw0"}));
    EXPECT_TRUE(canvas.waits.empty());
    EXPECT_EQ(index, 0u);
    // Frame 0 alone: what frame 2 left is gone.
    EXPECT_EQ(PixelCanvas::pixelOf(canvas.shown.back(), 12, 12), 1u);
    EXPECT_EQ(PixelCanvas::pixelOf(canvas.shown.back(), 3, 3), 1u);
    // Playing again starts from frame 0.
    canvas.restart(1);
    canvas.log.clear();
    PlayAnimation(FourFrames(), index, canvas);
    EXPECT_EQ(canvas.log.front(), "draw0");
    // No frames: nothing drawn; a first frame that fails to draw is not presented.
    canvas.log.clear();
    ShowFirstFrame({}, index, canvas);
    EXPECT_TRUE(canvas.log.empty());
    const std::size_t shown = canvas.shown.size();
    canvas.failingFrame = 0;
    ShowFirstFrame(FourFrames(), index, canvas);
    EXPECT_EQ(canvas.shown.size(), shown);
}

}  // namespace
}  // namespace mv
