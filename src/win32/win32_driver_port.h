// The driver port on \\.\mvtouch. The handle is shared with the reader thread, which takes
// it afresh for every call; the user-interface thread is the only one that replaces it.
#pragma once

#include <windows.h>

#include "seams/driver_port.h"
#include "device/handle_slot.h"

namespace mv {

class Win32DriverPort : public DriverPort {
public:
    explicit Win32DriverPort(const wchar_t* path = L"\\\\.\\mvtouch") : path_(path) {}

    bool openDevice() override;
    void closeDevice() override;
    bool isOpen() const override { return !handle_.empty(); }
    bool control(std::uint32_t code, const std::uint8_t* in, std::uint32_t inLength, std::uint8_t* out,
                 std::uint32_t outLength, std::uint32_t& returned) override;
    void sleep(std::uint32_t milliseconds) override { ::Sleep(milliseconds); }

private:
    const wchar_t* path_;
    HandleSlot handle_{[](void* handle) { CloseHandle(handle); }};
};

}  // namespace mv
