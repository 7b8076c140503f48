// The state of the pointer settings dialog: the system pointer speed and
// acceleration read from the registry, the notch the slider shows and what OK applies.
//
// The slider has ten notches; the knob goes to the notch nearest the pointer on a
// press and follows a drag. What OK applies is always the speed the knob shows:
// notch n applies SpeedForNotch(n), and that speed read back (speed / 2, at most 9)
// shows notch n again.
#pragma once

#include <cstdint>
#include <string>

#include "settings/registry_layout.h"

namespace mv {

inline constexpr std::int32_t kSpeedNotches = 10;
inline constexpr std::int32_t kSlowestSpeed = 1;
inline constexpr std::int32_t kFastestSpeed = 20;
// Notch n is drawn at slider x (85 + 194 n) / 10, in pixels from the slider's left edge:
// the speed pictures put the knob there.
inline constexpr std::int32_t kFirstNotchTenths = 85;
inline constexpr std::int32_t kNotchPitchTenths = 194;

// The notch nearest to slider x (clamped to the first and the last).
std::int32_t NotchAtSliderX(std::int32_t sliderX);
// The slider x at which notch n is drawn, rounded to a pixel.
std::int32_t SliderXOfNotch(std::int32_t notch);
// What notch n applies: 1 for the first notch, 20 for the last, 2 n between.
std::int32_t SpeedForNotch(std::int32_t notch);

class PointerSettingsModel {
public:
    // MouseSensitivity and MouseSpeed of the current user, read afresh each time. A value
    // that is missing, not a string or longer than the buffer counts as the system's
    // default (speed 10, precision 1).
    void readMouseSettings(RegistrySeam& registry);
    // Notch, speed and precision flag from the values read: the notch is speed / 2
    // (at most 9), and OK gives back the speed read (kept within 1 to 20).
    void initialise();

    // The knob goes to the notch under slider x (a press, a drag, a release); true when
    // the notch changed. The speed OK applies becomes that notch's.
    bool moveKnobTo(std::int32_t sliderX);
    // The knob to notch `notch` (kept within the slider), as a press on it does.
    bool moveToNotch(std::int32_t notch);
    void togglePrecision() { precision_ = precision_ ? 0 : 1; }
    // SPI_SETMOUSESPEED with the speed shown, then SPI_SETMOUSE {6, 10, 1} or {0, 0, 0}.
    void apply(PointerSettingsSeam& pointer) const;

    // The notch the knob shows (0 to 9).
    std::int32_t step() const { return step_; }
    // The number of the speed picture the slider shows (1 to 10).
    std::int32_t speedImage() const { return step_ + 1; }
    // The speed OK applies.
    std::int32_t speed() const { return speed_; }
    bool precision() const { return precision_ != 0; }
    std::int32_t registrySpeed() const { return registrySpeed_; }
    std::int32_t registryPrecision() const { return registryPrecision_; }

private:
    std::int32_t step_ = 0;
    std::int32_t speed_ = 10;
    std::uint32_t precision_ = 0;
    std::int32_t registrySpeed_ = 10;
    std::int32_t registryPrecision_ = 1;
};

}  // namespace mv
