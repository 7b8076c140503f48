// The skinned button's window-free decisions: the paint tables of plain and toggle
// mode, caption placement, and the mouse-move rules for hover and capture.
#include <gtest/gtest.h>

#include "ui/button_paint.h"

namespace mv {
namespace {

using P = ButtonPicture;
using C = ButtonTextColour;

ButtonPaint Paint(bool toggle, bool latched, bool hover, bool pressed, bool disabled) {
    return ChooseButtonPaint({toggle, latched, hover, pressed, disabled});
}

TEST(ButtonPaint, PlainModeRowsInOrder) {
    // Latched wins over everything, with the normal text colour even under the pointer.
    EXPECT_EQ(Paint(false, true, true, true, true), (ButtonPaint{P::Pressed, C::Normal}));
    EXPECT_EQ(Paint(false, false, true, true, true), (ButtonPaint{P::Pressed, C::Pressed}));
    EXPECT_EQ(Paint(false, false, true, false, true), (ButtonPaint{P::Hover, C::Hover}));
    EXPECT_EQ(Paint(false, false, false, false, true), (ButtonPaint{P::Disabled, C::Disabled}));
    EXPECT_EQ(Paint(false, false, false, false, false), (ButtonPaint{P::Normal, C::Normal}));
}

TEST(ButtonPaint, ToggleModeIgnoresThePressedState) {
    EXPECT_EQ(Paint(true, true, true, true, true), (ButtonPaint{P::Disabled, C::Disabled}));
    EXPECT_EQ(Paint(true, true, true, true, false), (ButtonPaint{P::Pressed, C::Pressed}));
    EXPECT_EQ(Paint(true, false, true, true, false), (ButtonPaint{P::Hover, C::Hover}));
    EXPECT_EQ(Paint(true, false, false, true, true), (ButtonPaint{P::Disabled, C::Disabled}));
    EXPECT_EQ(Paint(true, false, false, true, false), (ButtonPaint{P::Normal, C::Unchanged}));
}

TEST(ButtonPaint, HighContrastColoursFollowThePictureTheStateWouldShow) {
    const ContrastPaint plain{SystemColour::Menu, SystemColour::MenuText};
    const ContrastPaint highlighted{SystemColour::Highlight, SystemColour::HighlightText};
    const ContrastPaint grey{SystemColour::Menu, SystemColour::GrayText};
    const auto contrast = [](bool toggle, bool latched, bool hover, bool pressed, bool disabled) {
        return ChooseButtonContrast({toggle, latched, hover, pressed, disabled});
    };
    EXPECT_EQ(contrast(false, false, false, false, false), plain);
    EXPECT_EQ(contrast(false, false, true, false, false), highlighted);   // hover, or the keyboard's highlight
    EXPECT_EQ(contrast(false, false, false, true, false), highlighted);   // pressed
    EXPECT_EQ(contrast(false, true, false, false, false), highlighted);   // a selected tile
    EXPECT_EQ(contrast(true, true, false, false, false), highlighted);    // the shown page's tab
    EXPECT_EQ(contrast(false, false, false, false, true), grey);          // the disabled function button
    EXPECT_EQ(contrast(true, true, false, false, true), grey);            // latched but disabled
    EXPECT_EQ(contrast(true, false, false, true, false), plain);          // toggle mode ignores a press
}

TEST(ButtonCaption, EscapementOnlyForTheExactRotationValues) {
    EXPECT_EQ(CaptionEscapement(2), 900);
    EXPECT_EQ(CaptionEscapement(3), 2700);
    EXPECT_EQ(CaptionEscapement(6), 0);  // two-line mode, not rotated
    EXPECT_EQ(CaptionEscapement(7), 0);
    EXPECT_EQ(CaptionEscapement(1), 0);
}

CaptionInput Caption(std::u16string text, int layout, int threshold) {
    CaptionInput in;
    in.caption = std::move(text);
    in.layout = layout;
    in.threshold = threshold;
    in.client = {0, 0, 113, 105};
    return in;
}

TEST(ButtonCaption, TwoLineSplitIsAfterEightUnitsWhateverTheThreshold) {
    CaptionPlacement p = PlaceCaption(Caption(u"abcde", 4, 0));
    EXPECT_TRUE(p.twoLines);
    EXPECT_EQ(p.firstLine, u"abcde");
    EXPECT_EQ(p.secondLine, u"");

    p = PlaceCaption(Caption(u"abcdefg", 5, 7));
    EXPECT_FALSE(p.twoLines);
    EXPECT_EQ(p.firstLine, u"abcdefg");

    p = PlaceCaption(Caption(u"abcdefghi", 6, 7));
    EXPECT_TRUE(p.twoLines);
    EXPECT_EQ(p.firstLine, u"abcdefgh");
    EXPECT_EQ(p.secondLine, u"i");

    p = PlaceCaption(Caption(u"abcdefghijkl", 1, 0));  // no bit 4: one line
    EXPECT_FALSE(p.twoLines);
    EXPECT_EQ(p.firstLine, u"abcdefghijkl");
}

TEST(ButtonCaption, RectanglesWithAndWithoutATextRect) {
    CaptionInput in = Caption(u"abcdefghij", 5, 0);
    in.offsetX = 4;
    CaptionPlacement p = PlaceCaption(in);
    EXPECT_EQ(p.first, (Rect{5, 0, 113, 105}));
    EXPECT_EQ(p.second, (Rect{5, 6, 113, 105}));

    // With a text rectangle the offset is not applied; an upside-down rectangle is kept as it is.
    in.textRectSet = true;
    in.textRect = {0, 122, 110, 42};
    p = PlaceCaption(in);
    EXPECT_EQ(p.first, (Rect{0, 122, 110, 42}));
    EXPECT_EQ(p.second, (Rect{0, 137, 110, 57}));
}

TEST(ButtonCaption, AMultiLineButtonWrapsWithinWhatIsVisible) {
    // The restore question: a text rectangle reaching out of the label on the left.
    CaptionInput in = Caption(u"Restore the default gestures, pointer speed and pointer acceleration?", 1, 5);
    in.client = {0, 0, 190, 50};
    in.textRectSet = true;
    in.textRect = {-90, 0, 250, 50};
    in.multiLine = true;
    CaptionPlacement p = PlaceCaption(in);
    EXPECT_TRUE(p.wrapped);
    EXPECT_FALSE(p.twoLines);
    EXPECT_EQ(p.firstLine, in.caption);
    EXPECT_EQ(p.first, (Rect{0, 0, 190, 50}));
    // An upside-down rectangle is turned right way up before it is cut to the client area.
    in.textRect = {0, 122, 110, 42};
    EXPECT_EQ(PlaceCaption(in).first, (Rect{0, 42, 110, 50}));
    // Two-line mode keeps its own lines; a button without the style never wraps.
    in.layout = 5;
    EXPECT_FALSE(PlaceCaption(in).wrapped);
    in.layout = 1;
    in.multiLine = false;
    EXPECT_FALSE(PlaceCaption(in).wrapped);
}

TEST(ButtonMove, EnteringTakesTheCaptureAndLeavingReleasesIt) {
    ButtonMoveInput in;
    in.activeWindow = true;
    in.hasOwner = true;
    in.atPoint = WindowAtPoint::Self;
    EXPECT_EQ(ButtonMouseMove(in), (ButtonMoveResult{true, true, false, true, true}));

    in.hover = true;
    in.hasCapture = true;
    EXPECT_EQ(ButtonMouseMove(in), (ButtonMoveResult{true, false, false, false, true}));  // still over it

    in.atPoint = WindowAtPoint::Other;
    EXPECT_EQ(ButtonMouseMove(in), (ButtonMoveResult{false, false, true, true, true}));

    // Pressed and dragged off: the highlight goes, the capture stays for the release.
    in.leftDown = true;
    EXPECT_EQ(ButtonMouseMove(in), (ButtonMoveResult{false, false, false, true, true}));
}

TEST(ButtonMove, DragFromElsewhereIsDroppedAndNoActiveWindowMeansNoHover) {
    ButtonMoveInput in;
    in.leftDown = true;
    in.activeWindow = true;
    in.hasOwner = true;
    EXPECT_EQ(ButtonMouseMove(in), (ButtonMoveResult{}));

    in.leftDown = false;
    in.activeWindow = false;
    in.atPoint = WindowAtPoint::Self;
    EXPECT_EQ(ButtonMouseMove(in), (ButtonMoveResult{false, false, false, false, true}));
    // No window of the thread active, capture lost elsewhere: the pointer over another window releases.
    in.atPoint = WindowAtPoint::Other;
    EXPECT_EQ(ButtonMouseMove(in), (ButtonMoveResult{false, false, true, false, true}));
    in.hasOwner = false;
    in.activeWindow = true;
    in.atPoint = WindowAtPoint::None;
    EXPECT_EQ(ButtonMouseMove(in), (ButtonMoveResult{false, false, false, false, true}));
}

}  // namespace
}  // namespace mv
