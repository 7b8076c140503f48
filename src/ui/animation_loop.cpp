#include "ui/animation_loop.h"

#include "ui/gif_blocks.h"

namespace mv {

void DisposeFrame(const FrameTiming& frame, AnimationCanvas& canvas) {
    if (frame.disposal == 2)
        canvas.fillBackground(frame.rect);
    else if (frame.disposal == 3)
        canvas.restoreSaved(frame.rect);
}

void PlayAnimation(const std::vector<FrameTiming>& frames, std::size_t& index, AnimationCanvas& canvas) {
    if (frames.empty()) return;
    if (index >= frames.size()) index = 0;
    // Undo what an interrupted run left of this frame before it is drawn again.
    DisposeFrame(frames[index], canvas);
    while (!canvas.stopRequested()) {
        const FrameTiming& frame = frames[index];
        if (frame.disposal == 3) canvas.saveUnder(frame.rect);
        if (canvas.drawFrame(index, frame.rect)) canvas.present();
        if (canvas.stopRequested()) return;
        canvas.wait(FrameDisplayMs(frame.delay));
        if (canvas.stopRequested()) return;
        DisposeFrame(frame, canvas);
        if (++index == frames.size()) {
            index = 0;
            canvas.clearAll();
        }
    }
}

void ShowFirstFrame(const std::vector<FrameTiming>& frames, std::size_t& index, AnimationCanvas& canvas) {
    index = 0;
    if (frames.empty()) return;
    canvas.clearAll();
    if (canvas.drawFrame(0, frames[0].rect)) canvas.present();
}

}  // namespace mv
