// The 526-byte function record of one gesture slot and the default action table.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace mv {

inline constexpr int kSlotCount = 17;
using GestureSlot = int;  // 0 to 16

// Byte n is the default ActionCode of slot n and the key by which an event finds it.
inline constexpr std::array<std::uint8_t, kSlotCount> DefaultActionTable = {
    0xA1, 0x02, 0x09, 0x0A, 0x10, 0x11, 0xA3, 0x25, 0xA4, 0x55, 0x21, 0x03, 0x05, 0x04, 0x58, 0x59, 0xA2};

// Byte layout (packed, no alignment):
//   0 reserved, 1 ActionCode, 2 macro index, 3 chord modifiers, 4 chord key 1,
//   5 chord key 2, 6..525 program path (260 UTF-16LE units, NUL-terminated).
struct FunctionRecord {
    static constexpr std::size_t kSize = 526;
    static constexpr std::size_t kReservedOffset = 0;
    static constexpr std::size_t kActionCodeOffset = 1;
    static constexpr std::size_t kMacroIndexOffset = 2;
    static constexpr std::size_t kChordModifiersOffset = 3;
    static constexpr std::size_t kChordKey1Offset = 4;
    static constexpr std::size_t kChordKey2Offset = 5;
    static constexpr std::size_t kPathOffset = 6;
    static constexpr std::size_t kPathUnits = 260;

    std::array<std::uint8_t, kSize> bytes{};

    std::uint8_t reserved() const { return bytes[kReservedOffset]; }
    std::uint8_t actionCode() const { return bytes[kActionCodeOffset]; }
    void setActionCode(std::uint8_t code) { bytes[kActionCodeOffset] = code; }
    std::uint8_t macroIndex() const { return bytes[kMacroIndexOffset]; }
    std::uint8_t chordModifiers() const { return bytes[kChordModifiersOffset]; }
    std::uint8_t chordKey1() const { return bytes[kChordKey1Offset]; }
    std::uint8_t chordKey2() const { return bytes[kChordKey2Offset]; }

    // The path up to its first zero unit; at most 260 units even when no zero unit is stored.
    std::u16string programPath() const;
    // Stores `path` (truncated to 259 units) followed by zero units.
    void setProgramPath(const std::u16string& path);

    friend bool operator==(const FunctionRecord&, const FunctionRecord&) = default;
};
static_assert(sizeof(FunctionRecord) == FunctionRecord::kSize);
static_assert(alignof(FunctionRecord) == 1);
static_assert(FunctionRecord::kPathOffset + 2 * FunctionRecord::kPathUnits == FunctionRecord::kSize);

using FunctionRecordArray = std::array<FunctionRecord, kSlotCount>;
static_assert(sizeof(FunctionRecordArray) == kSlotCount * FunctionRecord::kSize);

// Sets byte 1 of record n to DefaultActionTable[n]; no other byte changes.
void ResetRecordsToDefaults(FunctionRecordArray& records);

// A transient record that holds only an ActionCode.
FunctionRecord MakeRecord(std::uint8_t actionCode);

}  // namespace mv
