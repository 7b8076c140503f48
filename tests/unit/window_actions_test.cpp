// Window and system actions: shortcuts, task switching, zoom, minimize/restore,
// lock with its WOW64 steps, shell launches, the plug-in calls.
#include <gtest/gtest.h>

#include "actions/input_codes.h"
#include "actions/windows_generation.h"
#include "gesture/dispatcher.h"
#include "support/fake_platform.h"

namespace mv {
namespace {

using Lines = std::vector<std::string>;

class WindowActions : public ::testing::Test {
protected:
    void SetUp() override { SavedMinimizedWindow = 0; }
    void TearDown() override { SavedMinimizedWindow = 0; }
    void run(std::uint8_t code) { ExecuteFunction(MakeRecord(code), facebook, a.context); }

    test::FakeActions a;
    test::FakePlatform& p = a.platform;
    Lines& log = a.platform.log;
    CFaceBookFunction facebook{a.platform, a.platform};
};

TEST_F(WindowActions, FixedShortcuts) {
    struct Case {
        std::uint8_t code;
        Lines expected;
    };
    p.setGeneration(7);
    const Case cases[] = {
        {81, {"key A4 1", "key 73 1", "key 73 3", "key A4 3"}},
        {83, {"key 5B 1", "key 45 1", "key 45 3", "key 5B 3"}},
        {84, {"key 5B 1", "key 52 1", "key 52 3", "key 5B 3"}},
        {85, {"key 5B 1", "key 44 1", "key 44 3", "key 5B 3"}},
        {33, {"key 5B 1", "key 5B 3"}},
        {37, {"key 5B 1", "key 43 1", "key 43 3", "key 5B 3"}},
        {35, {"key 5B 1", "key 6B 1", "key 6B 3", "key 5B 3"}},
        {36, {"key 5B 1", "key 6D 1", "key 6D 3", "key 5B 3"}},
        {163, {"key A2 1", "key 5B 1", "key 8 1", "key 8 3", "key 5B 3", "key A2 3"}},
        {164, {"key A2 1", "key 5B 1", "key 86 1", "key 86 3", "key 5B 3", "key A2 3"}},
        {115, {"key AD 1", "key AD 3"}},
        {116, {"key AF 1", "key AF 3"}},
        {117, {"key AE 1", "key AE 3"}},
        {73, {"key 2E 1", "key 2E 3"}},
    };
    for (const auto& c : cases) {
        log.clear();
        run(c.code);
        EXPECT_EQ(log, c.expected) << int(c.code);
    }
}

TEST_F(WindowActions, SwitchTaskHoldsTabAndAddsAnAltTapFromVista) {
    p.setGeneration(4);
    run(80);
    EXPECT_EQ(log, (Lines{"key A4 1", "key 9 0", "sleep 100", "key 9 2", "key A4 3"}));
    log.clear();
    p.setGeneration(5);
    run(80);
    EXPECT_EQ(log, (Lines{"key A4 1", "key 9 0", "sleep 100", "key 9 2", "key A4 3", "sleep 100", "key A4 1",
                          "key A4 3"}));
}

TEST_F(WindowActions, Code8IsAltTabBeforeVistaFlip3DOnVistaAndSevenNothingOnEight) {
    const Lines altTab = {"key A4 1", "key 9 0", "sleep 100", "key 9 2", "key A4 3"};
    const Lines flip = {"key 11 1", "key 5B 1", "key 9 1", "key 9 3", "key 5B 3", "key 11 3"};
    for (int g = 0; g <= 7; ++g) {
        log.clear();
        p.setGeneration(g);
        run(8);
        if (g <= 4)
            EXPECT_EQ(log, altTab) << g;
        else if (g <= 6)
            EXPECT_EQ(log, flip) << g;
        else
            EXPECT_TRUE(log.empty()) << g;
    }
}

TEST_F(WindowActions, OlderWindowsFallBackToPointerZoom) {
    p.setGeneration(4);
    p.defaultWindowAtPoint = 0x500;
    p.classNames[0x500] = u"Chrome_RenderWidgetHostHWND";
    const Lines zoomIn = {"key 11 1", "mouse 800 data=120 extra=0", "key 11 3"};
    const Lines zoomOut = {"key 11 1", "mouse 800 data=-120 extra=0", "key 11 3"};
    run(35);
    EXPECT_EQ(log, zoomIn);
    for (std::uint8_t code : {36, 163, 164}) {
        log.clear();
        run(code);
        EXPECT_EQ(log, zoomOut) << int(code);
    }
}

TEST_F(WindowActions, ZoomUsesKeyboardOnlyForTheListedClasses) {
    p.cursor = {40, 50};
    p.windowAt[{40, 50}] = 0x600;
    for (const char16_t* name : {u"MozillaWindowClass", u"AVL_AVView", u"PSViewC"}) {
        p.classNames[0x600] = name;
        log.clear();
        run(86);
        EXPECT_EQ(log, (Lines{"key 11 1", "key BB 1", "key BB 3", "key 11 3"}));
        log.clear();
        run(87);
        EXPECT_EQ(log, (Lines{"key 11 1", "key BD 1", "key BD 3", "key 11 3"}));
    }
    // Compared exactly: case and prefixes do not count.
    for (const char16_t* name : {u"mozillawindowclass", u"MozillaWindowClassX", u""}) {
        p.classNames[0x600] = name;
        log.clear();
        run(86);
        EXPECT_EQ(log, (Lines{"key 11 1", "mouse 800 data=120 extra=0", "key 11 3"}));
    }
}

TEST_F(WindowActions, MinimizeSavesTheForegroundWindowOnceUntilRestored) {
    p.foreground = 0x700;
    p.styles[0x700] = kWsMinimizeBox | kWsMaximizeBox;
    run(89);
    EXPECT_EQ(log, (Lines{"send 700 112 F020 0"}));
    EXPECT_EQ(SavedMinimizedWindow, 0x700u);
    log.clear();
    run(89);  // already saved: nothing
    EXPECT_TRUE(log.empty());
    run(88);
    EXPECT_EQ(log, (Lines{"send 700 112 F120 0"}));
    EXPECT_EQ(SavedMinimizedWindow, 0u);
    log.clear();
    run(88);  // nothing saved: nothing
    EXPECT_TRUE(log.empty());
}

TEST_F(WindowActions, MinimizeRespectsTheWindowsBoxesAndTheDesktop) {
    p.foreground = 0x701;  // no minimize box: saved, not minimized
    p.styles[0x701] = kWsMaximizeBox;
    run(89);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(SavedMinimizedWindow, 0x701u);
    run(88);
    EXPECT_EQ(log, (Lines{"send 701 112 F120 0"}));

    log.clear();
    p.foreground = 0x702;  // minimize box only: minimized, never restored, but cleared
    p.styles[0x702] = kWsMinimizeBox;
    run(89);
    run(88);
    EXPECT_EQ(log, (Lines{"send 702 112 F020 0"}));
    EXPECT_EQ(SavedMinimizedWindow, 0u);

    log.clear();
    p.foreground = p.desktop;  // the desktop is saved but never sent anything
    p.styles[p.desktop] = kWsMinimizeBox | kWsMaximizeBox;
    run(89);
    EXPECT_EQ(SavedMinimizedWindow, p.desktop);
    run(88);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(SavedMinimizedWindow, 0u);
}

TEST_F(WindowActions, LockComputerStepsWithAndWithoutWow64) {
    p.wow64 = false;
    run(82);
    EXPECT_EQ(log, (Lines{"lock"}));

    log.clear();
    p.wow64 = std::nullopt;  // IsWow64Process missing: not WOW64
    run(82);
    EXPECT_EQ(log, (Lines{"lock"}));

    log.clear();
    p.wow64 = true;
    run(82);
    EXPECT_EQ(log, (Lines{"loadlib Kernel32.dll", "disable-redir 7C800000", "lock", "revert-redir 7C800000 5A5A",
                          "freelib 7C800000"}));

    log.clear();
    p.hasDisableRedirection = false;  // no way to switch redirection off: no lock, module released
    run(82);
    EXPECT_EQ(log, (Lines{"loadlib Kernel32.dll", "freelib 7C800000"}));

    log.clear();
    p.hasDisableRedirection = true;
    p.hasRevertRedirection = false;
    run(82);
    EXPECT_EQ(log, (Lines{"loadlib Kernel32.dll", "disable-redir 7C800000", "lock", "freelib 7C800000"}));
}

TEST_F(WindowActions, LaunchTargets) {
    FunctionRecord withPath = MakeRecord(25);
    withPath.setProgramPath(u"C:\\Tools\\notepad.exe");
    ExecuteFunction(withPath, facebook, a.context);
    FunctionRecord emptyPath = MakeRecord(25);
    ExecuteFunction(emptyPath, facebook, a.context);
    for (std::uint8_t code : {56, 57, 58, 128, 133, 137, 154, 155, 156, 157}) run(code);
    EXPECT_EQ(log, (Lines{"shell C:\\Tools\\notepad.exe", "shell ", "shell Winword", "shell excel", "shell POWERPNT",
                          "shell https://www.facebook.com/", "shell https://www.facebook.com/?sk=messages",
                          "shell https://www.facebook.com/notes/", "shell https://www.facebook.com/?sk=messages",
                          "shell https://www.facebook.com/?sk=events&ap=1",
                          "shell https://www.facebook.com/?sk=messages#!/?sk=media",
                          "shell https://www.facebook.com/?sk=media"}));
}

TEST_F(WindowActions, PluginCallsDoNothingWithoutAModule) {
    p.exports["OpenAllFriend"] = 0x1000;
    for (std::uint8_t code : {129, 130, 131, 132, 134, 135, 136}) run(code);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(facebook.entry, 0u);
}

TEST_F(WindowActions, PluginCallsLookUpTheirExportWhenAModuleIsSet) {
    facebook.module = 0x4000;
    p.foreground = 0x99;
    p.exports["OpenAllFriend"] = 0x1000;
    run(132);
    run(136);  // missing export: the cached entry is overwritten with null, nothing called
    EXPECT_EQ(log, (Lines{"proc 4000 OpenAllFriend", "call 1000 99", "proc 4000 OpenFriendAlign"}));
    EXPECT_EQ(facebook.entry, 0u);
}

}  // namespace
}  // namespace mv
