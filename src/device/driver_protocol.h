// The touch driver protocol: control codes, the 168-byte request block and the 56-byte
// event block, built byte by byte (little-endian).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace mv {

inline constexpr std::uint32_t IOCTL_MVTOUCH_READ = 0x222408;   // function 0x902
inline constexpr std::uint32_t IOCTL_MVTOUCH_WRITE = 0x22240C;  // function 0x903

inline constexpr std::string_view DeviceText = "MORVI 5G Wireless Device";
inline constexpr std::size_t kDeviceTextField = 50;

// Writes `text` into a 50-byte field as a bounded "%s" would: at most 49 characters, then NUL.
void WriteDeviceText(std::uint8_t* field, std::string_view text = DeviceText);

inline constexpr std::uint32_t kRequestOpen = 1;
inline constexpr std::uint32_t kRequestMode = 20;
inline constexpr std::uint32_t kRequestRegister = 8;
inline constexpr std::uint32_t kRequestKeyList = 128;

inline constexpr std::size_t kKeyInterceptEntries = 12;
using KeyInterceptList = std::array<std::uint32_t, kKeyInterceptEntries>;

struct DriverRequest {
    static constexpr std::size_t kSize = 168;
    static constexpr std::size_t kCodeOffset = 0;
    static constexpr std::size_t kModeOffset = 4;
    static constexpr std::size_t kModeWordOffset = 8;
    static constexpr std::size_t kOperationOffset = 24;
    static constexpr std::size_t kTargetOffset = 28;
    static constexpr std::size_t kDataOffset = 32;
    static constexpr std::size_t kKeyListWordOffset = 56;
    static constexpr std::size_t kKeysOffset = 60;
    static constexpr std::size_t kTextOffset = 108;
    static constexpr std::size_t kSemaphoreOffset = 160;

    static constexpr std::uint32_t kModeWord = 0x00070601;
    static constexpr std::uint32_t kOperationWrite = 0x00000001;
    static constexpr std::uint32_t kOperationRead = 0x00010003;
    static constexpr std::uint32_t kTargetWrite = 0x000102BA;
    static constexpr std::uint32_t kTargetRead = 0x000101BA;
    static constexpr std::uint32_t kKeyListWord = 0x00000200;

    std::array<std::uint8_t, kSize> bytes{};

    std::uint32_t code() const;

    // All bytes zero except the code and the device text.
    static DriverRequest Make(std::uint32_t code);
    static DriverRequest Open(std::uint32_t semaphoreHandle);
    static DriverRequest Mode(std::uint32_t flags);
    static DriverRequest KeyList(const KeyInterceptList& keys);
    static DriverRequest RegisterWrite(std::uint8_t value);
    static DriverRequest RegisterRead(const std::array<std::uint8_t, 3>& data);
};
static_assert(sizeof(DriverRequest) == DriverRequest::kSize);
static_assert(DriverRequest::kKeysOffset + 4 * kKeyInterceptEntries == DriverRequest::kTextOffset);
static_assert(DriverRequest::kTextOffset + kDeviceTextField <= DriverRequest::kSemaphoreOffset);

struct DriverEvent {
    static constexpr std::size_t kSize = 56;
    static constexpr std::size_t kCodeOffset = 0;
    static constexpr std::size_t kTextOffset = 4;

    std::array<std::uint8_t, kSize> bytes{};

    // Zero with the device text at offset 4: the reader's buffer before its first read.
    static DriverEvent Initial();
    std::uint32_t code() const;
};
static_assert(sizeof(DriverEvent) == DriverEvent::kSize);
static_assert(DriverEvent::kTextOffset + kDeviceTextField + 2 == DriverEvent::kSize);

}  // namespace mv
