// Editing the user's macros: one MacroEntry of the MacroStore read into a list of
// steps and written back (refused when it does not fit), and the macros' names,
// which the store's layout has no room for and which the store keeps in a value of
// their own beside MacroSetting.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings/settings_images.h"

namespace mv {

// Longest macro name, in UTF-16 units.
inline constexpr std::size_t kMacroNameUnits = 64;
// The most a macro may repeat, and the longest pause after a step: the editor takes no
// more, and a stored macro beyond them does not play.
inline constexpr std::int32_t kMaxRepeatCount = 9999;
inline constexpr std::uint32_t kMaxStepGapMs = 3600000;

struct MacroData {
    bool repeat = false;
    std::int32_t repeatCount = 1;
    std::vector<MacroStep> steps;
    friend bool operator==(const MacroData&, const MacroData&) = default;
};

// Entry `index` (below 100) as steps; a stored step count above 265 reads 265 steps.
MacroData ReadMacro(const MacroStore& store, std::size_t index);

enum class MacroWriteResult { Written, BadIndex, TooManySteps, BadRepeatCount };
// Writes the repeat flag (1 or 0), count, step count and steps of entry `index`;
// zeroes the step room after the last step and keeps every unread byte. More than
// 265 steps, a repeat count below 1 with repeat set, or a bad index change nothing.
MacroWriteResult WriteMacro(MacroStore& store, std::size_t index, const MacroData& macro);
// Clears entry `index`: flag, count, step count and steps become zero.
void ClearMacro(MacroStore& store, std::size_t index);

// The names of the 100 macros; an empty name means "none given".
class MacroNames {
public:
    const std::u16string& name(std::size_t index) const;
    // False (and nothing changes) for a bad index, a name over kMacroNameUnits units or
    // one with a control character.
    bool setName(std::size_t index, const std::u16string& name);
    void clear() { names_ = {}; }

    // The registry value: REG_MULTI_SZ, one string "index=name" per named macro, in index order.
    std::vector<std::uint8_t> Serialize() const;
    // Reads a stored value; malformed strings, bad indices and over-long names are
    // skipped, and the first name given to an index wins. Returns the number skipped.
    std::size_t Parse(const std::vector<std::uint8_t>& multiSz);

    friend bool operator==(const MacroNames&, const MacroNames&) = default;

private:
    std::array<std::u16string, MacroStore::kEntryCount> names_;
};

// A name is acceptable: 1 to kMacroNameUnits units, no control characters.
bool IsValidMacroName(const std::u16string& name);

// Entries the editor lists: those with steps or a name.
bool MacroInUse(const MacroStore& store, const MacroNames& names, std::size_t index);
// The first entry not in use; nothing when all 100 are taken.
std::optional<std::size_t> FirstFreeMacro(const MacroStore& store, const MacroNames& names);

}  // namespace mv
