// CUSBDriver: the channel to the touch driver. It owns the event semaphore, the reader
// thread that turns each announcement into one WM_GESTURE_EVENT for the main window,
// the hidden "Zizozazuzivezude" window, and the device commands.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>

#include "device/device_commands.h"
#include "framework/wnd.h"
#include "seams/device_settings.h"

namespace mv {

class CUSBDriver : public fw::CWnd, public DeviceSettingsSeam {
public:
    // `port` is \\.\mvtouch, or a test's.
    explicit CUSBDriver(std::unique_ptr<DriverPort> port);
    ~CUSBDriver() override;

    // Once, before the first OpenDevice: target window, semaphore (0/8000), reader thread
    // (4096-byte stack argument), the hidden window.
    void StartReader(HWND mainWindow);
    // Opens \\.\mvtouch and sends the open request with the semaphore.
    bool OpenDevice();
    // Closes the handle: another session's instance may open the device.
    void CloseDevice() { port_->closeDevice(); }
    bool SetMode(std::uint32_t flags) { return commands_.SetMode(flags); }
    bool UpdateInterceptKey(std::uint8_t vk, std::uint8_t modifiers, bool add) {
        return commands_.UpdateInterceptKey(vk, modifiers, add);
    }
    bool WriteRegister(std::uint8_t value) { return commands_.WriteRegister(value); }
    bool ReadRegister(std::array<std::uint8_t, 3>& data) { return commands_.ReadRegister(data); }
    bool ReadBattery(std::uint32_t& value) { return commands_.ReadBattery(value); }
    bool SendDeviceSettings(const FunctionRecordArray& records) { return commands_.SendDeviceSettings(records); }
    bool SendDeviceSettingsForSlots(std::uint32_t reported) { return commands_.SendDeviceSettingsForSlots(reported); }
    bool sendReportedSlots(std::uint32_t reported) override { return commands_.SendDeviceSettingsForSlots(reported); }
    bool handBack() override { return commands_.SetMode(0); }
    bool IsOpen() const { return port_->isOpen(); }

    // Orderly end of the reader: stop flag, one release, a bounded wait. A reader stuck in
    // the driver is left to end with the process; the port and semaphore stay alive for it.
    // True when the reader has ended.
    bool StopReader(DWORD waitMs = 2000);

    HANDLE semaphore() const;

private:
    struct ReaderState;
    static DWORD WINAPI ReaderThread(void* parameter);

    std::shared_ptr<DriverPort> port_;  // shared with the reader
    DeviceCommands commands_;
    std::shared_ptr<ReaderState> reader_;
};

}  // namespace mv
