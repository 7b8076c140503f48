// Pointer buttons, wheel, key taps, fixed shortcuts and keys posted to a window.
#include "actions/cfunction.h"
#include "actions/input_codes.h"

namespace mv {

void CFunction::key(std::uint8_t vk, std::uint32_t flags) { ctx_.input.keybdEvent(vk, 0, flags, 0); }

void CFunction::mouse(std::uint32_t flags, std::int32_t data) {
    const std::uintptr_t extra = ctx_.input.messageExtraInfo();
    ctx_.input.mouseEvent(flags, 0, 0, data, extra);
}

void CFunction::click(std::uint32_t down, std::uint32_t up, std::int32_t data) {
    mouse(down, data);
    mouse(up, data);
}

void CFunction::SendLeftClick() { click(kMouseLeftDown, kMouseLeftUp, 0); }
void CFunction::SendRightClick() { click(kMouseRightDown, kMouseRightUp, 0); }
void CFunction::SendMiddleClick() { click(kMouseMiddleDown, kMouseMiddleUp, 0); }
void CFunction::SendXButton1Click() { click(kMouseXDown, kMouseXUp, 1); }
void CFunction::SendXButton2Click() { click(kMouseXDown, kMouseXUp, 2); }

void CFunction::SendDoubleClick() {
    click(kMouseLeftDown, kMouseLeftUp, 0);
    click(kMouseLeftDown, kMouseLeftUp, 0);
}

void CFunction::SendWheel(std::int32_t delta) { mouse(kMouseWheel, delta); }

void CFunction::TapKey(std::uint8_t vk) {
    key(vk, kKeyExtended);
    key(vk, kKeyExtended | kKeyUp);
}

void CFunction::SendShortcut(std::initializer_list<std::uint8_t> modifiers, std::uint8_t vk) {
    for (const std::uint8_t m : modifiers) key(m, kKeyExtended);
    TapKey(vk);
    for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) key(*it, kKeyExtended | kKeyUp);
}

void CFunction::SendCut() { SendShortcut({kVkControl}, 'X'); }
void CFunction::SendCopy() { SendShortcut({kVkControl}, 'C'); }
void CFunction::SendPaste() { SendShortcut({kVkControl}, 'V'); }
void CFunction::SendSelectAll() { SendShortcut({kVkControl}, 'A'); }
void CFunction::SendFind() { SendShortcut({kVkControl}, 'F'); }
void CFunction::SendNew() { SendShortcut({kVkControl}, 'N'); }
void CFunction::SendPrint() { SendShortcut({kVkControl}, 'P'); }
void CFunction::SendSave() { SendShortcut({kVkControl}, 'S'); }

namespace {

bool IsExtendedKey(std::uint8_t vk) {
    return vk == kVkReturn || vk == kVkControl || (vk >= kVkPrior && vk <= kVkDown) || vk == kVkInsert ||
           vk == kVkDelete || vk == kVkDivide || vk == kVkLControl || vk == kVkRControl;
}

struct PostModifier {
    std::uint32_t bit;
    std::uint8_t vk;
};
constexpr PostModifier kPostModifiers[] = {
    {kPostCtrl, kVkControl}, {kPostShift, kVkShift}, {kPostWin, kVkLWin}, {kPostAlt, kVkMenu}};

}  // namespace

void CFunction::PostKeyToWindow(WindowHandle window, std::uint32_t modifiers, std::uint8_t vk) {
    if (window == 0) return;
    const std::uint32_t scan = ctx_.input.mapVirtualKey(vk, 0) & 0xFF;
    std::uint32_t lParam = (scan << 16) + 1;
    if (IsExtendedKey(vk)) lParam += 0x01000000;

    for (const auto& m : kPostModifiers)
        if (modifiers & m.bit) key(m.vk, kKeyExtended);
    ctx_.input.postMessage(window, kWmKeyDown, vk, static_cast<std::intptr_t>(static_cast<std::int32_t>(lParam)));
    ctx_.input.postMessage(window, kWmKeyUp, vk, static_cast<std::intptr_t>(static_cast<std::int32_t>(lParam + 0xC0000000u)));
    for (const auto& m : kPostModifiers)
        if (modifiers & m.bit) key(m.vk, kKeyExtended | kKeyUp);
}

}  // namespace mv
