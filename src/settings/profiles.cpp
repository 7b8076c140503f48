#include "settings/profiles.h"

#include <algorithm>

namespace mv {

SlotMask ChangedSlots(const FunctionRecordArray& records) {
    SlotMask mask = 0;
    for (int slot = 0; slot < kSlotCount; ++slot)
        if (records[slot].actionCode() != DefaultActionTable[slot]) mask |= SlotBit(slot);
    return mask;
}

Profile* ProfileSet::Find(std::u16string_view program) {
    for (Profile& p : profiles_)
        if (SameProgram(p.program, program)) return &p;
    return nullptr;
}

const Profile* ProfileSet::Find(std::u16string_view program) const {
    return const_cast<ProfileSet*>(this)->Find(program);
}

Profile* ProfileSet::Add(std::u16string_view program, const ButtonSettingBlob& allPrograms) {
    if (!ValidProgramName(program) || Find(program)) return nullptr;
    Profile& p = profiles_.emplace_back();
    p.program = std::u16string(program);
    p.image = allPrograms;
    return &p;
}

bool ProfileSet::Remove(std::u16string_view program) {
    const auto it = std::find_if(profiles_.begin(), profiles_.end(),
                                 [&](const Profile& p) { return SameProgram(p.program, program); });
    if (it == profiles_.end()) return false;
    profiles_.erase(it);
    return true;
}

SlotMask ProfileSet::ReportedSlots(const FunctionRecordArray& allPrograms) const {
    SlotMask mask = ChangedSlots(allPrograms);
    for (const Profile& p : profiles_) mask |= p.overrides & ChangedSlots(p.image.records);
    return mask & kAllSlots;
}

void OverrideSlot(Profile& profile, const FunctionRecordArray& allPrograms, GestureSlot slot, std::uint8_t actionCode) {
    if (slot < 0 || slot >= kSlotCount) return;
    if (!profile.Overrides(slot)) profile.image.records[slot] = allPrograms[slot];
    profile.image.records[slot].setActionCode(actionCode);
    profile.overrides |= SlotBit(slot);
}

void FollowAllPrograms(Profile& profile, GestureSlot slot) {
    if (slot >= 0 && slot < kSlotCount) profile.overrides &= ~SlotBit(slot);
}

}  // namespace mv
