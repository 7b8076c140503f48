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

struct Search {
    HWND owner;
    int asked;
};

BOOL CALLBACK CloseOne(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    if (window != search->owner && IsWindowVisible(window) && IsWindowEnabled(window) &&
        OwnedBy(window, search->owner)) {
        PostMessageW(window, WM_CLOSE, 0, 0);
        ++search->asked;
    }
    return TRUE;
}

}  // namespace

bool HasModalWindowOver(HWND owner) { return owner && IsWindow(owner) && !IsWindowEnabled(owner); }

int CloseModalWindowsOver(HWND owner) {
    Search search{owner, 0};
    if (owner) EnumThreadWindows(GetCurrentThreadId(), CloseOne, reinterpret_cast<LPARAM>(&search));
    return search.asked;
}

}  // namespace mv::fw
