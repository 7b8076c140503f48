// The one check every record passes, wherever it comes from (an editor, the registry at
// start, an imported file): a record fails when the editors would not have made it.
#pragma once

#include <string>
#include <vector>

#include "settings/function_record.h"
#include "settings/settings_images.h"
#include "settings/settings_store.h"

namespace mv {

enum class RecordProblem {
    None,
    Target,  // a program, file or address the open function does not take
    Macro,   // a macro outside the store, repeating or pausing beyond the editor's bounds
    Chord,   // an empty chord, or one Windows keeps for itself
};

RecordProblem CheckRecord(const FunctionRecord& record, const MacroStore& macros);

// A record of the settings that fails the check: where it is and what it holds.
struct RefusedRecord {
    std::u16string program;  // the profile's program; empty for All programs
    GestureSlot slot = 0;
    RecordProblem problem = RecordProblem::None;
    std::u16string what;     // the target, "macro N" or "key chord", for the message
};

// Every record that decides a gesture (All programs' and the profiles' own), checked.
std::vector<RefusedRecord> RefusedRecords(const Settings& settings);
// The programs, files and web pages the records that decide a gesture open, each once.
std::vector<std::u16string> LaunchTargetsOf(const Settings& settings);

}  // namespace mv
