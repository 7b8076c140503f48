#include "app/single_instance.h"

#include "app/main_window.h"
#include "framework/messages.h"

namespace mv {

namespace {
constexpr DWORD kPollMs = 50;

// Shows the running instance; false when it has no main window.
bool ActivateRunning(const std::wstring& title) {
    HWND running = FindRunningMainWindow(title);
    if (running) PostMessageW(running, WM_ACTIVATE_INSTANCE, 0, 0);
    return running != nullptr;
}
}  // namespace

HWND FindRunningMainWindow(const std::wstring& title) {
    if (HWND window = FindWindowW(CMorviCorvelConfigDlg::kWindowClass, title.c_str())) return window;
    return FindWindowW(CMorviCorvelConfigDlg::kWindowClass, nullptr);
}

SingleInstance::SingleInstance() { mutex_ = CreateMutexW(nullptr, FALSE, kInstanceMutexName); }

SingleInstance::~SingleInstance() {
    Release();
    if (mutex_) CloseHandle(mutex_);
}

bool SingleInstance::Claim(const std::wstring& title, DWORD waitMs) {
    // Without a usable mutex (refused by the system) the window search alone decides.
    if (!mutex_) return !ActivateRunning(title);
    const DWORD start = GetTickCount();
    for (;;) {
        // The wait doubles as the pause between searches; it returns at once when the running
        // instance ends (an abandoned mutex passes to this process as well).
        const DWORD result = WaitForSingleObject(mutex_, kPollMs);
        if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) {
            owned_ = true;
            return true;
        }
        if (result == WAIT_FAILED) return !ActivateRunning(title);
        if (ActivateRunning(title)) return false;
        if (GetTickCount() - start >= waitMs) return false;  // it never made its window
    }
}

void SingleInstance::Release() {
    if (owned_) ReleaseMutex(mutex_);
    owned_ = false;
}

}  // namespace mv
