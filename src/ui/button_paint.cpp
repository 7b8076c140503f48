#include "ui/button_paint.h"

#include "ui/display_scale.h"
#include "ui/layout.h"

#include <algorithm>

namespace mv {

ButtonPaint ChooseButtonPaint(const ButtonPaintState& s) {
    using P = ButtonPicture;
    using C = ButtonTextColour;
    if (!s.toggleMode) {
        if (s.latched) return {P::Pressed, C::Normal};
        if (s.pressed) return {P::Pressed, C::Pressed};
        if (s.hover) return {P::Hover, C::Hover};
        if (s.disabled) return {P::Disabled, C::Disabled};
        return {P::Normal, C::Normal};
    }
    if (s.latched && s.disabled) return {P::Disabled, C::Disabled};
    if (s.latched) return {P::Pressed, C::Pressed};
    if (s.hover) return {P::Hover, C::Hover};
    if (s.disabled) return {P::Disabled, C::Disabled};
    return {P::Normal, C::Unchanged};
}

ContrastPaint ChooseButtonContrast(const ButtonPaintState& s) {
    const ButtonPicture picture = ChooseButtonPaint(s).picture;
    return ChooseContrastPaint(picture == ButtonPicture::Hover || picture == ButtonPicture::Pressed, s.disabled);
}

std::int32_t CaptionEscapement(std::int32_t layout) {
    if (layout == 2) return 900;
    if (layout == 3) return 2700;
    return 0;
}

CaptionPlacement PlaceCaption(const CaptionInput& in) {
    CaptionPlacement out;
    const CaptionLines lines = SplitCaption(in.caption, in.layout, in.threshold);
    out.firstLine = lines.first;
    out.secondLine = lines.rest;
    out.twoLines = lines.twoLines;
    const auto s = [&](std::int32_t v) { return ScaleToDpi(v, in.dpi); };
    if (in.textRectSet) {
        const Rect& t = in.textRect;
        out.first = ScaleRect(t, in.dpi);
        out.second = {s(t.left), s(t.top + 15), s(t.right), s(t.bottom + 15)};
    } else {
        out.first = in.client;
        out.first.left += s(in.offsetX + 1);
        out.second = out.first;
        out.second.top += s(6);
    }
    if (in.multiLine && !out.twoLines) {
        out.wrapped = true;
        const Rect& c = in.client;
        out.first = {std::max(out.first.left, c.left), std::max(std::min(out.first.top, out.first.bottom), c.top),
                     std::min(out.first.right, c.right), std::min(std::max(out.first.top, out.first.bottom), c.bottom)};
    }
    return out;
}

ButtonMoveResult ButtonMouseMove(const ButtonMoveInput& in) {
    ButtonMoveResult r;
    r.hover = in.hover;
    // A drag that started elsewhere neither highlights nor is forwarded.
    if (in.leftDown && !in.hover) return r;
    if (!in.hasCapture && in.activeWindow && in.hasOwner) {
        r.hover = true;
        r.takeCapture = true;
        r.repaint = true;
    } else if (in.atPoint == WindowAtPoint::Other) {
        if (in.hover) {
            r.hover = false;
            r.repaint = true;
        }
        // While the left button is held the capture stays, so the release still reaches the button.
        if (!in.leftDown) r.releaseCapture = true;
    }
    r.forward = true;
    return r;
}

}  // namespace mv
