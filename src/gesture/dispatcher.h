// The single place where a function record becomes an effect.
#pragma once

#include <string_view>

#include "actions/action_set.h"
#include "actions/cfunction.h"
#include "actions/facebook.h"
#include "gesture/function_record.h"

namespace mv {

// Root address of the Facebook web site; the launch codes append their paths.
inline constexpr std::u16string_view kFacebookSiteRoot = u"https://www.facebook.com";

// Runs the action that record's ActionCode names on `actions`, evaluating the
// catalogue's conditions (the Windows version is asked afresh each time).
void DispatchAction(const FunctionRecord& record, CFaceBookFunction& facebook, ActionSet& actions,
                    DesktopSeam& desktop);

// Creates a CFunction for the call and dispatches the record to it.
void ExecuteFunction(const FunctionRecord& record, CFaceBookFunction& facebook, const ActionContext& context);

}  // namespace mv
