// The decisions of the skinned button that need no window: which picture and
// caption colour a state paints, where the caption lines go, and what a mouse
// move does to the hover flag and the mouse capture.
#pragma once

#include <cstdint>
#include <string>

#include "base/geometry.h"
#include "ui/system_look.h"

namespace mv {

enum class ButtonPicture { Normal, Hover, Pressed, Disabled };
// Unchanged: the device context keeps the text colour it has. Disabled: the button's
// disabled colour when it has one, else its normal colour.
enum class ButtonTextColour { Normal, Pressed, Hover, Disabled, Unchanged };

struct ButtonPaintState {
    bool toggleMode = false;
    bool latched = false;
    bool hover = false;
    bool pressed = false;   // ODS_SELECTED
    bool disabled = false;  // ODS_DISABLED
};

struct ButtonPaint {
    ButtonPicture picture = ButtonPicture::Normal;
    ButtonTextColour colour = ButtonTextColour::Normal;
    friend bool operator==(const ButtonPaint&, const ButtonPaint&) = default;
};

// Plain mode: latched, pressed, hover, disabled, normal (first match wins).
// Toggle mode ignores the pressed state: latched+disabled, latched, hover, disabled, normal.
// A disabled picture is drawn with the disabled text colour.
ButtonPaint ChooseButtonPaint(const ButtonPaintState& state);
// Under high contrast: the system colours of the state whose picture ChooseButtonPaint picks
// (its hover and pressed pictures are the highlighted ones).
ContrastPaint ChooseButtonContrast(const ButtonPaintState& state);

// Font escapement of a caption layout: 900 for exactly 2, 2700 for exactly 3, else 0.
std::int32_t CaptionEscapement(std::int32_t layout);

struct CaptionPlacement {
    std::u16string firstLine;
    std::u16string secondLine;
    Rect first;
    Rect second;
    bool twoLines = false;
    // The first line is the whole caption, broken into as many lines as `first` needs and
    // centred in it vertically.
    bool wrapped = false;
};

struct CaptionInput {
    std::u16string caption;
    std::int32_t layout = 1;
    std::int32_t threshold = 7;
    std::int32_t offsetX = 0;
    bool textRectSet = false;
    Rect textRect;
    Rect client;
    bool multiLine = false;  // BS_MULTILINE: a caption that is not in two-line mode wraps
    // The button's DPI: the text rectangle, the offset and the distances below are 96-DPI
    // figures; the client rectangle is in pixels.
    std::int32_t dpi = 96;
};

// The lines of a caption and the rectangles they are centred in. With a text
// rectangle, line 2 is that rectangle 15 pixels lower; without one, both lines use
// the client rectangle indented by offsetX + 1, line 2 with its top 6 pixels lower
// (all of it at 96 DPI, and scaled to the button's DPI).
// A multi-line button wraps its caption within the part of that rectangle that lies
// in the client area, so that no line runs out of sight.
CaptionPlacement PlaceCaption(const CaptionInput& input);

// What one WM_MOUSEMOVE does to a skinned button.
enum class WindowAtPoint { None, Self, Other };

struct ButtonMoveInput {
    bool leftDown = false;    // MK_LBUTTON in the key flags
    bool hover = false;
    bool hasCapture = false;  // the button holds the mouse capture
    bool activeWindow = false;
    bool hasOwner = false;    // owner window, else parent
    WindowAtPoint atPoint = WindowAtPoint::None;  // WindowFromPoint of the pointer
};

struct ButtonMoveResult {
    bool hover = false;        // the new hover flag
    bool takeCapture = false;
    bool releaseCapture = false;
    bool repaint = false;
    bool forward = false;      // post the move to the parent in screen coordinates
    friend bool operator==(const ButtonMoveResult&, const ButtonMoveResult&) = default;
};

ButtonMoveResult ButtonMouseMove(const ButtonMoveInput& in);

}  // namespace mv
