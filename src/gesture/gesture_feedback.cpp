#include "gesture/gesture_feedback.h"

#include "gesture/function_names.h"

namespace mv {

std::string_view FeedbackNameKey(DeviceEventCode code, const FunctionRecord& ran) {
    if (code == kEventWheelUp || code == kEventWheelDown) return {};
    const std::uint8_t action = ran.actionCode();
    if (action == 161 || action == 162) return {};  // named in the window, but they run nothing
    const std::string_view key = FunctionNameKey(action);
    if (key == "tc_function_none" || key == "tc_function_other") return {};
    return key;
}

}  // namespace mv
