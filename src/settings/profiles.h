// Per-program gesture profiles. "All programs" is ButtonSetting; a profile is an image in
// the same layout, for one program (its executable's file name), with a mask of the
// gestures it overrides. A gesture the profile does not override follows All programs.
// The store loads and saves them (settings_store.h).
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "base/program_names.h"
#include "settings/settings_images.h"

namespace mv {

using SlotMask = std::uint32_t;  // bit n stands for slot n
inline constexpr SlotMask kAllSlots = (1u << kSlotCount) - 1;
inline constexpr SlotMask SlotBit(GestureSlot slot) { return 1u << slot; }

struct Profile {
    std::u16string program;  // e.g. u"notepad.exe", as the user chose it
    ButtonSettingBlob image{};
    SlotMask overrides = 0;

    bool Overrides(GestureSlot slot) const { return (overrides & SlotBit(slot)) != 0; }
};

// The slots whose function differs from the default in `records`.
SlotMask ChangedSlots(const FunctionRecordArray& records);

class ProfileSet {
public:
    // A deque: adding a profile leaves pointers to the others valid.
    std::deque<Profile>& all() { return profiles_; }
    const std::deque<Profile>& all() const { return profiles_; }
    bool empty() const { return profiles_.empty(); }

    Profile* Find(std::u16string_view program);
    const Profile* Find(std::u16string_view program) const;
    // A new profile that overrides nothing; its records start as copies of All programs'.
    // Null when the name is not valid or already has a profile.
    Profile* Add(std::u16string_view program, const ButtonSettingBlob& allPrograms);
    bool Remove(std::u16string_view program);

    // The slots the device must report: changed in All programs or in an override of any profile.
    SlotMask ReportedSlots(const FunctionRecordArray& allPrograms) const;

private:
    std::deque<Profile> profiles_;
};

// The record that decides `slot` while `profile` (may be null) is the foreground program's.
inline const FunctionRecord& ResolveRecord(const FunctionRecordArray& allPrograms, const Profile* profile,
                                           GestureSlot slot) {
    return profile && profile->Overrides(slot) ? profile->image.records[slot] : allPrograms[slot];
}

// Overrides `slot` in `profile` with `actionCode`: the record starts as All programs' one
// (parameters included) the first time, then only its ActionCode changes.
void OverrideSlot(Profile& profile, const FunctionRecordArray& allPrograms, GestureSlot slot, std::uint8_t actionCode);
// The slot follows All programs again.
void FollowAllPrograms(Profile& profile, GestureSlot slot);

}  // namespace mv
