#include "gesture/dispatcher.h"

#include "actions/input_codes.h"
#include "actions/windows_generation.h"

namespace mv {

namespace {
std::u16string Facebook(std::u16string_view path) {
    std::u16string target(kFacebookSiteRoot);
    target += path;
    return target;
}
}  // namespace

void DispatchAction(const FunctionRecord& record, CFaceBookFunction& facebook, ActionSet& a, DesktopSeam& desktop) {
    switch (record.actionCode()) {
        // Pointer buttons and wheel
        case 1: a.SendLeftClick(); break;
        case 2: a.SendRightClick(); break;
        case 3: a.SendMiddleClick(); break;
        case 4: a.SendXButton2Click(); break;
        case 5: a.SendXButton1Click(); break;
        case 9: a.SendWheel(kWheelDelta); break;
        case 10: a.SendWheel(-kWheelDelta); break;
        case 18: a.SendDoubleClick(); break;

        // Keys and editing shortcuts
        case 64: a.SendCut(); break;
        case 65: a.SendCopy(); break;
        case 66: a.SendPaste(); break;
        case 68: a.SendSelectAll(); break;
        case 69: a.SendFind(); break;
        case 70: a.SendNew(); break;
        case 71: a.SendPrint(); break;
        case 72: a.SendSave(); break;
        case 73: a.TapKey(kVkDelete); break;
        case 115: a.TapKey(kVkVolumeMute); break;
        case 116: a.TapKey(kVkVolumeUp); break;
        case 117: a.TapKey(kVkVolumeDown); break;

        // Window and system
        case 8:
            if (WindowsGeneration(desktop) >= kGenerationVista)
                a.Flip3D();
            else
                a.SwitchTask();
            break;
        case 33:
            if (WindowsGeneration(desktop) >= kGenerationWindows8) a.ShowStartScreen();
            break;
        case 35: a.MagnifierZoomIn(); break;
        case 36: a.MagnifierZoomOut(); break;
        case 37:
            if (WindowsGeneration(desktop) >= kGenerationWindows8) a.ShowCharms();
            break;
        case 80: a.SwitchTask(); break;
        case 81: a.CloseActiveWindow(); break;
        case 82: a.LockComputer(); break;
        case 83: a.OpenExplorer(); break;
        case 84: a.OpenRunDialog(); break;
        case 85: a.ShowDesktop(); break;
        case 86: a.ZoomIn(); break;
        case 87: a.ZoomOut(); break;
        case 88:
            if (SavedMinimizedWindow != 0) a.RestoreSavedWindow();
            break;
        case 89:
            if (SavedMinimizedWindow == 0) a.MinimizeForegroundWindow();
            break;
        case 163: a.SendCtrlWinBackspace(); break;
        case 164: a.SendCtrlWinF23(); break;

        // Launching programs and pages
        case 25: a.ShellOpen(record.programPath()); break;
        case 56: a.ShellOpen(u"Winword"); break;
        case 57: a.ShellOpen(u"excel"); break;
        case 58: a.ShellOpen(u"POWERPNT"); break;
        case 128: a.ShellOpen(Facebook(u"/")); break;
        case 133: a.ShellOpen(Facebook(u"/?sk=messages")); break;
        case 137: a.ShellOpen(Facebook(u"/notes/")); break;
        case 154: a.ShellOpen(Facebook(u"/?sk=messages")); break;
        case 155: a.ShellOpen(Facebook(u"/?sk=events&ap=1")); break;
        case 156: a.ShellOpen(Facebook(u"/?sk=messages#!/?sk=media")); break;
        case 157: a.ShellOpen(Facebook(u"/?sk=media")); break;

        // Facebook plug-in calls
        case 129: facebook.OpenZoomOutWindow(); break;
        case 130: facebook.OpenZoomInWindow(); break;
        case 131: facebook.OpenSearchFriend(); break;
        case 132: facebook.OpenAllFriend(); break;
        case 134: facebook.OpenAllMessage(); break;
        case 135: facebook.OpenAllNotify(); break;
        case 136: facebook.OpenFriendAlign(); break;

        // Horizontal scrolling
        case 16: a.ScrollHorizontal(+3); break;
        case 17: a.ScrollHorizontal(-3); break;

        // Music players
        case 110: a.PlayPause(); break;
        case 112: a.PreviousTrack(); break;
        case 113: a.NextTrack(); break;
        case 114: a.StopPlayback(); break;

        // User chords and macros
        case 19: a.PlayKeyChord(record.chordModifiers(), record.chordKey1(), record.chordKey2()); break;
        case 20: a.PlayMacro(record.macroIndex()); break;

        default: break;  // 0, 161, 162 and every unlisted code do nothing
    }
}

bool StartsOrPlays(const FunctionRecord& record) {
    switch (record.actionCode()) {
        case 20:
        case 25:
        case 56:
        case 57:
        case 58:
        case 128:
        case 133:
        case 137:
        case 154:
        case 155:
        case 156:
        case 157: return true;
        default: return false;
    }
}

void ExecuteFunction(const FunctionRecord& record, CFaceBookFunction& facebook, const ActionContext& context) {
    CFunction function(context);
    DispatchAction(record, facebook, function, context.desktop);
}

}  // namespace mv
