// The state of the pointer settings dialog: the system pointer speed and
// acceleration read from the registry, the slider step and what OK applies.
#pragma once

#include <cstdint>
#include <string>

#include "gesture/registry.h"

namespace mv {

inline constexpr char16_t kMouseKeyPath[] = u"Control Panel\\Mouse";
inline constexpr std::size_t kMouseValueChars = 10;  // read buffer, terminator included

class PointerSettingsModel {
public:
    // MouseSensitivity and MouseSpeed of the current user. A value that is missing,
    // not a string or longer than the buffer keeps the speed 10 / precision 1 held before.
    void readMouseSettings(RegistrySeam& registry);
    // Step, speed code and precision flag from the values read.
    void initialise();

    void setDialogLeft(std::int32_t left) { dialogLeft_ = left; }
    std::int32_t dialogLeft() const { return dialogLeft_; }
    // A mouse move seen by the dialog (screen x); only moves with exactly the left button down count.
    void mouseMoved(std::uint32_t keyFlags, std::int32_t screenX);
    // Where the slider was released, when the dialog knows it: a click without a drag
    // leaves no move with the button down, and the last drag x would be stale.
    void sliderReleasedAt(std::int32_t screenX) { lastDragX_ = screenX; }
    // A press on the slider at the last drag x; true when the step changed.
    bool pressSlider();
    void togglePrecision() { precision_ = precision_ ? 0 : 1; }
    // SPI_SETMOUSESPEED with code + 2, then SPI_SETMOUSE {6, 10, 1} or {0, 0, 0}.
    void apply(PointerSettingsSeam& pointer) const;

    std::int32_t step() const { return step_; }
    // The number of the speed image the slider shows (1 to 10).
    std::int32_t speedImage() const { return step_ + 1; }
    std::int32_t speedCode() const { return code_; }
    bool precision() const { return precision_ != 0; }
    std::int32_t registrySpeed() const { return registrySpeed_; }
    std::int32_t registryPrecision() const { return registryPrecision_; }
    std::int32_t lastDragX() const { return lastDragX_; }

private:
    std::int32_t lastDragX_ = 0;
    std::int32_t dialogLeft_ = 0;
    std::int32_t step_ = 0;
    std::uint32_t precision_ = 0;
    std::int32_t registrySpeed_ = 10;
    std::int32_t registryPrecision_ = 1;
    std::int32_t code_ = 0;
};

}  // namespace mv
