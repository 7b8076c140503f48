// Recording a macro: the keys and mouse buttons the user presses and releases, each
// with the time that passed until the next one, turned into steps that the player
// reproduces with the same timing; and the text of a step for the editor's list.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "actions/key_chord.h"
#include "settings/settings_images.h"

namespace mv {

// The player waits this long after every keyboard event (none after a mouse button).
inline constexpr std::uint32_t kPlayerKeyPauseMs = 50;

// The delay to store after a step so that playback leaves `gapMs` between this
// step's event and the next one; the player's own pause after a key is taken off.
std::uint32_t StoredDelayForGap(std::uint8_t key, std::uint32_t gapMs);
// The gap playback leaves after a step with this stored delay.
std::uint32_t PlayedGap(const MacroStep& step);

class MacroRecorder {
public:
    void start();
    // One press or release at `timeMs` (a millisecond tick count, wrapping allowed).
    // A press of a key that is already down (auto-repeat) and a release of a key never
    // pressed while recording are left out. Key 0 is ignored.
    void event(std::uint8_t key, bool up, std::uint32_t timeMs);
    // Ends the recording; the last step's delay is 0. Keys and buttons still down get a
    // release step, so that playback never leaves one pressed.
    std::vector<MacroStep> stop();

    bool recording() const { return recording_; }
    std::size_t stepCount() const { return events_.size(); }

private:
    struct Timed {
        std::uint8_t key;
        bool up;
        std::uint32_t time;
    };
    bool recording_ = false;
    std::vector<Timed> events_;
    std::vector<std::uint8_t> down_;
};

// "T", a direction text and the time until the next step as playback leaves it:
// e.g. "T  press  120 ms".
std::u16string MacroStepText(const MacroStep& step, const MouseButtonNames& buttons, const std::u16string& pressText,
                             const std::u16string& releaseText, const std::u16string& msText);

}  // namespace mv
