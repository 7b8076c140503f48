// Replays the user's key chords and stored macros with real scan codes and a
// pause after every keyboard event.
#include "actions/cfunction.h"
#include "actions/input_codes.h"
#include "settings/settings_images.h"

namespace mv {

namespace {

constexpr std::uint32_t kKeyPauseMs = 50;
constexpr std::uint8_t kLeftButtonKey = 0xC1;
constexpr std::uint8_t kRightButtonKey = 0xC2;
constexpr std::uint8_t kMiddleButtonKey = 0xC3;

std::uint8_t FoldModifier(std::uint8_t key) {
    switch (key) {
        case kVkLShift:
        case kVkRShift: return kVkShift;
        case kVkLControl:
        case kVkRControl: return kVkControl;
        case kVkLMenu:
        case kVkRMenu: return kVkMenu;
        default: return key;
    }
}

struct MaskModifier {
    std::uint8_t bits;
    std::uint8_t vk;
};
// Either hand's bit selects the generic key; pressing order Ctrl, Shift, Alt, Windows.
constexpr MaskModifier kMaskModifiers[] = {
    {0x11, kVkControl}, {0x22, kVkShift}, {0x44, kVkMenu}, {0x88, kVkLWin}};

}  // namespace

void CFunction::chordKey(std::uint8_t vk, bool up) {
    const auto scan = static_cast<std::uint8_t>(ctx_.input.mapVirtualKey(vk, 0));
    ctx_.input.keybdEvent(vk, scan, up ? kKeyUp : 0, 0);
    ctx_.input.sleep(kKeyPauseMs);
}

void CFunction::PlayMacroStep(std::uint8_t key, bool up) {
    switch (key) {
        case 0: return;  // "no key"
        case kLeftButtonKey: mouse(up ? kMouseLeftUp : kMouseLeftDown, 0); return;
        case kRightButtonKey: mouse(up ? kMouseRightUp : kMouseRightDown, 0); return;
        case kMiddleButtonKey: mouse(up ? kMouseMiddleUp : kMouseMiddleDown, 0); return;
        default: chordKey(FoldModifier(key), up); return;
    }
}

void CFunction::PlayKeyChord(std::uint8_t modifiers, std::uint8_t key1, std::uint8_t key2) {
    for (const auto& m : kMaskModifiers)
        if (modifiers & m.bits) chordKey(m.vk, false);
    for (const std::uint8_t k : {key1, key2}) {
        if (k == 0) continue;
        PlayMacroStep(k, false);
        PlayMacroStep(k, true);
    }
    for (const auto& m : kMaskModifiers)
        if (modifiers & m.bits) chordKey(m.vk, true);
}

void CFunction::PlayMacro(std::uint8_t index) {
    if (index >= MacroStore::kEntryCount) return;  // outside the store
    const MacroEntry entry = ReadMacroEntry(ctx_.macros, index);
    const std::int64_t runs = entry.repeatFlag() != 0 ? entry.repeatCount() : 1;
    const std::size_t steps = entry.playableSteps();
    if (runs <= 0 || steps == 0) return;

    const std::u16string noTitle;
    const std::u16string& ownTitle = ctx_.ownWindowTitle ? *ctx_.ownWindowTitle : noTitle;
    for (std::int64_t run = 0; run < runs; ++run) {
        for (std::size_t i = 0; i < steps; ++i) {
            const WindowHandle foreground = ctx_.desktop.foregroundWindow();
            if (foreground == 0) return;
            if (ctx_.desktop.windowText(foreground) == ownTitle) return;
            const MacroStep step = entry.step(i);
            PlayMacroStep(step.key, step.up);
            ctx_.input.sleep(step.delayMs);
        }
    }
}

}  // namespace mv
