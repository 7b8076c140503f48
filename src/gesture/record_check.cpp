#include "gesture/record_check.h"

#include <algorithm>

#include "actions/key_chord.h"
#include "base/text_fill.h"
#include "gesture/launch_target.h"
#include "settings/macro_book.h"

namespace mv {

namespace {

constexpr std::uint8_t kOpenCode = 25;
constexpr std::uint8_t kChordCode = 19;
constexpr std::uint8_t kMacroCode = 20;

bool TargetAllowed(const std::u16string& stored) {
    // The editors store what their check gives back; anything else was made elsewhere.
    const LaunchTargetCheck check = IsWebAddress(stored) ? CheckWebAddress(stored) : CheckProgramPath(stored);
    return check.error == LaunchTargetError::None && check.target == stored;
}

bool MacroAllowed(std::uint8_t index, const MacroStore& macros) {
    if (index >= MacroStore::kEntryCount) return false;
    const MacroEntry entry = ReadMacroEntry(macros, index);
    if (entry.repeatFlag() != 0 && (entry.repeatCount() < 1 || entry.repeatCount() > kMaxRepeatCount)) return false;
    if (entry.stepCount() > MacroStore::kMaxSteps) return false;
    for (std::size_t i = 0; i < entry.playableSteps(); ++i)
        if (entry.step(i).delayMs > kMaxStepGapMs) return false;
    return true;
}

// Calls `visit(program, slot, record)` for every record that decides a gesture.
template <typename Visit>
void ForEachDecidingRecord(const Settings& settings, Visit visit) {
    for (GestureSlot slot = 0; slot < kSlotCount; ++slot) visit(std::u16string(), slot, settings.allPrograms.records[slot]);
    for (const Profile& p : settings.profiles.all())
        for (GestureSlot slot = 0; slot < kSlotCount; ++slot)
            if (p.Overrides(slot)) visit(p.program, slot, p.image.records[slot]);
}

}  // namespace

RecordProblem CheckRecord(const FunctionRecord& record, const MacroStore& macros) {
    switch (record.actionCode()) {
        case kOpenCode: return TargetAllowed(record.programPath()) ? RecordProblem::None : RecordProblem::Target;
        case kMacroCode: return MacroAllowed(record.macroIndex(), macros) ? RecordProblem::None : RecordProblem::Macro;
        case kChordCode: {
            const KeyChord chord{record.chordModifiers(), record.chordKey1(), record.chordKey2()};
            return !chord.empty() && FindReservedChord(chord) == ReservedChord::None ? RecordProblem::None
                                                                                     : RecordProblem::Chord;
        }
        default: return RecordProblem::None;
    }
}

std::vector<RefusedRecord> RefusedRecords(const Settings& settings) {
    std::vector<RefusedRecord> refused;
    ForEachDecidingRecord(settings, [&](const std::u16string& program, GestureSlot slot, const FunctionRecord& r) {
        const RecordProblem problem = CheckRecord(r, settings.macros);
        if (problem == RecordProblem::None) return;
        std::u16string what = problem == RecordProblem::Target  ? r.programPath()
                              : problem == RecordProblem::Macro ? u"macro " + DecimalText(r.macroIndex() + 1)
                                                                : u"key chord";
        refused.push_back({program, slot, problem, std::move(what)});
    });
    return refused;
}

std::vector<std::u16string> LaunchTargetsOf(const Settings& settings) {
    std::vector<std::u16string> targets;
    ForEachDecidingRecord(settings, [&](const std::u16string&, GestureSlot, const FunctionRecord& r) {
        if (r.actionCode() != kOpenCode) return;
        std::u16string target = r.programPath();
        if (std::find(targets.begin(), targets.end(), target) == targets.end()) targets.push_back(std::move(target));
    });
    return targets;
}

}  // namespace mv
