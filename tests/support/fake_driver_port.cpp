#include "support/fake_driver_port.h"

#include <algorithm>

#include "base/bytes.h"
#include "device/driver_protocol.h"

namespace mv::test {

bool FakeDriverPort::openDevice() {
    ++opens;
    open_ = present;
    return open_;
}

bool FakeDriverPort::control(std::uint32_t code, const std::uint8_t* in, std::uint32_t inLength,
                             std::uint8_t* out, std::uint32_t outLength, std::uint32_t& returned) {
    returned = 0;
    if (!open_) return false;
    calls.push_back({code, std::vector<std::uint8_t>(in, in + inLength), outLength, out == in});
    bool ok = true;
    if (!results.empty()) {
        ok = results.front();
        results.pop_front();
    }
    returned = out ? outLength : 0;
    if (!returnedBytes.empty()) {
        returned = std::min(returnedBytes.front(), returned);
        returnedBytes.pop_front();
    }
    if (!ok) returned = 0;
    if (ok && code == IOCTL_MVTOUCH_READ && out && outLength >= 4 && !eventCodes.empty()) {
        writeLe32(out, eventCodes.front());
        eventCodes.pop_front();
    } else if (ok && out && outLength >= 35) {
        std::copy(registerAnswer.begin(), registerAnswer.end(), out + 32);
    }
    return ok;
}

std::uint32_t FakeDriverPort::word(std::size_t index, std::size_t offset) const {
    return readLe32(calls.at(index).in.data() + offset);
}

}  // namespace mv::test
