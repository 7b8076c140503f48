// In-memory images of the two registry values: ButtonSetting (the records) and
// MacroSetting (the user's macros). Both are plain byte images read with
// explicit little-endian access.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "base/bytes.h"
#include "settings/function_record.h"
#include "settings/registry_layout.h"

namespace mv {

// ButtonSetting, 19488 bytes:
//   0 header (16), 16 + 526*n record of slot n, 8958 unused (10522),
//   19480 wheel-lines value (int32), 19484 value set to 3 by a restore (int32).
struct ButtonSettingBlob {
    static constexpr std::size_t kSize = kButtonSettingSize;
    static constexpr std::size_t kRecordsOffset = 16;
    static constexpr std::size_t kUnusedOffset = 8958;
    static constexpr std::size_t kWheelLinesOffset = 19480;
    static constexpr std::size_t kRestoreMarkOffset = 19484;

    std::array<std::uint8_t, kRecordsOffset> header{};
    FunctionRecordArray records{};
    std::array<std::uint8_t, kWheelLinesOffset - kUnusedOffset> unused{};
    std::array<std::uint8_t, 4> wheelLines{};
    std::array<std::uint8_t, 4> restoreMark{};
};
static_assert(sizeof(ButtonSettingBlob) == ButtonSettingBlob::kSize);
static_assert(offsetof(ButtonSettingBlob, records) == ButtonSettingBlob::kRecordsOffset);
static_assert(offsetof(ButtonSettingBlob, unused) == ButtonSettingBlob::kUnusedOffset);
static_assert(offsetof(ButtonSettingBlob, wheelLines) == ButtonSettingBlob::kWheelLinesOffset);
static_assert(offsetof(ButtonSettingBlob, restoreMark) == ButtonSettingBlob::kRestoreMarkOffset);

// One macro step, 8 bytes: key, up flag, 2 unread, delay (uint32 ms).
struct MacroStep {
    std::uint8_t key = 0;
    bool up = false;
    std::uint32_t delayMs = 0;
    friend bool operator==(const MacroStep&, const MacroStep&) = default;
};

// MacroSetting, 214004 bytes: 4 unread bytes, then 100 entries of 2140 bytes.
// Entry: 0 unread (4), 4 repeat flag (uint32), 8 repeat count (int32),
//        12 step count (uint16), 14 unread (2), 16 steps (265 x 8), 2136 unread (4).
struct MacroStore {
    static constexpr std::size_t kSize = kMacroSettingSize;
    static constexpr std::size_t kEntriesOffset = 4;
    static constexpr std::size_t kEntrySize = 2140;
    static constexpr std::size_t kEntryCount = 100;
    static constexpr std::size_t kStepsOffset = 16;
    static constexpr std::size_t kStepSize = 8;
    static constexpr std::size_t kMaxSteps = 265;

    std::array<std::uint8_t, kSize> bytes{};

    const std::uint8_t* entry(std::size_t index) const { return &bytes[kEntriesOffset + kEntrySize * index]; }
    std::uint8_t* entry(std::size_t index) { return &bytes[kEntriesOffset + kEntrySize * index]; }
};
static_assert(sizeof(MacroStore) == MacroStore::kSize);
static_assert(MacroStore::kEntriesOffset + MacroStore::kEntrySize * MacroStore::kEntryCount == MacroStore::kSize);
static_assert(MacroStore::kStepsOffset + MacroStore::kStepSize * MacroStore::kMaxSteps + 4 == MacroStore::kEntrySize);

// A read view of one MacroEntry of a MacroStore.
struct MacroEntry {
    static constexpr std::size_t kRepeatFlagOffset = 4;
    static constexpr std::size_t kRepeatCountOffset = 8;
    static constexpr std::size_t kStepCountOffset = 12;

    const std::uint8_t* bytes;  // MacroStore::kEntrySize bytes

    std::uint32_t repeatFlag() const { return readLe32(bytes + kRepeatFlagOffset); }
    std::int32_t repeatCount() const { return static_cast<std::int32_t>(readLe32(bytes + kRepeatCountOffset)); }
    std::uint16_t stepCount() const { return readLe16(bytes + kStepCountOffset); }
    // The stored step count bounded by the room of the entry.
    std::size_t playableSteps() const { return stepCount() < MacroStore::kMaxSteps ? stepCount() : MacroStore::kMaxSteps; }
    // Step `i` (below kMaxSteps): key, up flag (any non-zero byte), delay.
    MacroStep step(std::size_t i) const {
        const std::uint8_t* p = bytes + MacroStore::kStepsOffset + MacroStore::kStepSize * i;
        return {p[0], p[1] != 0, readLe32(p + 4)};
    }
};

// Entry `index` (below kEntryCount) of `store`.
inline MacroEntry ReadMacroEntry(const MacroStore& store, std::size_t index) { return {store.entry(index)}; }

}  // namespace mv
