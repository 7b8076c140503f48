// A user's key chord in the record coding (modifier mask, two key bytes), its
// text for the user ("Ctrl+Shift+T"), the chords Windows keeps for itself, and
// the capture of a chord from the keys the user presses.
#pragma once

#include <cstdint>
#include <string>

namespace mv {

// Modifier mask bits: low nibble left-hand keys, high nibble right-hand keys.
inline constexpr std::uint8_t kChordLeftCtrl = 0x01;
inline constexpr std::uint8_t kChordLeftShift = 0x02;
inline constexpr std::uint8_t kChordLeftAlt = 0x04;
inline constexpr std::uint8_t kChordLeftWin = 0x08;
inline constexpr std::uint8_t kChordCtrl = 0x11;
inline constexpr std::uint8_t kChordShift = 0x22;
inline constexpr std::uint8_t kChordAlt = 0x44;
inline constexpr std::uint8_t kChordWin = 0x88;

// Key bytes that stand for the mouse buttons.
inline constexpr std::uint8_t kChordLeftButton = 0xC1;
inline constexpr std::uint8_t kChordRightButton = 0xC2;
inline constexpr std::uint8_t kChordMiddleButton = 0xC3;

struct KeyChord {
    std::uint8_t modifiers = 0;
    std::uint8_t key1 = 0;
    std::uint8_t key2 = 0;

    bool empty() const { return modifiers == 0 && key1 == 0 && key2 == 0; }
    friend bool operator==(const KeyChord&, const KeyChord&) = default;
};

bool IsMouseButtonKey(std::uint8_t key);
// The mask bit of a side-specific modifier key (0xA0 to 0xA5, 0x5B, 0x5C); 0 for any other key.
std::uint8_t ModifierBit(std::uint8_t vk);

// The names of the three mouse buttons, in the user's language.
struct MouseButtonNames {
    std::u16string left, right, middle;
};

// The name of one key byte as its keycap reads ("T", "F5", "Page Down", "Num 7");
// "Key 0xNN" for a code without a name.
std::u16string KeyName(std::uint8_t key, const MouseButtonNames& buttons);
// Modifiers in playing order (Ctrl, Shift, Alt, Win), then the keys, joined by "+".
std::u16string ChordText(const KeyChord& chord, const MouseButtonNames& buttons);

enum class ReservedChord { None, CtrlAltDel, WinL };
// Chords that Windows takes before any program sees them, and that injected input cannot play.
ReservedChord FindReservedChord(const KeyChord& chord);

// Builds a chord from key presses and releases: modifiers pressed (either hand) go
// into the mask, the first two other keys become key 1 and key 2, and the chord is
// taken when every key is up again. A capture that loses the keyboard while keys are
// down is dropped: that is what Ctrl+Alt+Del and Win+L look like to a program.
class ChordCapture {
public:
    enum class Result {
        Pending,      // keys are still down (or nothing happened)
        Captured,     // chord() holds the new chord
        Reserved,     // the keys form a chord Windows keeps; chord() unchanged
        Interrupted,  // the keyboard went elsewhere with keys down; chord() unchanged
        TooManyKeys,  // a third key was pressed; it is not part of the chord
    };

    // `vk` side-specific for modifiers (0xA0 to 0xA5, 0x5B, 0x5C). A key already down
    // (auto-repeat) is ignored.
    Result keyDown(std::uint8_t vk);
    Result keyUp(std::uint8_t vk);
    // The keyboard focus left the capture.
    Result interrupted();
    // Adds a mouse button as the next key of the chord; false when both keys are taken.
    bool addMouseButton(std::uint8_t button);
    void clear();
    void setChord(const KeyChord& chord) { chord_ = chord; }

    // What the user holds now while a capture is under way, else the chord.
    KeyChord shown() const { return building() ? build_ : chord_; }
    const KeyChord& chord() const { return chord_; }
    bool building() const { return held_ != 0 || heldKeys_[0] != 0 || heldKeys_[1] != 0; }

private:
    bool isHeld(std::uint8_t vk) const;
    KeyChord chord_;
    KeyChord build_;
    std::uint8_t held_ = 0;              // modifier bits down
    std::uint8_t heldKeys_[2] = {0, 0};  // other keys down
};

}  // namespace mv
