// The single-instance rule. A mutex decides which process runs: in a private namespace that
// only administrators can make, where the system has them, else a plain named one. A later
// start looks for the running one's main window, by the program's own window class, its
// title and its executable, and posts it WM_ACTIVATE_INSTANCE. Any other process can take the
// plain name and make a window of our class: such a squatter is ignored.
#pragma once

#include <windows.h>

#include <string>

namespace mv {

inline constexpr wchar_t kInstanceMutexName[] = L"Local\\MorviCorvelConfig.Instance";
inline constexpr wchar_t kInstanceNamespace[] = L"MorviCorvelConfig";
inline constexpr wchar_t kNamespacedMutexName[] = L"MorviCorvelConfig\\Instance";

// How long a later start waits for the running instance's main window to appear.
inline constexpr DWORD kRunningWindowWaitMs = 60000;

// The main window of a running instance of this executable: our class with `title`, else any
// window of our class (its title may be another language's, or not yet set while it is being
// created). Windows of our class in processes of another executable are not ours.
HWND FindRunningMainWindow(const std::wstring& title);
// Whether `window` belongs to a process running this executable.
bool WindowOfThisProgram(HWND window);

class SingleInstance {
public:
    SingleInstance();
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this process is to run. Otherwise another instance holds the mutex: its main
    // window, once found within `waitMs`, has been sent WM_ACTIVATE_INSTANCE, and this process
    // ends quietly. An instance that ends meanwhile hands the mutex over to this one.
    // A plain mutex held by a process that shows only foreign windows of our class is a squatter's:
    // this process runs.
    bool Claim(const std::wstring& title, DWORD waitMs = kRunningWindowWaitMs);
    // Gives the mutex up (at the end of the run, after the main window is gone).
    void Release();

private:
    HANDLE mutex_ = nullptr;
    HANDLE namespace_ = nullptr;
    bool owned_ = false;
};

}  // namespace mv
