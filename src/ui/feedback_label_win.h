// The gesture feedback's label: a small translucent window near the pointer that shows a
// function's name and fades. It never takes the activation or the focus and lets every click
// through; while hidden it has no timer.
#pragma once

#include <windows.h>

#include <string>

#include "framework/wnd.h"

namespace mv {

class FeedbackLabel : public fw::CWnd {
public:
    ~FeedbackLabel() override;

    // Shows `text` near the pointer at full strength, or restarts the course with the new
    // text when it is showing. The window is made on the first call.
    void Show(const std::wstring& text);
    void Hide();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool Make();
    void Step();
    void Paint();

    std::wstring text_;
    DWORD shownAt_ = 0;
    HFONT font_ = nullptr;
};

}  // namespace mv
