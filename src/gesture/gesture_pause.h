// Pausing gestures: while paused the device handles every gesture itself, as after the
// program has ended, and a gesture it still reports runs its slot's default function. The
// user's records are never touched; resuming hands them to the device and the gestures again.
// The pause lasts for the run only.
#pragma once

#include "settings/function_record.h"

namespace mv {

class GesturePause {
public:
    GesturePause();

    bool paused() const { return paused_; }
    void setPaused(bool paused) { paused_ = paused; }

    // The records the device is told about and the gestures run: `user`, or while paused the
    // defaults.
    const FunctionRecordArray& active(const FunctionRecordArray& user) const { return paused_ ? defaults_ : user; }

private:
    bool paused_ = false;
    FunctionRecordArray defaults_{};
};

}  // namespace mv
