// Routing of every action code on every Windows generation, checked against a
// table written from the action catalogue.
#include <gtest/gtest.h>

#include <map>

#include "gesture/dispatcher.h"
#include "support/fake_platform.h"

namespace mv {
namespace {

using Lines = std::vector<std::string>;

// Records which operation the dispatcher picked, with its arguments.
class RecordingActions final : public ActionSet {
public:
    Lines calls;
    void SendLeftClick() override { calls.push_back("SendLeftClick"); }
    void SendRightClick() override { calls.push_back("SendRightClick"); }
    void SendMiddleClick() override { calls.push_back("SendMiddleClick"); }
    void SendXButton1Click() override { calls.push_back("SendXButton1Click"); }
    void SendXButton2Click() override { calls.push_back("SendXButton2Click"); }
    void SendDoubleClick() override { calls.push_back("SendDoubleClick"); }
    void SendWheel(std::int32_t d) override { calls.push_back("SendWheel(" + std::to_string(d) + ")"); }
    void TapKey(std::uint8_t vk) override { calls.push_back("TapKey(" + test::Hex(vk) + ")"); }
    void SendCut() override { calls.push_back("SendCut"); }
    void SendCopy() override { calls.push_back("SendCopy"); }
    void SendPaste() override { calls.push_back("SendPaste"); }
    void SendSelectAll() override { calls.push_back("SendSelectAll"); }
    void SendFind() override { calls.push_back("SendFind"); }
    void SendNew() override { calls.push_back("SendNew"); }
    void SendPrint() override { calls.push_back("SendPrint"); }
    void SendSave() override { calls.push_back("SendSave"); }
    void CloseActiveWindow() override { calls.push_back("CloseActiveWindow"); }
    void OpenExplorer() override { calls.push_back("OpenExplorer"); }
    void OpenRunDialog() override { calls.push_back("OpenRunDialog"); }
    void ShowDesktop() override { calls.push_back("ShowDesktop"); }
    void ShowStartScreen() override { calls.push_back("ShowStartScreen"); }
    void ShowCharms() override { calls.push_back("ShowCharms"); }
    void Flip3D() override { calls.push_back("Flip3D"); }
    void MagnifierZoomIn() override { calls.push_back("MagnifierZoomIn"); }
    void MagnifierZoomOut() override { calls.push_back("MagnifierZoomOut"); }
    void SendCtrlWinBackspace() override { calls.push_back("SendCtrlWinBackspace"); }
    void SendCtrlWinF23() override { calls.push_back("SendCtrlWinF23"); }
    void SwitchTask() override { calls.push_back("SwitchTask"); }
    void ZoomIn() override { calls.push_back("ZoomIn"); }
    void ZoomOut() override { calls.push_back("ZoomOut"); }
    void MinimizeForegroundWindow() override { calls.push_back("MinimizeForegroundWindow"); }
    void RestoreSavedWindow() override { calls.push_back("RestoreSavedWindow"); }
    void LockComputer() override { calls.push_back("LockComputer"); }
    void ShellOpen(const std::u16string& t) override { calls.push_back("ShellOpen(" + test::Utf8(t) + ")"); }
    void ScrollHorizontal(int s) override { calls.push_back("ScrollHorizontal(" + std::to_string(s) + ")"); }
    void PlayPause() override { calls.push_back("PlayPause"); }
    void StopPlayback() override { calls.push_back("StopPlayback"); }
    void PreviousTrack() override { calls.push_back("PreviousTrack"); }
    void NextTrack() override { calls.push_back("NextTrack"); }
    void PlayKeyChord(std::uint8_t m, std::uint8_t k1, std::uint8_t k2) override {
        calls.push_back("PlayKeyChord(" + test::Hex(m) + "," + test::Hex(k1) + "," + test::Hex(k2) + ")");
    }
    void PlayMacro(std::uint8_t i) override { calls.push_back("PlayMacro(" + std::to_string(i) + ")"); }
};

class RecordingFacebook final : public CFaceBookFunction {
public:
    using CFaceBookFunction::CFaceBookFunction;
    Lines& calls;
    RecordingFacebook(test::FakePlatform& p, Lines& sink) : CFaceBookFunction(p, p), calls(sink) {}
    void OpenFriendAlign() override { calls.push_back("fb.OpenFriendAlign"); }
    void OpenAllNotify() override { calls.push_back("fb.OpenAllNotify"); }
    void OpenAllMessage() override { calls.push_back("fb.OpenAllMessage"); }
    void OpenAllFriend() override { calls.push_back("fb.OpenAllFriend"); }
    void OpenSearchFriend() override { calls.push_back("fb.OpenSearchFriend"); }
    void OpenZoomInWindow() override { calls.push_back("fb.OpenZoomInWindow"); }
    void OpenZoomOutWindow() override { calls.push_back("fb.OpenZoomOutWindow"); }
};

// The catalogue: code -> operation, for the codes without a condition.
const std::map<int, std::string> kUnconditional = {
    {1, "SendLeftClick"},
    {2, "SendRightClick"},
    {3, "SendMiddleClick"},
    {4, "SendXButton2Click"},
    {5, "SendXButton1Click"},
    {9, "SendWheel(120)"},
    {10, "SendWheel(-120)"},
    {18, "SendDoubleClick"},
    {64, "SendCut"},
    {65, "SendCopy"},
    {66, "SendPaste"},
    {68, "SendSelectAll"},
    {69, "SendFind"},
    {70, "SendNew"},
    {71, "SendPrint"},
    {72, "SendSave"},
    {73, "TapKey(2E)"},
    {115, "TapKey(AD)"},
    {116, "TapKey(AF)"},
    {117, "TapKey(AE)"},
    {35, "MagnifierZoomIn"},
    {36, "MagnifierZoomOut"},
    {80, "SwitchTask"},
    {81, "CloseActiveWindow"},
    {82, "LockComputer"},
    {83, "OpenExplorer"},
    {84, "OpenRunDialog"},
    {85, "ShowDesktop"},
    {86, "ZoomIn"},
    {87, "ZoomOut"},
    {163, "SendCtrlWinBackspace"},
    {164, "SendCtrlWinF23"},
    {25, "ShellOpen(D:\\game.exe)"},
    {56, "ShellOpen(Winword)"},
    {57, "ShellOpen(excel)"},
    {58, "ShellOpen(POWERPNT)"},
    {128, "ShellOpen(https://www.facebook.com/)"},
    {133, "ShellOpen(https://www.facebook.com/?sk=messages)"},
    {137, "ShellOpen(https://www.facebook.com/notes/)"},
    {154, "ShellOpen(https://www.facebook.com/?sk=messages)"},
    {155, "ShellOpen(https://www.facebook.com/?sk=events&ap=1)"},
    {156, "ShellOpen(https://www.facebook.com/?sk=messages#!/?sk=media)"},
    {157, "ShellOpen(https://www.facebook.com/?sk=media)"},
    {129, "fb.OpenZoomOutWindow"},
    {130, "fb.OpenZoomInWindow"},
    {131, "fb.OpenSearchFriend"},
    {132, "fb.OpenAllFriend"},
    {134, "fb.OpenAllMessage"},
    {135, "fb.OpenAllNotify"},
    {136, "fb.OpenFriendAlign"},
    {16, "ScrollHorizontal(3)"},
    {17, "ScrollHorizontal(-3)"},
    {110, "PlayPause"},
    {112, "PreviousTrack"},
    {113, "NextTrack"},
    {114, "StopPlayback"},
    {19, "PlayKeyChord(91,41,C2)"},
    {20, "PlayMacro(7)"},
};

// The operation the catalogue names for `code`, or "" when nothing runs.
std::string Expected(int code, int generation, bool saved) {
    switch (code) {
        case 8: return generation >= 5 ? "Flip3D" : "SwitchTask";
        case 33: return generation >= 7 ? "ShowStartScreen" : "";
        case 37: return generation >= 7 ? "ShowCharms" : "";
        case 88: return saved ? "RestoreSavedWindow" : "";
        case 89: return saved ? "" : "MinimizeForegroundWindow";
    }
    const auto it = kUnconditional.find(code);
    return it == kUnconditional.end() ? "" : it->second;
}

FunctionRecord RecordWithParameters(std::uint8_t code) {
    FunctionRecord r;
    r.bytes[0] = 0x5C;
    r.setActionCode(code);
    r.bytes[2] = 7;
    r.bytes[3] = 0x91;
    r.bytes[4] = 0x41;
    r.bytes[5] = 0xC2;
    r.setProgramPath(u"D:\\game.exe");
    return r;
}

TEST(Dispatcher, EveryCodeOnEveryGenerationRunsWhatTheCatalogueNames) {
    test::FakePlatform platform;
    for (int saved = 0; saved <= 1; ++saved) {
        for (int g = 0; g <= 7; ++g) {
            platform.setGeneration(g);
            for (int code = 0; code <= 255; ++code) {
                SavedMinimizedWindow = saved ? 0x777 : 0;
                RecordingActions actions;
                RecordingFacebook facebook(platform, actions.calls);
                const FunctionRecord record = RecordWithParameters(static_cast<std::uint8_t>(code));
                const FunctionRecord before = record;
                DispatchAction(record, facebook, actions, platform);

                const std::string expected = Expected(code, g, saved);
                EXPECT_EQ(actions.calls, expected.empty() ? Lines{} : Lines{expected})
                    << "code " << code << " generation " << g << " saved " << saved;
                EXPECT_EQ(record, before);
                EXPECT_EQ(SavedMinimizedWindow, saved ? 0x777u : 0u) << "the dispatcher itself never changes it";
            }
        }
    }
    SavedMinimizedWindow = 0;
}

TEST(Dispatcher, WhatStartsOrPlaysIsEveryCodeThatOpensATargetOrPlaysAMacro) {
    test::FakePlatform platform;
    for (int code = 0; code <= 255; ++code) {
        RecordingActions actions;
        RecordingFacebook facebook(platform, actions.calls);
        const FunctionRecord record = RecordWithParameters(static_cast<std::uint8_t>(code));
        DispatchAction(record, facebook, actions, platform);
        const bool opensOrPlays = !actions.calls.empty() && (actions.calls[0].rfind("ShellOpen(", 0) == 0 ||
                                                             actions.calls[0].rfind("PlayMacro(", 0) == 0);
        EXPECT_EQ(StartsOrPlays(record), opensOrPlays) << "code " << code;
    }
}

TEST(Dispatcher, ConditionsAskForTheVersionEachTime) {
    test::FakePlatform platform;
    RecordingActions actions;
    RecordingFacebook facebook(platform, actions.calls);
    platform.setGeneration(7);
    DispatchAction(MakeRecord(33), facebook, actions, platform);
    platform.setGeneration(6);
    DispatchAction(MakeRecord(33), facebook, actions, platform);
    EXPECT_EQ(actions.calls, (Lines{"ShowStartScreen"}));
    EXPECT_EQ(platform.versionQueries, 2);
}

TEST(Dispatcher, CodesWithoutActionHaveNoEffectThroughTheRealActions) {
    test::FakeActions a;
    CFaceBookFunction facebook(a.platform, a.platform);
    a.platform.foreground = 0x10;
    a.platform.styles[0x10] = 0xFFFFFFFF;
    for (int g = 0; g <= 7; ++g) {
        a.platform.setGeneration(g);
        for (int code = 0; code <= 255; ++code) {
            if (!Expected(code, g, false).empty() || code == 8) continue;
            SavedMinimizedWindow = 0;
            ExecuteFunction(RecordWithParameters(static_cast<std::uint8_t>(code)), facebook, a.context);
            ASSERT_TRUE(a.platform.log.empty()) << "code " << code << " generation " << g;
        }
    }
}

}  // namespace
}  // namespace mv
