// Synthetic input and messages to windows: the seam every injected key, click and
// wheel notch goes through.
#pragma once

#include <cstdint>

#include "base/geometry.h"
#include "seams/desktop.h"

namespace mv {

// keybd_event / mouse_event / window messages / Sleep / the pointer position.
class InputSeam {
public:
    virtual ~InputSeam() = default;
    virtual void keybdEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags, std::uintptr_t extraInfo) = 0;
    virtual void mouseEvent(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::int32_t data,
                            std::uintptr_t extraInfo) = 0;
    virtual std::uint32_t mapVirtualKey(std::uint32_t code, std::uint32_t mapType) = 0;
    virtual std::uintptr_t messageExtraInfo() = 0;
    virtual bool postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) = 0;
    virtual std::intptr_t sendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                      std::intptr_t lParam) = 0;
    virtual void sleep(std::uint32_t milliseconds) = 0;
    virtual bool cursorPos(Point& where) = 0;
    virtual bool setCursorPos(Point where) = 0;
};

}  // namespace mv
