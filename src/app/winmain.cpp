// Program entry. The hidden main window receives the gesture events and runs
// the functions of the gesture slots.
#include <windows.h>

#include "app/messages.h"
#include "gesture/dispatcher.h"
#include "gesture/gesture_events.h"
#include "gesture/settings_images.h"
#include "win32/win32_platform.h"

namespace {

constexpr wchar_t kWindowClass[] = L"MorviCorvelConfigMain";
constexpr wchar_t kTitle[] = L"Morvi Corvel Config";

struct Program {
    mv::Win32Input input;
    mv::Win32Desktop desktop;
    mv::Win32System system;
    mv::Win32Clock clock;
    mv::ButtonSettingBlob settings;
    mv::MacroStore macros;
    mv::GestureEvents gestures{clock};
    mv::CFaceBookFunction facebook{desktop, system};
    std::u16string title = u"Morvi Corvel Config";
    mv::ActionContext context{input, desktop, system, macros, &title};
};

Program* program = nullptr;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case mv::WM_GESTURE_EVENT:
            program->gestures.OnGestureEvent(static_cast<mv::DeviceEventCode>(wParam), program->settings.records,
                                             [](const mv::FunctionRecord& record) {
                                                 mv::ExecuteFunction(record, program->facebook, program->context);
                                             });
            return 0;
        case mv::WM_ACTIVATE_INSTANCE:
            ShowWindow(window, SW_SHOWNORMAL);
            return 0;
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    if (HWND running = FindWindowW(nullptr, kTitle)) {
        PostMessageW(running, mv::WM_ACTIVATE_INSTANCE, 0, 0);
        return 0;
    }

    static Program state;
    program = &state;
    mv::ResetRecordsToDefaults(state.settings.records);

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(128));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kWindowClass;
    if (!RegisterClassExW(&wc)) return 1;

    HWND window = CreateWindowExW(WS_EX_APPWINDOW, kWindowClass, kTitle, WS_POPUP | WS_SYSMENU | WS_CAPTION,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 480, 325, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
