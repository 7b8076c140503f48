// Decoding of device event codes into gesture slots, with the Ctrl+wheel zoom rule.
#pragma once

#include <cstdint>
#include <functional>

#include "seams/clock.h"
#include "settings/function_record.h"
#include "gesture/slot_catalogue.h"

namespace mv {

class GestureEvents {
public:
    using Dispatch = std::function<void(const FunctionRecord&)>;

    explicit GestureEvents(TickClock& clock) : clock_(clock) {}

    // Handles one WM_GESTURE_EVENT code: either notes the Ctrl report, dispatches a
    // transient zoom record, dispatches the record of the slot the code selects,
    // or does nothing. `records` is read at the moment of dispatch.
    void OnGestureEvent(DeviceEventCode code, const FunctionRecordArray& records, const Dispatch& dispatch);
    // The same with the record of a slot chosen at the moment of dispatch (per program):
    // `recordFor` is asked only when the code selects a slot.
    using RecordFor = std::function<const FunctionRecord&(GestureSlot)>;
    void OnGestureEvent(DeviceEventCode code, const RecordFor& recordFor, const Dispatch& dispatch);

    std::uint32_t lastCtrlReport() const { return lastCtrlReport_; }

private:
    TickClock& clock_;
    std::uint32_t lastCtrlReport_ = 0;
};

}  // namespace mv
