// The single-instance rule. A named mutex that only this program creates decides which
// process runs; a later start looks for the running one's main window, by the program's
// own window class and its title, and posts it WM_ACTIVATE_INSTANCE.
#pragma once

#include <windows.h>

#include <string>

namespace mv {

inline constexpr wchar_t kInstanceMutexName[] = L"Local\\MorviCorvelConfig.Instance";

// How long a later start waits for the running instance's main window to appear.
inline constexpr DWORD kRunningWindowWaitMs = 60000;

// The main window of a running instance: our class with `title`, else any window of our class
// (its title may be another language's, or not yet set while it is being created).
HWND FindRunningMainWindow(const std::wstring& title);

class SingleInstance {
public:
    SingleInstance();
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this process is to run. Otherwise another instance holds the mutex: its main
    // window, once found within `waitMs`, has been sent WM_ACTIVATE_INSTANCE, and this process
    // ends quietly. An instance that ends meanwhile hands the mutex over to this one.
    bool Claim(const std::wstring& title, DWORD waitMs = kRunningWindowWaitMs);
    // Gives the mutex up (at the end of the run, after the main window is gone).
    void Release();

private:
    HANDLE mutex_ = nullptr;
    bool owned_ = false;
};

}  // namespace mv
