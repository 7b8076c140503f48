// The seam to the touch driver: CreateFileW/DeviceIoControl on \\.\mvtouch and Sleep.
// The Windows build implements it in src/win32; unit tests use a recording fake.
#pragma once

#include <cstdint>

namespace mv {

class DriverPort {
public:
    virtual ~DriverPort() = default;
    // CreateFileW(\\.\mvtouch, GENERIC_READ|GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING) and
    // stores the handle; on failure the handle is null. A handle still open is replaced.
    virtual bool openDevice() = 0;
    // Closes the handle and makes it null.
    virtual void closeDevice() = 0;
    virtual bool isOpen() const = 0;
    // DeviceIoControl on the open handle; false without a call when none is open.
    // `returned` receives the bytes the driver wrote to `out`.
    virtual bool control(std::uint32_t code, const std::uint8_t* in, std::uint32_t inLength, std::uint8_t* out,
                         std::uint32_t outLength, std::uint32_t& returned) = 0;
    virtual void sleep(std::uint32_t milliseconds) = 0;
};

}  // namespace mv
