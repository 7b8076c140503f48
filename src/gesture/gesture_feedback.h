// Which name the gesture feedback shows after a gesture ran.
#pragma once

#include <string_view>

#include "gesture/slot_catalogue.h"
#include "settings/function_record.h"

namespace mv {

// The text key of the name to show after `code` ran `ran`; empty for no label: the vertical
// wheel (plain notches or zoom steps, which show themselves), a record that runs nothing, and
// a function without a name of its own.
std::string_view FeedbackNameKey(DeviceEventCode code, const FunctionRecord& ran);

}  // namespace mv
