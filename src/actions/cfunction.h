// The actions: stateless operations that turn a function into input, window
// messages, launches or system calls through the seams.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "actions/action_set.h"
#include "seams/desktop.h"
#include "seams/input.h"
#include "seams/system.h"

namespace mv {

struct MacroStore;

struct ActionContext {
    InputSeam& input;
    DesktopSeam& desktop;
    SystemSeam& system;
    const MacroStore& macros;
    // The program's own window title (the settings window's); a macro stops
    // when the foreground window carries it. Null reads as an empty title.
    const std::u16string* ownWindowTitle = nullptr;
};

// The one window handle that minimize (code 89) and restore (code 88) share.
extern WindowHandle SavedMinimizedWindow;

// Modifier bits of PostKeyToWindow.
inline constexpr std::uint32_t kPostCtrl = 1;
inline constexpr std::uint32_t kPostShift = 2;
inline constexpr std::uint32_t kPostWin = 4;
inline constexpr std::uint32_t kPostAlt = 8;

// Player bits of FindRunningPlayers.
inline constexpr std::uint32_t kPlayerKwMusic = 1;
inline constexpr std::uint32_t kPlayerKuGou = 2;
inline constexpr std::uint32_t kPlayerTTPlayer = 4;
inline constexpr std::uint32_t kPlayeriTunes = 8;

class CFunction final : public ActionSet {
public:
    explicit CFunction(const ActionContext& context) : ctx_(context) {}

    // Input primitives
    void SendLeftClick() override;
    void SendRightClick() override;
    void SendMiddleClick() override;
    void SendXButton1Click() override;
    void SendXButton2Click() override;
    void SendDoubleClick() override;
    void SendWheel(std::int32_t delta) override;
    void TapKey(std::uint8_t vk) override;
    void SendCut() override;
    void SendCopy() override;
    void SendPaste() override;
    void SendSelectAll() override;
    void SendFind() override;
    void SendNew() override;
    void SendPrint() override;
    void SendSave() override;

    // Presses `modifiers` in order, taps `key`, releases the modifiers in reverse order.
    void SendShortcut(std::initializer_list<std::uint8_t> modifiers, std::uint8_t key);
    // Posts WM_KEYDOWN/WM_KEYUP of `vk` to `window` with the given modifiers held.
    void PostKeyToWindow(WindowHandle window, std::uint32_t modifiers, std::uint8_t vk);

    // Window and system actions
    void CloseActiveWindow() override;
    void OpenExplorer() override;
    void OpenRunDialog() override;
    void ShowDesktop() override;
    void ShowStartScreen() override;
    void ShowCharms() override;
    void Flip3D() override;
    void MagnifierZoomIn() override;
    void MagnifierZoomOut() override;
    void SendCtrlWinBackspace() override;
    void SendCtrlWinF23() override;
    void SwitchTask() override;
    void ZoomIn() override;
    void ZoomOut() override;
    void MinimizeForegroundWindow() override;
    void RestoreSavedWindow() override;
    void LockComputer() override;
    void ShellOpen(const std::u16string& target) override;

    // Horizontal scrolling
    void ScrollHorizontal(int steps) override;

    // Music players
    void PlayPause() override;
    void StopPlayback() override;
    void PreviousTrack() override;
    void NextTrack() override;

    // User chords and macros
    void PlayKeyChord(std::uint8_t modifiers, std::uint8_t key1, std::uint8_t key2) override;
    void PlayMacro(std::uint8_t macroIndex) override;

    // One step of scrolling an "Internet Explorer_Server" document.
    void ScrollBrowserDocument(bool left);
    // The set of running players, one kPlayer* bit each.
    std::uint32_t FindRunningPlayers();
    // One press or release of a chord key byte (mouse buttons 0xC1 to 0xC3).
    void PlayMacroStep(std::uint8_t key, bool up);

private:
    void key(std::uint8_t vk, std::uint32_t flags);
    void mouse(std::uint32_t flags, std::int32_t data);
    void click(std::uint32_t down, std::uint32_t up, std::int32_t data);
    void zoom(bool in);
    int generation();
    void scrollStep(int treatment, WindowHandle pointerWindow, WindowHandle target, bool left, bool ieServer);
    void horizontalWheel(int count);
    void clickArrows(WindowHandle target, bool left, std::uint32_t steps, Point home);
    void transport(int operation);
    void chordKey(std::uint8_t vk, bool up);

    const ActionContext& ctx_;
};

}  // namespace mv
