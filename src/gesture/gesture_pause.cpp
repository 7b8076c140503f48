#include "gesture/gesture_pause.h"

namespace mv {

GesturePause::GesturePause() { ResetRecordsToDefaults(defaults_); }

}  // namespace mv
