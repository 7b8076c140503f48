// CPictureEx: the picture control that plays a gesture's animated GIF in a loop
// (or shows any other picture still). Frames are decoded once, at load; a worker
// thread composes them on a back surface and publishes each finished frame to the
// front surface that painting copies, both under one lock.
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
    // A GIF is split into its frames; anything else (or a GIF of one image) is a
    // still picture. Resizes the control to the picture. `block` stays the caller's.
    bool loadPictureData(HGLOBAL block, DWORD length);
    // Starts the animation (two or more frames) or draws the still picture once.
    void showPicture();
    // Ends the animation thread; a later showPicture continues with the interrupted frame.
    void stopAnimation();
    // Stops and releases everything loaded.
    void clearPicture();

    bool isGif() const;
    bool isPlaying() const { return thread_ != nullptr; }
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
    IPicture* decode(HGLOBAL memory, DWORD length, bool freeWithStream);
    void onPaint();

    std::shared_ptr<State> state_;
    HANDLE thread_ = nullptr;
    DWORD stopTimeoutMs_ = 5000;
    FrameHook frameHook_;
};

}  // namespace mv
