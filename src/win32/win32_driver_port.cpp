#include "win32/win32_driver_port.h"

namespace mv {

bool Win32DriverPort::openDevice() {
    // A device arrival opens again while a handle is open. The driver takes one handle at a
    // time: the old one goes first (once a read still running on it has returned).
    handle_.replace(nullptr);
    HANDLE handle = CreateFileW(path_, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                nullptr);
    const bool opened = handle != INVALID_HANDLE_VALUE;
    handle_.replace(opened ? handle : nullptr);
    return opened;
}

void Win32DriverPort::closeDevice() { handle_.replace(nullptr); }

bool Win32DriverPort::control(std::uint32_t code, const std::uint8_t* in, std::uint32_t inLength, std::uint8_t* out,
                              std::uint32_t outLength, std::uint32_t& returned) {
    returned = 0;
    const HandleSlot::Lease lease = handle_.lease();
    if (!lease.get()) return false;
    DWORD bytes = 0;
    const bool ok = DeviceIoControl(lease.get(), code, const_cast<std::uint8_t*>(in), inLength, out, outLength, &bytes,
                                    nullptr) != FALSE;
    returned = ok ? bytes : 0;
    return ok;
}

}  // namespace mv
