#include "ui/macro_editor_model.h"

#include "actions/macro_recorder.h"

namespace mv {

MacroEditorModel::MacroEditorModel(const MacroStore& store, const MacroNames& names,
                                   std::optional<std::size_t> selected)
    : store_(std::make_unique<MacroStore>(store)), names_(names) {
    if (selected && MacroInUse(*store_, names_, *selected)) {
        selected_ = selected;
    } else {
        const auto all = listed();
        if (!all.empty()) selected_ = all.front();
    }
}

std::vector<std::size_t> MacroEditorModel::listed() const {
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < MacroStore::kEntryCount; ++i)
        if (MacroInUse(*store_, names_, i)) out.push_back(i);
    return out;
}

bool MacroEditorModel::select(std::size_t index) {
    if (!MacroInUse(*store_, names_, index)) return false;
    selected_ = index;
    return true;
}

MacroData MacroEditorModel::current() const { return selected_ ? ReadMacro(*store_, *selected_) : MacroData{}; }

MacroEditorModel::Error MacroEditorModel::write(const MacroData& macro) {
    switch (WriteMacro(*store_, *selected_, macro)) {
        case MacroWriteResult::Written: return Error::None;
        case MacroWriteResult::TooManySteps: return Error::TooManySteps;
        case MacroWriteResult::BadRepeatCount: return Error::BadCount;
        case MacroWriteResult::BadIndex: return Error::NoSelection;
    }
    return Error::NoSelection;
}

MacroEditorModel::Error MacroEditorModel::createNew(const std::u16string& name) {
    if (!IsValidMacroName(name)) return Error::BadName;
    const auto free = FirstFreeMacro(*store_, names_);
    if (!free) return Error::Full;
    ClearMacro(*store_, *free);
    names_.setName(*free, name);
    selected_ = free;
    return Error::None;
}

MacroEditorModel::Error MacroEditorModel::deleteSelected() {
    if (!selected_) return Error::NoSelection;
    const std::size_t gone = *selected_;
    ClearMacro(*store_, gone);
    names_.setName(gone, u"");
    selected_.reset();
    const auto all = listed();
    for (const std::size_t i : all)
        if (i > gone) {
            selected_ = i;
            break;
        }
    if (!selected_ && !all.empty()) selected_ = all.back();
    return Error::None;
}

MacroEditorModel::Error MacroEditorModel::rename(const std::u16string& name) {
    if (!selected_) return Error::NoSelection;
    if (!IsValidMacroName(name)) return Error::BadName;
    names_.setName(*selected_, name);
    return Error::None;
}

MacroEditorModel::Error MacroEditorModel::setSteps(const std::vector<MacroStep>& steps) {
    if (!selected_) return Error::NoSelection;
    if (steps.size() > MacroStore::kMaxSteps) return Error::TooManySteps;
    MacroData macro = current();
    macro.steps = steps;
    return write(macro);
}

MacroEditorModel::Error MacroEditorModel::deleteStep(std::size_t step) {
    if (!selected_) return Error::NoSelection;
    MacroData macro = current();
    if (step >= macro.steps.size()) return Error::BadStep;
    macro.steps.erase(macro.steps.begin() + static_cast<std::ptrdiff_t>(step));
    return write(macro);
}

MacroEditorModel::Error MacroEditorModel::setGap(std::size_t step, std::uint32_t gapMs) {
    if (!selected_) return Error::NoSelection;
    if (gapMs > kMaxStepGapMs) return Error::BadDelay;
    MacroData macro = current();
    if (step >= macro.steps.size()) return Error::BadStep;
    macro.steps[step].delayMs = StoredDelayForGap(macro.steps[step].key, gapMs);
    return write(macro);
}

MacroEditorModel::Error MacroEditorModel::setRepeat(bool repeat, std::int32_t count) {
    if (!selected_) return Error::NoSelection;
    if (repeat && (count < 1 || count > kMaxRepeatCount)) return Error::BadCount;
    MacroData macro = current();
    macro.repeat = repeat;
    // Without the flag the count is not used; keep what was stored.
    if (repeat) macro.repeatCount = count;
    return write(macro);
}

MacroEditorModel::Error MacroEditorModel::checkAssignable() const {
    if (!selected_) return Error::NoSelection;
    if (current().steps.empty()) return Error::NoSteps;
    return Error::None;
}

void MacroEditorModel::commit(MacroStore& store, MacroNames& names) const {
    store = *store_;
    names = names_;
}

}  // namespace mv
