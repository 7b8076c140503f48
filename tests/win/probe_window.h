// A visible top-level window in the test process that records the keyboard and
// mouse messages it receives, for checking injected input end to end.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace mv::wintest {

struct ReceivedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class ProbeWindow {
public:
    explicit ProbeWindow(const wchar_t* className = L"MvProbeWindow", const wchar_t* title = L"probe");
    ~ProbeWindow();
    ProbeWindow(const ProbeWindow&) = delete;
    ProbeWindow& operator=(const ProbeWindow&) = delete;

    HWND handle() const { return window_; }
    // Brings the window to the foreground with the keyboard focus; true when it has it.
    bool activate();
    // Pumps this thread's messages for `ms` milliseconds.
    void pump(DWORD ms);
    // Pumps until `count` messages arrived or `ms` passed.
    void pumpUntil(std::size_t count, DWORD ms);
    // The key-down/up and mouse button/wheel messages received so far.
    std::vector<ReceivedMessage> received;
    void clear() { received.clear(); }

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    HWND window_ = nullptr;
};

// Pumps this thread's messages for `ms` milliseconds.
void PumpThreadMessages(DWORD ms);

// "down 43" / "up 43" lines for the WM_KEYDOWN/WM_KEYUP (and SYS variants) received.
std::vector<std::string> KeyLines(const std::vector<ReceivedMessage>& messages);

}  // namespace mv::wintest
