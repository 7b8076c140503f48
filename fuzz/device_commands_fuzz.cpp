// Device commands against a driver whose answers (results and reply bytes) come
// from the input; also the event block and the arrival broadcast decoding.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstring>

#include "device/device_commands.h"
#include "device/device_presence.h"
#include "fuzz_check.h"
#include "base/bytes.h"

using namespace mv;

namespace {

class FuzzPort : public DriverPort {
public:
    explicit FuzzPort(FuzzedDataProvider& in) : in_(in) {}
    bool openDevice() override { return open_ = in_.ConsumeBool(); }
    void closeDevice() override { open_ = false; }
    bool isOpen() const override { return open_; }
    bool control(std::uint32_t code, const std::uint8_t* in, std::uint32_t inLength, std::uint8_t* out,
                 std::uint32_t outLength, std::uint32_t& returned) override {
        FUZZ_CHECK(open_);
        FUZZ_CHECK(code == IOCTL_MVTOUCH_WRITE && in && inLength == DriverRequest::kSize);
        FUZZ_CHECK(out == nullptr ? outLength == 0 : outLength == DriverRequest::kSize);
        lastRequest.assign(in, in + inLength);
        ++calls;
        const bool ok = in_.ConsumeBool();
        if (out) {
            // The driver may write any part of the block, failing or not.
            const std::size_t from = in_.ConsumeIntegralInRange<std::size_t>(0, outLength);
            const std::vector<std::uint8_t> reply =
                in_.ConsumeBytes<std::uint8_t>(in_.ConsumeIntegralInRange<std::size_t>(0, outLength - from));
            std::copy(reply.begin(), reply.end(), out + from);
        }
        // Any count, even one beyond the buffer: the caller must not trust it further.
        returned = in_.ConsumeIntegral<std::uint32_t>();
        return ok;
    }
    void sleep(std::uint32_t) override {}

    std::vector<std::uint8_t> lastRequest;
    int calls = 0;

private:
    FuzzedDataProvider& in_;
    bool open_ = false;
};

void checkKeyList(const KeyInterceptList& keys) {
    for (std::size_t i = 0; i < keys.size(); ++i)
        for (std::size_t j = i + 1; j < keys.size(); ++j) FUZZ_CHECK(keys[i] == 0 || keys[i] != keys[j]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    FuzzPort port(in);
    DeviceCommands commands(port);
    commands.setSemaphoreHandle(in.ConsumeIntegral<std::uint32_t>());
    FunctionRecordArray records{};
    ResetRecordsToDefaults(records);

    for (int step = 0; step < 64 && in.remaining_bytes() > 0; ++step) {
        const int before = port.calls;
        const bool wasOpen = port.isOpen();
        const int op = in.ConsumeIntegralInRange(0, 7);
        switch (op) {
            case 0: commands.OpenDevice(); break;
            case 1: port.closeDevice(); break;
            case 2: commands.SetMode(in.ConsumeIntegral<std::uint32_t>()); break;
            case 3: {
                const std::uint8_t key = in.ConsumeIntegral<std::uint8_t>(), mods = in.ConsumeIntegral<std::uint8_t>();
                const bool add = in.ConsumeBool();
                if (commands.UpdateInterceptKey(key, mods, add) || port.calls > before) {
                    // The request carries the list as it now is.
                    for (std::size_t i = 0; i < kKeyInterceptEntries; ++i)
                        FUZZ_CHECK(readLe32(&port.lastRequest[DriverRequest::kKeysOffset + 4 * i]) ==
                                   commands.keyList()[i]);
                }
                break;
            }
            case 4: {
                std::array<std::uint8_t, 3> reg{in.ConsumeIntegral<std::uint8_t>(), 0, 0};
                const std::array<std::uint8_t, 3> asked = reg;
                if (!commands.ReadRegister(reg)) FUZZ_CHECK(reg == asked);
                break;
            }
            case 5: {
                std::uint32_t value = 0xDEADBEEF;
                if (commands.ReadBattery(value)) FUZZ_CHECK(value <= kBatteryMaxValid);
                else FUZZ_CHECK(value == 0xDEADBEEF);
                break;
            }
            case 6: {
                const int slot = in.ConsumeIntegralInRange(0, kSlotCount - 1);
                records[slot].setActionCode(in.ConsumeIntegral<std::uint8_t>());
                const bool sent = commands.SendDeviceSettings(records);
                if (sent) FUZZ_CHECK(readLe32(&port.lastRequest[0]) == kRequestMode);
                break;
            }
            default: commands.WriteRegister(in.ConsumeIntegral<std::uint8_t>()); break;
        }
        checkKeyList(commands.keyList());
        // Nothing reaches a closed driver (an open request needs a successful open first).
        if (!wasOpen && op != 0) FUZZ_CHECK(port.calls == before);
    }

    // The event block the reader thread fills, and the arrival broadcast.
    DriverEvent event = DriverEvent::Initial();
    const auto eventBytes = in.ConsumeBytes<std::uint8_t>(DriverEvent::kSize);
    std::copy(eventBytes.begin(), eventBytes.end(), event.bytes.begin());
    FUZZ_CHECK(event.code() == readLe32(event.bytes.data()));
    const std::vector<std::uint8_t> broadcast = in.ConsumeRemainingBytes<std::uint8_t>();
    const std::u16string name = InterfaceNameFromBroadcast(broadcast.data(), broadcast.size());
    FUZZ_CHECK(name.size() * 2 + 28 <= std::max<std::size_t>(broadcast.size(), 28));
    (void)IsReceiverInterface(name);
    return 0;
}
