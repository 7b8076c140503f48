#include "ui/feedback_rules.h"

#include <algorithm>

#include "gesture/bytes.h"
#include "gesture/settings_store.h"
#include "ui/function_names.h"

namespace mv {

namespace {
constexpr std::size_t kDwordSize = 4;
// Clear of the arrow pointer, whose picture hangs down and to the right of its hot spot.
constexpr std::int32_t kRightOfPointer = 16;
constexpr std::int32_t kBelowPointer = 22;
constexpr std::int32_t kLeftOfPointer = 8;
constexpr std::int32_t kAbovePointer = 8;
}  // namespace

bool FeedbackChosen(const std::optional<RegistryValue>& stored) {
    return stored && stored->type == kRegDword && stored->data.size() == kDwordSize && readLe32(stored->data.data()) == 1;
}

bool LoadFeedbackChoice(RegistrySeam& registry) {
    const RegistryKey key = registry.openKey(RegistryRoot::LocalMachine, kButtonSettingKey, kKeyReadWrite);
    if (!key) return false;
    const bool on = FeedbackChosen(registry.queryValue(key, kFeedbackValue, kDwordSize));
    registry.closeKey(key);
    return on;
}

bool SaveFeedbackChoice(RegistrySeam& registry, bool on) {
    RegistryKey key = registry.openKey(RegistryRoot::LocalMachine, kButtonSettingKey, kKeyReadWrite);
    if (!key) key = registry.createKey(RegistryRoot::LocalMachine, kButtonSettingKey, kKeyReadWrite);
    if (!key) return false;
    std::uint8_t data[kDwordSize];
    writeLe32(data, on ? 1 : 0);
    const bool written = registry.setValue(key, kFeedbackValue, kRegDword, data, kDwordSize);
    registry.closeKey(key);
    return written;
}

std::string_view FeedbackNameKey(DeviceEventCode code, const FunctionRecord& ran) {
    if (code == kEventWheelUp || code == kEventWheelDown) return {};
    const std::uint8_t action = ran.actionCode();
    if (action == 161 || action == 162) return {};  // named in the window, but they run nothing
    const std::string_view key = FunctionNameKey(action);
    if (key == "tc_function_none" || key == "tc_function_other") return {};
    return key;
}

FeedbackFrame FeedbackFade::At(std::uint32_t elapsedMs) {
    FeedbackFrame frame;
    if (elapsedMs < kHoldMs) {
        frame.visible = true;
        frame.alpha = kAlpha;
        frame.nextInMs = kHoldMs - elapsedMs;
    } else if (elapsedMs < kHoldMs + kFadeMs) {
        const std::uint32_t left = kHoldMs + kFadeMs - elapsedMs;
        frame.visible = true;
        frame.alpha = static_cast<std::uint8_t>(kAlpha * left / kFadeMs);
        frame.nextInMs = std::min(kStepMs, left);
    }
    return frame;
}

Point FeedbackLabelPosition(Point cursor, std::int32_t width, std::int32_t height, const Rect& workArea) {
    const std::int32_t right = cursor.x + kRightOfPointer, left = cursor.x - kLeftOfPointer - width;
    const std::int32_t below = cursor.y + kBelowPointer, above = cursor.y - kAbovePointer - height;
    const Point candidates[] = {{right, below}, {left, below}, {right, above}, {left, above}};
    for (const Point& at : candidates)
        if (at.x >= workArea.left && at.y >= workArea.top && at.x + width <= workArea.right &&
            at.y + height <= workArea.bottom)
            return at;
    // Larger than the room on every side: below and to the right, moved in from the left and top edges.
    return Point{std::max(right, workArea.left), std::max(below, workArea.top)};
}

}  // namespace mv
