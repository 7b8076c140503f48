#include "gesture/slot_catalogue.h"

namespace mv {

const std::array<SlotInfo, kSlotCount> SlotCatalogue = {{
    {"tc_gesture_push", 0xA1, "tc_function_push", std::nullopt, GesturePage::Mocli, false},
    {"tc_gesture_doubleclick", 0x02, "tc_function_doubleclick", 0x00008002, GesturePage::Mocli, true},
    {"tc_gesture_scrollup", 0x09, "tc_function_scrollup", 0x00000101, GesturePage::Mocli, false},
    {"tc_gesture_scrolldown", 0x0A, "tc_function_scrolldown", 0x000001FF, GesturePage::Mocli, false},
    {"tc_gesture_scrollleft", 0x10, "tc_function_scrollleft", 0x000002FF, GesturePage::Mocli, true},
    {"tc_gesture_scrollwright", 0x11, "tc_function_scrollwright", 0x00000201, GesturePage::Mocli, true},
    {"tc_gesture_warechange", 0xA3, "tc_function_warechange", 0x80002A09, GesturePage::Win8, true},
    {"tc_gesture_wcharmmenu", 0x25, "tc_function_wcharmmenu", 0x8000720C, GesturePage::Win8, true},
    {"tc_gesture_win8ware", 0xA4, "tc_function_win8ware", 0x80007209, GesturePage::Win8, true},
    {"tc_gesture_threedown", 0x55, "tc_function_threedown", 0x80000708, GesturePage::Win8, true},
    {"tc_gesture_threeup", 0x21, "tc_function_threeup", 0x80000008, GesturePage::Win8, true},
    {"tc_gesture_threeclick", 0x03, "tc_function_threeclick", 0x00008004, GesturePage::WinCtl, true},
    {"tc_gesture_threeleft", 0x05, "tc_function_threeleft", 0x00008008, GesturePage::WinCtl, true},
    {"tc_gesture_threeright", 0x04, "tc_function_threeright", 0x00008010, GesturePage::WinCtl, true},
    {"tc_gesture_fourup", 0x58, "tc_function_fourup", 0x8000100A, GesturePage::WinCtl, true},
    {"tc_gesture_fourdown", 0x59, "tc_function_fourdown", 0x80001008, GesturePage::WinCtl, true},
    {"tc_gesture_largenarrow", 0xA2, "tc_function_largenarrow", std::nullopt, GesturePage::WinCtl, false},
}};

std::string_view PageCaptionKey(GesturePage page) {
    switch (page) {
        case GesturePage::Mocli: return "tc_mocli";
        case GesturePage::Win8: return "tc_win8";
        case GesturePage::WinCtl: return "tc_winctl";
    }
    return {};
}

std::optional<std::uint8_t> GestureKeyForEvent(DeviceEventCode code) {
    switch (code) {
        case 0x00000101: return 9;
        case 0x000001FF: return 10;
        case 0x00000201: return 17;
        case 0x000002FF: return 16;
        case 0x00008002: return 2;
        case 0x00008004: return 3;
        case 0x00008008: return 5;
        case 0x00008010: return 4;
        case 0x80000008: return 33;
        case 0x80000708: return 85;
        case 0x80001008: return 89;
        case 0x8000100A: return 88;
        case 0x80002A09: return 163;
        case 0x80007209: return 164;
        case 0x8000720C: return 37;
        default: return std::nullopt;
    }
}

std::optional<GestureSlot> SlotForGestureKey(std::uint8_t key) {
    for (int n = 0; n < kSlotCount; ++n)
        if (DefaultActionTable[n] == key) return n;
    return std::nullopt;
}

}  // namespace mv
