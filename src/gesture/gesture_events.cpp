#include "gesture/gesture_events.h"

namespace mv {

namespace {
constexpr std::uint8_t kActionZoomIn = 35;
constexpr std::uint8_t kActionZoomOut = 36;
}  // namespace

void GestureEvents::OnGestureEvent(DeviceEventCode code, const FunctionRecordArray& records,
                                   const Dispatch& dispatch) {
    OnGestureEvent(code, [&records](GestureSlot slot) -> const FunctionRecord& { return records[slot]; }, dispatch);
}

void GestureEvents::OnGestureEvent(DeviceEventCode code, const RecordFor& recordFor, const Dispatch& dispatch) {
    if (code == kEventLeftCtrl) {
        lastCtrlReport_ = clock_.tickCount();
        return;
    }
    if (code == kEventWheelUp || code == kEventWheelDown) {
        const std::uint32_t now = clock_.tickCount();
        const std::uint32_t difference = now >= lastCtrlReport_ ? now - lastCtrlReport_ : lastCtrlReport_ - now;
        if (difference <= kZoomWindowMs) {
            dispatch(MakeRecord(code == kEventWheelUp ? kActionZoomIn : kActionZoomOut));
            return;
        }
    }
    const auto key = GestureKeyForEvent(code);
    if (!key) return;
    if (const auto slot = SlotForGestureKey(*key)) dispatch(recordFor(*slot));
}

}  // namespace mv
