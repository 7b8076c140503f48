// Per-program gesture profiles. "All programs" is ButtonSetting; a profile is an image in
// the same layout, for one program (its executable's file name), with a mask of the
// gestures it overrides. A gesture the profile does not override follows All programs.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "gesture/registry.h"
#include "gesture/settings_images.h"

namespace mv {

// One subkey per program below this key, named by the program's file name, holding
// ButtonSetting (the ButtonSettingBlob layout) and Overrides (REG_DWORD, bit n = slot n).
inline constexpr char16_t kProfilesKey[] = u"Software\\Morvi\\MVSET\\Corvel\\Profiles";
inline constexpr char16_t kProfileOverridesValue[] = u"Overrides";

using SlotMask = std::uint32_t;  // bit n stands for slot n
inline constexpr SlotMask kAllSlots = (1u << kSlotCount) - 1;
inline constexpr SlotMask SlotBit(GestureSlot slot) { return 1u << slot; }
// Longest program name: a registry key name and a file name both hold 255 units.
inline constexpr std::size_t kMaxProgramName = 255;

struct Profile {
    std::u16string program;  // e.g. u"notepad.exe", as the user chose it
    ButtonSettingBlob image{};
    SlotMask overrides = 0;

    bool Overrides(GestureSlot slot) const { return (overrides & SlotBit(slot)) != 0; }
};

// Both names stand for the same program: equal without regard to letter case.
bool SameProgram(std::u16string_view a, std::u16string_view b);
// The file name part of a path (after the last backslash, slash or drive colon).
std::u16string_view ProgramFileName(std::u16string_view path);
// A name that can stand for a program: 1 to 255 units, no path separators or characters
// that file names cannot hold, not "." or "..".
bool ValidProgramName(std::u16string_view name);

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

// Loading and saving the profiles in the registry.
class ProfileStore {
public:
    explicit ProfileStore(RegistrySeam& registry) : registry_(registry) {}
    // Every subkey with a valid program name; a shorter ButtonSetting replaces the start of
    // a defaults image, a missing Overrides value overrides nothing. Keys of invalid names
    // and unreadable values are skipped.
    ProfileSet Load();
    // Replaces the stored profiles with `set` (removed ones disappear).
    bool Save(const ProfileSet& set);
    // Removes every stored profile.
    bool RemoveAll();

private:
    RegistrySeam& registry_;
};

}  // namespace mv
