#include "device/usb_driver_win.h"

#include "framework/messages.h"
#include "device/driver_protocol.h"

namespace mv {

// Shared by the user-interface thread and the reader; the reader holds its own reference,
// so a reader that outlives CUSBDriver never touches freed memory.
struct CUSBDriver::ReaderState {
    std::shared_ptr<DriverPort> port;
    std::shared_ptr<ReaderState> self;  // the reader's reference while it runs
    HWND target = nullptr;
    HANDLE semaphore = nullptr;
    HANDLE thread = nullptr;
    std::atomic<std::uint32_t> stop{0};
    ~ReaderState() {
        if (semaphore) CloseHandle(semaphore);
    }
};

CUSBDriver::CUSBDriver(std::unique_ptr<DriverPort> port)
    : port_(std::move(port)), commands_(*port_) {}

CUSBDriver::~CUSBDriver() { StopReader(); }

HANDLE CUSBDriver::semaphore() const { return reader_ ? reader_->semaphore : nullptr; }

void CUSBDriver::StartReader(HWND mainWindow) {
    if (reader_) return;
    auto state = std::make_shared<ReaderState>();
    state->port = port_;
    state->target = mainWindow;
    state->semaphore = CreateSemaphoreW(nullptr, 0, 8000, nullptr);
    commands_.setSemaphoreHandle(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(state->semaphore)));
    reader_ = state;
    if (state->semaphore) {
        state->self = state;
        DWORD id = 0;
        state->thread = CreateThread(nullptr, 4096, ReaderThread, state.get(), 0, &id);
        if (!state->thread) state->self.reset();
    }
    const RECT rect{1, 1, 2, 2};
    CreateEx(0, BareWindowClass(), L"Zizozazuzivezude", WS_POPUP, rect, nullptr, 0);
}

bool CUSBDriver::OpenDevice() { return commands_.OpenDevice(); }

DWORD WINAPI CUSBDriver::ReaderThread(void* parameter) {
    auto* raw = static_cast<ReaderState*>(parameter);
    std::shared_ptr<ReaderState> state = std::move(raw->self);
    DriverEvent event = DriverEvent::Initial();
    while (state->stop.load() == 0) {
        if (WaitForSingleObject(state->semaphore, INFINITE) != WAIT_OBJECT_0) break;
        if (state->stop.load() != 0) break;
        // The port reads the handle afresh; with no handle the announcement is just consumed.
        if (ReadDriverEvent(*state->port, event) && state->target)
            PostMessageW(state->target, WM_GESTURE_EVENT, event.code(), 0);
    }
    return 0;
}

bool CUSBDriver::StopReader(DWORD waitMs) {
    if (!reader_) return true;
    std::shared_ptr<ReaderState> state = std::move(reader_);
    state->stop.store(1);
    bool stopped = true;
    if (state->thread) {
        ReleaseSemaphore(state->semaphore, 1, nullptr);
        stopped = WaitForSingleObject(state->thread, waitMs) == WAIT_OBJECT_0;
        CloseHandle(state->thread);
        state->thread = nullptr;
    }
    // A reader that did not stop holds its own reference: the port and the semaphore stay
    // alive until it returns.
    if (GetSafeHwnd()) DestroyWindow();
    return stopped;
}

}  // namespace mv
