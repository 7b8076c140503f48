#include "win32/win32_driver_port.h"

namespace mv {

Win32DriverPort::~Win32DriverPort() { closeDevice(); }

bool Win32DriverPort::openDevice() {
    // A device arrival opens again while a handle is open: the old one is closed, so the
    // channel holds exactly one handle.
    HANDLE handle = CreateFileW(path_, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                nullptr);
    HANDLE previous = handle_.exchange(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
    if (previous) CloseHandle(previous);
    return handle != INVALID_HANDLE_VALUE;
}

void Win32DriverPort::closeDevice() {
    if (HANDLE previous = handle_.exchange(nullptr)) CloseHandle(previous);
}

bool Win32DriverPort::control(std::uint32_t code, const std::uint8_t* in, std::uint32_t inLength, std::uint8_t* out,
                              std::uint32_t outLength) {
    HANDLE handle = handle_.load();
    if (!handle) return false;
    DWORD returned = 0;
    return DeviceIoControl(handle, code, const_cast<std::uint8_t*>(in), inLength, out, outLength, &returned,
                           nullptr) != FALSE;
}

}  // namespace mv
