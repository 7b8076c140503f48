// The macro editor's data, free of any window: a working copy of the macros and their
// names that the user edits (new, delete, rename, record, delete a step, change a
// delay, the repeat flag and count), checked at every step, and handed back to the
// program only when the user confirms.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "settings/macro_book.h"

namespace mv {

class MacroEditorModel {
public:
    enum class Error {
        None,
        NoSelection,   // no macro chosen
        Full,          // all 100 entries in use
        TooManySteps,  // more than 265 steps
        NoSteps,       // a macro without steps cannot be assigned
        BadName,       // 1 to 64 units, no control characters
        BadCount,      // 1 to kMaxRepeatCount
        BadDelay,      // 0 to kMaxStepGapMs
        BadStep,       // no such step
    };

    // `selected`: the macro to show first (the gesture's own), if it is in use.
    MacroEditorModel(const MacroStore& store, const MacroNames& names, std::optional<std::size_t> selected);

    // The entries in use, in index order.
    std::vector<std::size_t> listed() const;
    std::optional<std::size_t> selected() const { return selected_; }
    bool select(std::size_t index);
    MacroData current() const;
    const MacroNames& names() const { return names_; }

    // A new empty macro in the first free entry, named `name`, and selected.
    Error createNew(const std::u16string& name);
    // Clears the selected entry and its name; the selection moves to the next listed one.
    Error deleteSelected();
    Error rename(const std::u16string& name);
    // Replaces the selected macro's steps (a recording); more than 265 change nothing.
    Error setSteps(const std::vector<MacroStep>& steps);
    Error deleteStep(std::size_t step);
    // The time from step `step` to the next one, as playback leaves it.
    Error setGap(std::size_t step, std::uint32_t gapMs);
    Error setRepeat(bool repeat, std::int32_t count);
    // The selected macro can be assigned to a gesture: chosen and with steps.
    Error checkAssignable() const;

    // Writes the working copy back.
    void commit(MacroStore& store, MacroNames& names) const;

private:
    Error write(const MacroData& macro);

    std::unique_ptr<MacroStore> store_;
    MacroNames names_;
    std::optional<std::size_t> selected_;
};

}  // namespace mv
