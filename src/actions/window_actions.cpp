// Window switching, closing, minimize/restore, desktop, Explorer, Run, lock,
// zoom, the Windows 8 shortcuts and shell launches.
#include <array>
#include <string_view>

#include "actions/cfunction.h"
#include "actions/input_codes.h"
#include "actions/windows_generation.h"

namespace mv {

WindowHandle SavedMinimizedWindow = 0;

namespace {
// Windows that zoom with Ctrl and +/- rather than Ctrl and the wheel.
constexpr std::array<std::u16string_view, 3> kZoomClassList = {u"MozillaWindowClass", u"AVL_AVView", u"PSViewC"};
constexpr std::uint32_t kSwitchTaskHoldMs = 100;
}  // namespace

int CFunction::generation() { return WindowsGeneration(ctx_.desktop); }

void CFunction::CloseActiveWindow() { SendShortcut({kVkLMenu}, kVkF4); }
void CFunction::OpenExplorer() { SendShortcut({kVkLWin}, 'E'); }
void CFunction::OpenRunDialog() { SendShortcut({kVkLWin}, 'R'); }
void CFunction::ShowDesktop() { SendShortcut({kVkLWin}, 'D'); }
void CFunction::ShowStartScreen() { SendShortcut({}, kVkLWin); }
void CFunction::ShowCharms() { SendShortcut({kVkLWin}, 'C'); }

void CFunction::Flip3D() {
    const int g = generation();
    if (g == kGenerationVista || g == kGenerationWindows7) SendShortcut({kVkControl, kVkLWin}, kVkTab);
}

void CFunction::MagnifierZoomIn() {
    if (generation() >= kGenerationWindows7)
        SendShortcut({kVkLWin}, kVkAdd);
    else
        ZoomIn();
}

void CFunction::MagnifierZoomOut() {
    if (generation() >= kGenerationWindows7)
        SendShortcut({kVkLWin}, kVkSubtract);
    else
        ZoomOut();
}

void CFunction::SendCtrlWinBackspace() {
    if (generation() >= kGenerationWindows7)
        SendShortcut({kVkLControl, kVkLWin}, kVkBack);
    else
        ZoomOut();
}

void CFunction::SendCtrlWinF23() {
    if (generation() >= kGenerationWindows7)
        SendShortcut({kVkLControl, kVkLWin}, kVkF23);
    else
        ZoomOut();
}

void CFunction::SwitchTask() {
    key(kVkLMenu, kKeyExtended);
    key(kVkTab, 0);
    ctx_.input.sleep(kSwitchTaskHoldMs);
    key(kVkTab, kKeyUp);
    key(kVkLMenu, kKeyExtended | kKeyUp);
    if (generation() >= kGenerationVista) {
        ctx_.input.sleep(kSwitchTaskHoldMs);
        TapKey(kVkLMenu);
    }
}

void CFunction::zoom(bool in) {
    Point where;
    ctx_.input.cursorPos(where);
    const WindowHandle window = ctx_.desktop.windowFromPoint(where);
    const std::u16string name = window ? ctx_.desktop.className(window) : std::u16string();
    bool keyboardZoom = false;
    for (const auto listed : kZoomClassList)
        if (!name.empty() && name == listed) keyboardZoom = true;

    if (keyboardZoom) {
        SendShortcut({kVkControl}, in ? kVkOemPlus : kVkOemMinus);
    } else {
        key(kVkControl, kKeyExtended);
        mouse(kMouseWheel, in ? kWheelDelta : -kWheelDelta);
        key(kVkControl, kKeyExtended | kKeyUp);
    }
}

void CFunction::ZoomIn() { zoom(true); }
void CFunction::ZoomOut() { zoom(false); }

void CFunction::MinimizeForegroundWindow() {
    const WindowHandle window = ctx_.desktop.foregroundWindow();
    SavedMinimizedWindow = window;
    if ((ctx_.desktop.windowStyle(window) & kWsMinimizeBox) && window != ctx_.desktop.desktopWindow())
        ctx_.input.sendMessage(window, kWmSysCommand, kScMinimize, 0);
}

void CFunction::RestoreSavedWindow() {
    const WindowHandle window = SavedMinimizedWindow;
    if ((ctx_.desktop.windowStyle(window) & kWsMaximizeBox) && window != ctx_.desktop.desktopWindow())
        ctx_.input.sendMessage(window, kWmSysCommand, kScRestore, 0);
    SavedMinimizedWindow = 0;
}

void CFunction::LockComputer() {
    const bool underWow64 = ctx_.system.isWow64Process().value_or(false);
    if (!underWow64) {
        ctx_.system.lockWorkStation();
        return;
    }
    const ModuleHandle kernel = ctx_.system.loadLibrary(u"Kernel32.dll");
    if (kernel == 0) return;
    std::uintptr_t oldValue = 0;
    if (ctx_.system.disableFsRedirection(kernel, oldValue)) {
        ctx_.system.lockWorkStation();
        ctx_.system.revertFsRedirection(kernel, oldValue);
    }
    ctx_.system.freeLibrary(kernel);
}

void CFunction::ShellOpen(const std::u16string& target) { ctx_.system.shellOpen(target); }

}  // namespace mv
