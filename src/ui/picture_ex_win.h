// CPictureEx: the picture control that plays a gesture's animated GIF in a loop
// (or shows any other picture still). Loading splits a GIF into its frames; a worker
// thread decodes each frame once, the first time it is drawn, composes the frames on
// a back surface and publishes each finished one to the front surface that painting
// copies, both under one lock. Loading thus costs the window no decoding, and the
// worker is made once per control and parked between animations, so that a new
// gesture's animation starts without a thread being made or ended.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "framework/wnd.h"

namespace mv {

struct AnimationFrame {
    IPicture* picture = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::optional<std::uint16_t> delay;  // hundredths of a second; none without a control extension
    std::uint8_t disposal = 0;
};

class CPictureEx : public fw::CStatic {
public:
    // Called on the animation thread after frame `index` has been published.
    using FrameHook = std::function<void(std::size_t index)>;

    CPictureEx();
    ~CPictureEx() override;

    // The whole file, decoded as by loadPictureData. False (control empty) when it
    // cannot be opened or read, or does not decode.
    bool loadPictureFile(const wchar_t* path);
    // A GIF is split into its frames (decoded later, as they are first drawn; a frame the
    // decoder rejects is never drawn); anything else (or a GIF of one image) is a still
    // picture, decoded now. Resizes the control to the picture. `block` stays the caller's.
    bool loadPictureData(HGLOBAL block, DWORD length);
    // Starts the animation (two or more frames) or draws the still picture once. While
    // Windows' "show animations" is off (asked at each call), an animation shows its first
    // frame, still, without a thread; calling again after the setting changed (after
    // stopAnimation) follows it.
    void showPicture();
    // Windows' "show animations" read again (WM_SETTINGCHANGE) for a picture being shown: an
    // animation held still starts playing, a playing one is held still on its first frame.
    void followAnimationSetting();
    bool heldStill() const { return heldStill_; }
    // Stops the animation: the thread waits, parked, for the next showPicture, which
    // continues with the interrupted frame.
    void stopAnimation();
    // Stops and releases everything loaded.
    void clearPicture();
    // The pictures loaded from now on are shown at `size` (a picture from the skin set of
    // another display scale): the control takes that size, and each frame is scaled as it is
    // published, never when painted. {0, 0}: pictures are shown at their own size.
    void setShownSize(SIZE size) { shownSize_ = size; }
    // Stops the animation and ends the thread too (the control is going away or will not be
    // seen for a while); a later showPicture makes a new one.
    void endThread();

    bool isGif() const;
    bool isPlaying() const;
    std::size_t frameCount() const;
    SIZE pictureSize() const;
    bool surfaceReady() const;
    COLORREF backgroundColour() const;

    // How long stopAnimation waits for the thread (5,000 ms). A thread that has not
    // ended by then is left to finish alone; what it still draws on stays alive until
    // it does, and the control starts over empty.
    void setStopTimeout(DWORD ms) { stopTimeoutMs_ = ms; }
    void setFrameHook(FrameHook hook) { frameHook_ = std::move(hook); }
    // The number of loaded-picture states alive in the process (each control has one,
    // and a thread left running keeps its own).
    static long LiveStates();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    struct State;

private:
    bool prepareSurface(int width, int height);
    bool loadFrames(const std::uint8_t* data, std::size_t length);
    void abandonThread();
    void onPaint();

    std::shared_ptr<State> state_;
    SIZE shownSize_{};
    HANDLE thread_ = nullptr;
    bool heldStill_ = false;
    DWORD stopTimeoutMs_ = 5000;
    FrameHook frameHook_;
};

}  // namespace mv
