#include "framework/modal_windows.h"

namespace mv::fw {

namespace {

bool OwnedBy(HWND window, HWND owner) {
    // Owner chains are short; the bound only guards against a cycle.
    for (int depth = 0; window && depth < 32; ++depth) {
        window = GetWindow(window, GW_OWNER);
        if (window == owner) return true;
    }
    return false;
}

BOOL CALLBACK CloseOne(HWND window, LPARAM data) {
    const HWND owner = reinterpret_cast<HWND>(data);
    if (window != owner && IsWindowVisible(window) && IsWindowEnabled(window) && OwnedBy(window, owner))
        PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

}  // namespace

bool HasModalWindowOver(HWND owner) { return owner && IsWindow(owner) && !IsWindowEnabled(owner); }

void CloseModalWindowsOver(HWND owner) {
    if (owner) EnumThreadWindows(GetCurrentThreadId(), CloseOne, reinterpret_cast<LPARAM>(owner));
}

}  // namespace mv::fw
