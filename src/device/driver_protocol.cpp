#include "device/driver_protocol.h"

#include <algorithm>

#include "base/bytes.h"

namespace mv {

void WriteDeviceText(std::uint8_t* field, std::string_view text) {
    const std::size_t n = std::min(text.size(), kDeviceTextField - 1);
    std::fill(field, field + kDeviceTextField, 0);
    std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n), field);
}

std::uint32_t DriverRequest::code() const { return readLe32(bytes.data() + kCodeOffset); }

DriverRequest DriverRequest::Make(std::uint32_t code) {
    DriverRequest r;
    writeLe32(r.bytes.data() + kCodeOffset, code);
    WriteDeviceText(r.bytes.data() + kTextOffset);
    return r;
}

DriverRequest DriverRequest::Open(std::uint32_t semaphoreHandle) {
    DriverRequest r = Make(kRequestOpen);
    writeLe32(r.bytes.data() + kSemaphoreOffset, semaphoreHandle);
    return r;
}

DriverRequest DriverRequest::Mode(std::uint32_t flags) {
    DriverRequest r = Make(kRequestMode);
    writeLe32(r.bytes.data() + kModeOffset, flags);
    writeLe32(r.bytes.data() + kModeWordOffset, kModeWord);
    return r;
}

DriverRequest DriverRequest::KeyList(const KeyInterceptList& keys) {
    DriverRequest r = Make(kRequestKeyList);
    writeLe32(r.bytes.data() + kKeyListWordOffset, kKeyListWord);
    for (std::size_t i = 0; i < keys.size(); ++i) writeLe32(r.bytes.data() + kKeysOffset + 4 * i, keys[i]);
    return r;
}

DriverRequest DriverRequest::RegisterWrite(std::uint8_t value) {
    DriverRequest r = Make(kRequestRegister);
    writeLe32(r.bytes.data() + kOperationOffset, kOperationWrite);
    writeLe32(r.bytes.data() + kTargetOffset, kTargetWrite);
    r.bytes[kDataOffset] = value;
    return r;
}

DriverRequest DriverRequest::RegisterRead(const std::array<std::uint8_t, 3>& data) {
    DriverRequest r = Make(kRequestRegister);
    writeLe32(r.bytes.data() + kOperationOffset, kOperationRead);
    writeLe32(r.bytes.data() + kTargetOffset, kTargetRead);
    std::copy(data.begin(), data.end(), r.bytes.begin() + kDataOffset);
    return r;
}

DriverEvent DriverEvent::Initial() {
    DriverEvent e;
    WriteDeviceText(e.bytes.data() + kTextOffset);
    return e;
}

std::uint32_t DriverEvent::code() const { return readLe32(bytes.data() + kCodeOffset); }

}  // namespace mv
