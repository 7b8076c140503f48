// Placement arithmetic of the settings windows, free of any window.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "base/geometry.h"

namespace mv {

// Top-left corner that centres a width x height window in the full-screen client area.
Point CentreInFullScreen(std::int32_t width, std::int32_t height, std::int32_t screenWidth, std::int32_t screenHeight);

struct SubmenuGeometry {
    Point menu;                     // first level's top-left corner (X, Y)
    std::int32_t menuWidth = 0;     // W
    std::int32_t subWidth = 0;      // SW
    std::int32_t subHeight = 0;     // SH
    std::int32_t itemHeight = 17;   // H
    std::int32_t screenWidth = 0;   // CX
    std::int32_t screenHeight = 0;  // CY
    std::int32_t dpi = 96;          // the menu's DPI: H and the entry offsets are 96-DPI figures
};

// Where the second level of category `index` (with `count` entries) opens: right or left
// of the first level, top-aligned with the entry or bottom-aligned with it. X, Y, W, SW, SH,
// CX and CY are screen pixels; each offset from Y is its 96-DPI figure scaled.
Point PlaceSubmenu(const SubmenuGeometry& g, std::int32_t index, std::int32_t count);

// Caption lines in two-line mode (bit 4 of the layout and longer than the threshold):
// the first 8 units and the rest; a surrogate pair is never cut, so line 1 then holds 7.
// `second` is false for a single line.
struct CaptionLines {
    std::u16string first;
    std::u16string rest;
    bool twoLines = false;
};
CaptionLines SplitCaption(const std::u16string& caption, std::int32_t layout, std::int32_t threshold);

// Pointer speed: registry speed from MouseSensitivity and the slider step it shows.
std::int32_t RegistrySpeedFromSensitivity(const std::u16string& value);
std::int32_t SpeedStepForRegistrySpeed(std::int32_t speed);

// Leading decimal digits of a UTF-16 string as a number; 0 when there are none.
std::int32_t DecimalValue(const std::u16string& text);

}  // namespace mv
