#include "actions/key_chord.h"

#include <cstdio>

namespace mv {

namespace {

std::u16string Ascii(const char* text) {
    std::u16string out;
    for (; *text; ++text) out.push_back(static_cast<char16_t>(*text));
    return out;
}

struct NamedKey {
    std::uint8_t vk;
    const char* name;
};

constexpr NamedKey kNamedKeys[] = {
    {0x03, "Break"}, {0x08, "Backspace"}, {0x09, "Tab"}, {0x0C, "Clear"}, {0x0D, "Enter"},
    {0x10, "Shift"}, {0x11, "Ctrl"}, {0x12, "Alt"}, {0x13, "Pause"}, {0x14, "Caps Lock"},
    {0x1B, "Esc"}, {0x20, "Space"}, {0x21, "Page Up"}, {0x22, "Page Down"}, {0x23, "End"},
    {0x24, "Home"}, {0x25, "Left"}, {0x26, "Up"}, {0x27, "Right"}, {0x28, "Down"},
    {0x2C, "Print Screen"}, {0x2D, "Insert"}, {0x2E, "Delete"}, {0x2F, "Help"},
    {0x5B, "Win"}, {0x5C, "Win"}, {0x5D, "Menu"}, {0x5F, "Sleep"},
    {0x6A, "Num *"}, {0x6B, "Num +"}, {0x6C, "Num Enter"}, {0x6D, "Num -"}, {0x6E, "Num ."}, {0x6F, "Num /"},
    {0x90, "Num Lock"}, {0x91, "Scroll Lock"},
    {0xA0, "Shift"}, {0xA1, "Shift"}, {0xA2, "Ctrl"}, {0xA3, "Ctrl"}, {0xA4, "Alt"}, {0xA5, "Alt"},
    {0xA6, "Browser Back"}, {0xA7, "Browser Forward"}, {0xA8, "Browser Refresh"}, {0xA9, "Browser Stop"},
    {0xAA, "Browser Search"}, {0xAB, "Browser Favorites"}, {0xAC, "Browser Home"},
    {0xAD, "Volume Mute"}, {0xAE, "Volume Down"}, {0xAF, "Volume Up"},
    {0xB0, "Next Track"}, {0xB1, "Previous Track"}, {0xB2, "Stop"}, {0xB3, "Play/Pause"},
    {0xB4, "Mail"}, {0xB5, "Media"}, {0xB6, "App 1"}, {0xB7, "App 2"},
    {0xBA, ";"}, {0xBB, "="}, {0xBC, ","}, {0xBD, "-"}, {0xBE, "."}, {0xBF, "/"}, {0xC0, "`"},
    {0xDB, "["}, {0xDC, "\\"}, {0xDD, "]"}, {0xDE, "'"}, {0xE2, "\\ (102)"},
};

struct MaskName {
    std::uint8_t bits;
    const char* name;
};
// Playing order of the modifiers.
constexpr MaskName kMaskNames[] = {{kChordCtrl, "Ctrl"}, {kChordShift, "Shift"}, {kChordAlt, "Alt"}, {kChordWin, "Win"}};

}  // namespace

bool IsMouseButtonKey(std::uint8_t key) {
    return key == kChordLeftButton || key == kChordRightButton || key == kChordMiddleButton;
}

std::uint8_t ModifierBit(std::uint8_t vk) {
    switch (vk) {
        case 0xA2: return kChordLeftCtrl;
        case 0xA3: return kChordLeftCtrl << 4;
        case 0xA0: return kChordLeftShift;
        case 0xA1: return kChordLeftShift << 4;
        case 0xA4: return kChordLeftAlt;
        case 0xA5: return kChordLeftAlt << 4;
        case 0x5B: return kChordLeftWin;
        case 0x5C: return kChordLeftWin << 4;
        default: return 0;
    }
}

std::u16string KeyName(std::uint8_t key, const MouseButtonNames& buttons) {
    switch (key) {
        case kChordLeftButton: return buttons.left;
        case kChordRightButton: return buttons.right;
        case kChordMiddleButton: return buttons.middle;
        default: break;
    }
    char buffer[16];
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::u16string(1, static_cast<char16_t>(key));
    if (key >= 0x60 && key <= 0x69) {
        std::snprintf(buffer, sizeof buffer, "Num %d", key - 0x60);
        return Ascii(buffer);
    }
    if (key >= 0x70 && key <= 0x87) {
        std::snprintf(buffer, sizeof buffer, "F%d", key - 0x70 + 1);
        return Ascii(buffer);
    }
    for (const NamedKey& k : kNamedKeys)
        if (k.vk == key) return Ascii(k.name);
    std::snprintf(buffer, sizeof buffer, "Key 0x%02X", key);
    return Ascii(buffer);
}

std::u16string ChordText(const KeyChord& chord, const MouseButtonNames& buttons) {
    std::u16string text;
    auto add = [&text](const std::u16string& part) {
        if (!text.empty()) text += u'+';
        text += part;
    };
    for (const MaskName& m : kMaskNames)
        if (chord.modifiers & m.bits) add(Ascii(m.name));
    for (const std::uint8_t key : {chord.key1, chord.key2})
        if (key != 0) add(KeyName(key, buttons));
    return text;
}

ReservedChord FindReservedChord(const KeyChord& chord) {
    auto hasKey = [&chord](std::uint8_t vk) { return chord.key1 == vk || chord.key2 == vk; };
    const bool ctrl = chord.modifiers & kChordCtrl;
    const bool alt = chord.modifiers & kChordAlt;
    const bool win = chord.modifiers & kChordWin;
    // Delete, and the numeric pad's decimal key, which is Delete with Num Lock off.
    if (ctrl && alt && (hasKey(0x2E) || hasKey(0x6E))) return ReservedChord::CtrlAltDel;
    if (win && hasKey('L')) return ReservedChord::WinL;
    return ReservedChord::None;
}

bool ChordCapture::isHeld(std::uint8_t vk) const {
    if (const std::uint8_t bit = ModifierBit(vk)) return (held_ & bit) != 0;
    return heldKeys_[0] == vk || heldKeys_[1] == vk;
}

ChordCapture::Result ChordCapture::keyDown(std::uint8_t vk) {
    if (vk == 0 || isHeld(vk)) return Result::Pending;
    if (!building()) {
        build_ = KeyChord{};
    }
    if (const std::uint8_t bit = ModifierBit(vk)) {
        held_ |= bit;
        build_.modifiers |= bit;
        return Result::Pending;
    }
    std::uint8_t* slot = heldKeys_[0] == 0 ? &heldKeys_[0] : heldKeys_[1] == 0 ? &heldKeys_[1] : nullptr;
    if (build_.key1 == vk || build_.key2 == vk) {
        if (slot) *slot = vk;
        return Result::Pending;
    }
    if (build_.key2 != 0 || !slot) return Result::TooManyKeys;
    *slot = vk;
    (build_.key1 == 0 ? build_.key1 : build_.key2) = vk;
    return Result::Pending;
}

ChordCapture::Result ChordCapture::keyUp(std::uint8_t vk) {
    if (!isHeld(vk)) return Result::Pending;
    if (const std::uint8_t bit = ModifierBit(vk)) {
        held_ &= static_cast<std::uint8_t>(~bit);
    } else {
        for (std::uint8_t& k : heldKeys_)
            if (k == vk) k = 0;
    }
    if (building()) return Result::Pending;
    if (FindReservedChord(build_) != ReservedChord::None) return Result::Reserved;
    chord_ = build_;
    return Result::Captured;
}

ChordCapture::Result ChordCapture::interrupted() {
    if (!building()) return Result::Pending;
    held_ = 0;
    heldKeys_[0] = heldKeys_[1] = 0;
    build_ = KeyChord{};
    return Result::Interrupted;
}

bool ChordCapture::addMouseButton(std::uint8_t button) {
    if (!IsMouseButtonKey(button) || building()) return false;
    if (chord_.key1 == 0) {
        chord_.key1 = button;
    } else if (chord_.key2 == 0) {
        chord_.key2 = button;
    } else {
        return false;
    }
    return true;
}

void ChordCapture::clear() {
    chord_ = KeyChord{};
    build_ = KeyChord{};
    held_ = 0;
    heldKeys_[0] = heldKeys_[1] = 0;
}

}  // namespace mv
