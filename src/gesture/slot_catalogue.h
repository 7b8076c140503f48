// The fixed identity of every gesture slot and the decoding of device event codes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "settings/function_record.h"

namespace mv {

using DeviceEventCode = std::uint32_t;

enum class GesturePage : std::uint8_t { Mocli = 0, Win8 = 1, WinCtl = 2 };

struct SlotInfo {
    std::string_view gestureName;   // text key
    std::uint8_t defaultAction;     // equals DefaultActionTable[slot]
    std::string_view functionName;  // text key of the default function
    std::optional<DeviceEventCode> eventCode;
    GesturePage page;
    bool hasMenu;
};

extern const std::array<SlotInfo, kSlotCount> SlotCatalogue;

std::string_view PageCaptionKey(GesturePage page);

// Event codes with a meaning of their own.
inline constexpr DeviceEventCode kEventLeftCtrl = 0x80000001;
inline constexpr DeviceEventCode kEventWheelUp = 0x00000101;
inline constexpr DeviceEventCode kEventWheelDown = 0x000001FF;
inline constexpr std::uint32_t kZoomWindowMs = 10;

// The gesture key of an event code (step 3 of the decoding), or nothing.
std::optional<std::uint8_t> GestureKeyForEvent(DeviceEventCode code);
// The first slot whose DefaultActionTable byte equals `key`.
std::optional<GestureSlot> SlotForGestureKey(std::uint8_t key);

}  // namespace mv
