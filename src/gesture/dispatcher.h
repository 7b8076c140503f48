// The single place where a function record becomes an effect.
#pragma once

#include <string_view>

#include "actions/action_set.h"
#include "actions/cfunction.h"
#include "actions/facebook.h"
#include "settings/function_record.h"
#include "settings/settings_images.h"

namespace mv {

// Root address of the Facebook web site; the launch codes append their paths.
inline constexpr std::u16string_view kFacebookSiteRoot = u"https://www.facebook.com";

// Runs the action that record's ActionCode names on `actions`, evaluating the
// catalogue's conditions (the Windows version is asked afresh each time).
void DispatchAction(const FunctionRecord& record, CFaceBookFunction& facebook, ActionSet& actions,
                    DesktopSeam& desktop);

// The record starts a program, opens a page or plays a macro: what must not happen behind the
// lock screen.
bool StartsOrPlays(const FunctionRecord& record);

// Creates a CFunction for the call and dispatches the record to it.
void ExecuteFunction(const FunctionRecord& record, CFaceBookFunction& facebook, const ActionContext& context);

// Runs the records of the gestures: on the desktop, or recorded by a test.
class ActionRunner {
public:
    virtual ~ActionRunner() = default;
    virtual void run(const FunctionRecord& record, const MacroStore& macros) = 0;
};

class DesktopActions final : public ActionRunner {
public:
    // `ownWindowTitle`: the settings window's title, where a macro stops (may be null).
    DesktopActions(InputSeam& input, DesktopSeam& desktop, SystemSeam& system, const std::u16string* ownWindowTitle)
        : input_(input), desktop_(desktop), system_(system), title_(ownWindowTitle), facebook_(desktop, system) {}
    void run(const FunctionRecord& record, const MacroStore& macros) override {
        ExecuteFunction(record, facebook_, ActionContext{input_, desktop_, system_, macros, title_});
    }

private:
    InputSeam& input_;
    DesktopSeam& desktop_;
    SystemSeam& system_;
    const std::u16string* title_;
    CFaceBookFunction facebook_;
};

}  // namespace mv
