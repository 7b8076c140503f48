// The gesture feedback's label: a small translucent window near the pointer that shows a
// function's name and fades. It never takes the activation or the focus and lets every click
// through. The window lives on a thread of its own, so that placing and drawing it never holds
// up the next gesture; the thread waits in GetMessage and the window has a timer only while it
// shows, so a hidden label costs no wake-up.
// Each showing is told to assistive technology (the window's text is the shown text, read as
// static text, and a name change is raised), so a screen reader speaks it. Under high contrast
// the label is opaque in the system's menu colours; without Windows' "show animations" it does
// not fade; both are read at each showing and again on WM_SETTINGCHANGE.
#pragma once

#include <windows.h>

#include <cstdint>
#include <mutex>
#include <string>

#include "ui/feedback_rules.h"

namespace mv {

class FeedbackLabel {
public:
    FeedbackLabel() = default;
    ~FeedbackLabel();
    FeedbackLabel(const FeedbackLabel&) = delete;
    FeedbackLabel& operator=(const FeedbackLabel&) = delete;

    // Shows `text` near the pointer at full strength, or restarts the course with the new
    // text while it shows. Returns at once; the thread and its window are made on the first call.
    void Show(const std::wstring& text);
    void Hide();
    // Ends the thread and its window.
    void Close();

private:
    static DWORD WINAPI Thread(void* self);
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool Start();
    void Place();
    void Step();
    void SetAlpha(std::uint8_t alpha);
    void Paint();
    void ReadLook();

    HANDLE thread_ = nullptr;
    HWND window_ = nullptr;  // set by the thread before it signals `ready`
    HANDLE ready_ = nullptr;
    std::mutex mutex_;
    std::wstring pending_;  // the text of the last Show, under mutex_
    // Owned by the label's thread.
    std::wstring text_;
    DWORD shownAt_ = 0;
    HFONT font_ = nullptr;  // for dpi_, made on the first showing
    int dpi_ = 96;
    SIZE size_{};
    RECT placed_{};
    std::uint8_t alpha_ = 0;  // 0 until the first showing sets it
    FeedbackLook look_;
};

}  // namespace mv
