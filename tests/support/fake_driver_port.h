// A recording stand-in for the driver port: every DeviceIoControl is kept with its bytes.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <vector>

#include "seams/driver_port.h"

namespace mv::test {

class FakeDriverPort : public DriverPort {
public:
    struct Call {
        std::uint32_t code;
        std::vector<std::uint8_t> in;
        std::uint32_t outLength;
        bool sameBuffer;  // the output buffer is the input buffer
    };
    std::vector<Call> calls;
    std::vector<std::uint32_t> sleeps;
    int opens = 0, closes = 0;

    bool present = true;                         // CreateFileW succeeds
    std::deque<bool> results;                    // outcome of the next calls (default true)
    std::deque<std::uint32_t> returnedBytes;     // bytes the next calls return (default: all of out)
    std::deque<std::uint32_t> eventCodes;        // codes the next reads put into their buffer
    std::array<std::uint8_t, 3> registerAnswer{1, 0x03, 0xE8};

    bool openDevice() override;
    void closeDevice() override {
        ++closes;
        open_ = false;
    }
    bool isOpen() const override { return open_; }
    bool control(std::uint32_t code, const std::uint8_t* in, std::uint32_t inLength, std::uint8_t* out,
                 std::uint32_t outLength, std::uint32_t& returned) override;
    void sleep(std::uint32_t ms) override { sleeps.push_back(ms); }

    // The 32-bit word at `offset` of call `index`'s input.
    std::uint32_t word(std::size_t index, std::size_t offset) const;

private:
    bool open_ = false;
};

}  // namespace mv::test
