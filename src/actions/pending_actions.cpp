// Horizontal scrolling, music-player control, key chords and macros are not
// built yet; until they are, these operations have no effect.
#include "actions/cfunction.h"

namespace mv {

void CFunction::ScrollHorizontal(int) {}
void CFunction::PlayPause() {}
void CFunction::StopPlayback() {}
void CFunction::PreviousTrack() {}
void CFunction::NextTrack() {}
void CFunction::PlayKeyChord(std::uint8_t, std::uint8_t, std::uint8_t) {}
void CFunction::PlayMacro(std::uint8_t) {}

}  // namespace mv
