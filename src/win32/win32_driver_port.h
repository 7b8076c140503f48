// The driver port on \\.\mvtouch. The handle is shared with the reader thread, which
// reads it afresh after every wake-up; the user-interface thread is the only writer.
#pragma once

#include <windows.h>

#include <atomic>

#include "device/driver_port.h"

namespace mv {

class Win32DriverPort : public DriverPort {
public:
    explicit Win32DriverPort(const wchar_t* path = L"\\\\.\\mvtouch") : path_(path) {}
    ~Win32DriverPort() override;

    bool openDevice() override;
    void closeDevice() override;
    bool isOpen() const override { return handle_.load() != nullptr; }
    bool control(std::uint32_t code, const std::uint8_t* in, std::uint32_t inLength, std::uint8_t* out,
                 std::uint32_t outLength) override;
    void sleep(std::uint32_t milliseconds) override { ::Sleep(milliseconds); }

private:
    const wchar_t* path_;
    std::atomic<HANDLE> handle_{nullptr};
};

}  // namespace mv
