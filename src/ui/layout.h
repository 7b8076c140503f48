// Placement arithmetic of the settings windows, free of any window.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "base/geometry.h"

namespace mv {

// Top-left corner that centres a width x height window in the full-screen client area.
Point CentreInFullScreen(std::int32_t width, std::int32_t height, std::int32_t screenWidth, std::int32_t screenHeight);

// The window moved the least that puts it wholly inside the work area (a monitor's screen
// less the taskbar); one larger than the area keeps its top-left corner in it. Coordinates are
// signed: monitors left of or above the primary have negative ones.
Rect KeepInside(const Rect& window, const Rect& workArea);

// A width x height window centred over `over`, then kept inside the work area.
Rect CentreOver(const Rect& over, std::int32_t width, std::int32_t height, const Rect& workArea);

struct SubmenuGeometry {
    Point menu;                     // first level's top-left corner (X, Y)
    std::int32_t menuWidth = 0;     // W
    std::int32_t subWidth = 0;      // SW
    std::int32_t subHeight = 0;     // SH
    std::int32_t itemHeight = 17;   // H
    Rect workArea;                  // of the monitor the menu opens on
    std::int32_t dpi = 96;          // the menu's DPI: H and the entry offsets are 96-DPI figures
};

// Where the second level of category `index` (with `count` entries) opens: right or left
// of the first level, top-aligned with the entry or bottom-aligned with it, as the work area
// has room. X, Y, W, SW, SH and the area are screen pixels; each offset from Y is its 96-DPI
// figure scaled.
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
