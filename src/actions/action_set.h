// The operations the dispatcher can run. CFunction implements them against the
// system seams; tests substitute a recorder to check the routing.
#pragma once

#include <cstdint>
#include <string>

namespace mv {

class ActionSet {
public:
    virtual ~ActionSet() = default;

    // Pointer buttons, wheel, keys and editing shortcuts
    virtual void SendLeftClick() = 0;
    virtual void SendRightClick() = 0;
    virtual void SendMiddleClick() = 0;
    virtual void SendXButton1Click() = 0;
    virtual void SendXButton2Click() = 0;
    virtual void SendDoubleClick() = 0;
    virtual void SendWheel(std::int32_t delta) = 0;
    virtual void TapKey(std::uint8_t vk) = 0;
    virtual void SendCut() = 0;
    virtual void SendCopy() = 0;
    virtual void SendPaste() = 0;
    virtual void SendSelectAll() = 0;
    virtual void SendFind() = 0;
    virtual void SendNew() = 0;
    virtual void SendPrint() = 0;
    virtual void SendSave() = 0;

    // Window and system actions
    virtual void CloseActiveWindow() = 0;
    virtual void OpenExplorer() = 0;
    virtual void OpenRunDialog() = 0;
    virtual void ShowDesktop() = 0;
    virtual void ShowStartScreen() = 0;
    virtual void ShowCharms() = 0;
    virtual void Flip3D() = 0;
    virtual void MagnifierZoomIn() = 0;
    virtual void MagnifierZoomOut() = 0;
    virtual void SendCtrlWinBackspace() = 0;
    virtual void SendCtrlWinF23() = 0;
    virtual void SwitchTask() = 0;
    virtual void ZoomIn() = 0;
    virtual void ZoomOut() = 0;
    virtual void MinimizeForegroundWindow() = 0;
    virtual void RestoreSavedWindow() = 0;
    virtual void LockComputer() = 0;
    virtual void ShellOpen(const std::u16string& target) = 0;

    // Horizontal scrolling: positive steps scroll left, negative right
    virtual void ScrollHorizontal(int steps) = 0;

    // Music players
    virtual void PlayPause() = 0;
    virtual void StopPlayback() = 0;
    virtual void PreviousTrack() = 0;
    virtual void NextTrack() = 0;

    // User chords and macros
    virtual void PlayKeyChord(std::uint8_t modifiers, std::uint8_t key1, std::uint8_t key2) = 0;
    virtual void PlayMacro(std::uint8_t macroIndex) = 0;
};

}  // namespace mv
