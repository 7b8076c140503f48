// The editors of the custom functions under Wine with the program's skins and texts:
// chords pressed with real key input, the mouse buttons, the refusals and what OK and
// cancel store; paths and addresses; the macro editor with a foreign macro, a
// recording with its delays, the 265-step limit and the assignment.
#include <gtest/gtest.h>

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string>

#include "framework/wnd.h"
#include "base/bytes.h"
#include "i18n/text_catalogue.h"
#include "ui/editors/chord_editor_win.h"
#include "ui/editors/launch_editor_win.h"
#include "ui/editors/macro_editor_win.h"
#include "win/skin_fixtures.h"
#include "win32/win32_platform.h"

namespace mv {
namespace {

std::wstring DistDir() {
    wchar_t dist[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"MV_DIST_DIR", dist, MAX_PATH)) return L".\\";
    std::wstring dir = dist;
    if (dir.back() != L'\\') dir += L'\\';
    return dir;
}

class EditorTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&token_, &input, nullptr);
        loadTextCatalogue(FromWide((DistDir() + L"language.xml").c_str()));
    }
    static void TearDownTestSuite() { Gdiplus::GdiplusShutdown(token_); }

    // Runs this thread's messages through the framework's filter for `ms`.
    static void Pump(DWORD ms) { wintest::Pump(ms); }
    static void Key(BYTE vk, bool up) {
        keybd_event(vk, static_cast<BYTE>(MapVirtualKeyW(vk, 0)), up ? KEYEVENTF_KEYUP : 0, 0);
        Pump(30);
    }
    static void Tap(BYTE vk) {
        Key(vk, false);
        Key(vk, true);
    }
    static void Chord(std::initializer_list<BYTE> keys) {
        for (BYTE k : keys) Key(k, false);
        for (auto it = keys.end(); it != keys.begin();) Key(*--it, true);
    }
    static void Click(HWND window) {
        RECT r;
        GetWindowRect(window, &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        Pump(30);
        mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        Pump(30);
        mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
        Pump(100);
    }
    static std::wstring Text(const char* key) { return ToWide(tr(key)); }

    static ULONG_PTR token_;
};
ULONG_PTR EditorTest::token_ = 0;

TEST_F(EditorTest, ChordPressedWithRealKeysIsStoredInTheRecordCoding) {
    FunctionRecord record = MakeRecord(64);
    ChordEditor editor(record);
    editor.SetProgramDirectory(DistDir());
    ASSERT_TRUE(editor.CreateShown(nullptr));
    Pump(200);
    ASSERT_EQ(GetFocus(), editor.field());
    RECT r;
    GetWindowRect(editor, &r);
    EXPECT_EQ(r.right - r.left, 360);  // the sheet's size
    EXPECT_EQ(r.bottom - r.top, 220);

    // OK with no chord: said, nothing stored, the editor stays.
    Tap(VK_RETURN);
    Pump(100);
    EXPECT_FALSE(editor.ended());
    EXPECT_EQ(editor.messageText(), Text("tc_combo_empty"));

    Chord({VK_CONTROL, VK_SHIFT, 'T'});
    EXPECT_EQ(editor.shownChord(), (KeyChord{kChordLeftCtrl | kChordLeftShift, 'T', 0}));
    EXPECT_EQ(editor.messageText(), L"");

    // Ctrl+Alt+Del reaches a program under Wine: refused, the chord stays.
    Chord({VK_CONTROL, VK_MENU, VK_DELETE});
    EXPECT_EQ(editor.messageText(), Text("tc_combo_reserved"));
    EXPECT_EQ(editor.shownChord(), (KeyChord{kChordLeftCtrl | kChordLeftShift, 'T', 0}));
    Chord({VK_LWIN, 'L'});
    EXPECT_EQ(editor.messageText(), Text("tc_combo_reserved"));

    // A mouse button as the second key.
    Click(editor.mouseButton(1));
    EXPECT_EQ(editor.shownChord(), (KeyChord{kChordLeftCtrl | kChordLeftShift, 'T', kChordRightButton}));
    Click(editor.mouseButton(2));
    EXPECT_EQ(editor.messageText(), Text("tc_combo_full"));
    EXPECT_EQ(record, MakeRecord(64));  // nothing stored before OK

    SetFocus(editor.field());
    Tap(VK_RETURN);
    Pump(100);
    EXPECT_TRUE(editor.ended());
    EXPECT_EQ(editor.result(), IDOK);
    EXPECT_EQ(record.actionCode(), 19);
    EXPECT_EQ(record.chordModifiers(), 0x03);
    EXPECT_EQ(record.chordKey1(), 'T');
    EXPECT_EQ(record.chordKey2(), 0xC2);
}

TEST_F(EditorTest, ChordEditorKeyboardTabEscapeAndModifiedTab) {
    FunctionRecord record = MakeRecord(19);
    record.bytes[3] = 0x44;
    record.bytes[4] = VK_F5;
    ChordEditor editor(record);
    editor.SetProgramDirectory(DistDir());
    ASSERT_TRUE(editor.CreateShown(nullptr));
    Pump(200);
    EXPECT_EQ(editor.shownChord(), (KeyChord{0x44, VK_F5, 0}));  // the record's chord
    Tap(VK_TAB);
    EXPECT_EQ(GetFocus(), editor.clearButton());
    Chord({VK_SHIFT, VK_TAB});
    EXPECT_EQ(GetFocus(), editor.field());
    EXPECT_EQ(editor.shownChord(), (KeyChord{0x44, VK_F5, 0}));  // Shift+Tab only moved back
    Chord({VK_CONTROL, VK_TAB});  // with Ctrl it is a chord
    EXPECT_EQ(editor.shownChord(), (KeyChord{kChordLeftCtrl, VK_TAB, 0}));
    Chord({VK_SHIFT, VK_TAB});  // from the field: back to the last control
    EXPECT_EQ(GetFocus(), editor.cancelButton());
    EXPECT_EQ(editor.shownChord(), (KeyChord{kChordLeftCtrl, VK_TAB, 0}));
    const FunctionRecord before = record;
    Tap(VK_ESCAPE);
    Pump(100);
    EXPECT_TRUE(editor.ended());
    EXPECT_EQ(editor.result(), IDCANCEL);
    EXPECT_EQ(record, before);
}

TEST_F(EditorTest, ProgramPathsRefusedWhenTheyDoNotFitAndStoredWhenTheyDo) {
    FunctionRecord record = MakeRecord(64);
    LaunchEditor editor(record, LaunchEditor::Kind::Program);
    editor.SetProgramDirectory(DistDir());
    ASSERT_TRUE(editor.CreateShown(nullptr));
    Pump(200);
    EXPECT_EQ(GetFocus(), editor.edit());
    Tap(VK_RETURN);
    Pump(50);
    EXPECT_EQ(editor.messageText(), Text("tc_launch_empty"));

    const std::wstring tooLong = L"C:\\" + std::wstring(297, L'x');  // 300 units
    SetWindowTextW(editor.edit(), tooLong.c_str());
    Tap(VK_RETURN);
    Pump(50);
    EXPECT_FALSE(editor.ended());
    EXPECT_NE(editor.messageText().find(L"300"), std::wstring::npos) << editor.messageText();
    EXPECT_EQ(record, MakeRecord(64));

    SetWindowTextW(editor.edit(), L"\"C:\\windows\\notepad.exe\"");
    Tap(VK_RETURN);
    Pump(50);
    EXPECT_TRUE(editor.ended());
    EXPECT_EQ(record.actionCode(), 25);
    EXPECT_EQ(record.programPath(), u"C:\\windows\\notepad.exe");
}

TEST_F(EditorTest, WebAddresses) {
    FunctionRecord record = MakeRecord(25);
    record.setProgramPath(u"C:\\windows\\notepad.exe");
    LaunchEditor editor(record, LaunchEditor::Kind::WebPage);
    editor.SetProgramDirectory(DistDir());
    ASSERT_TRUE(editor.CreateShown(nullptr));
    Pump(200);
    EXPECT_EQ(WindowTextOf(editor.edit()), u"");  // a program path is not shown as an address
    EXPECT_EQ(editor.browseButton(), nullptr);
    Tap(VK_RETURN);
    Pump(50);
    EXPECT_EQ(editor.messageText(), Text("tc_web_empty"));
    SetWindowTextW(editor.edit(), L"https://");
    Tap(VK_RETURN);
    Pump(50);
    EXPECT_EQ(editor.messageText(), Text("tc_web_bad"));
    EXPECT_EQ(record.programPath(), u"C:\\windows\\notepad.exe");
    SetWindowTextW(editor.edit(), L"www.example.org/start");
    Tap(VK_RETURN);
    Pump(50);
    EXPECT_TRUE(editor.ended());
    EXPECT_EQ(record.programPath(), u"http://www.example.org/start");
}

class MacroEditorTest : public EditorTest {
protected:
    MacroEditorTest() : store(std::make_unique<MacroStore>()) {
        // Entry 2 as another tool writes it: Ctrl down, C down/up, Ctrl up; repeat 3.
        std::uint8_t* e = store->entry(2);
        writeLe32(e + 4, 1);
        writeLe32(e + 8, 3);
        writeLe16(e + 12, 4);
        const std::uint8_t steps[4][2] = {{0x11, 0}, {'C', 0}, {'C', 1}, {0x11, 1}};
        for (int i = 0; i < 4; ++i) {
            e[16 + 8 * i] = steps[i][0];
            e[16 + 8 * i + 1] = steps[i][1];
            writeLe32(e + 16 + 8 * i + 4, 100u * (i + 1));
        }
    }
    void Open(MacroEditor& editor) {
        editor.SetProgramDirectory(DistDir());
        ASSERT_TRUE(editor.CreateShown(nullptr));
        Pump(200);
    }
    std::wstring ListText(HWND list, int row) {
        wchar_t text[256] = {};
        SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
        return text;
    }

    std::unique_ptr<MacroStore> store;
    MacroNames names;
};

TEST_F(MacroEditorTest, AForeignMacroShowsAndRecordingKeepsItsTiming) {
    FunctionRecord record = MakeRecord(64);
    MacroEditor editor(record, *store, names);
    Open(editor);
    ASSERT_EQ(SendMessageW(editor.macroList(), LB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(ListText(editor.macroList(), 0), Text("tc_mac_def") + L" 3");
    ASSERT_EQ(SendMessageW(editor.stepList(), LB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(ListText(editor.stepList(), 1), L"2.  C  " + Text("tc_macro_press") + L"  250 ms");
    EXPECT_EQ(editor.model().current().repeatCount, 3);
    EXPECT_EQ(editor.repeatBox() != nullptr, true);

    // Record: A (hold 120 ms), pause 300 ms, B, released 80 ms later.
    Click(editor.button("tc_macro_start"));
    ASSERT_TRUE(editor.recording());
    ASSERT_EQ(GetFocus(), editor.pad());
    Key('A', false);
    Sleep(120);
    Key('A', true);
    Sleep(300);
    Key('B', false);
    Sleep(80);
    Key('B', true);
    Click(editor.button("tc_macro_end"));
    ASSERT_FALSE(editor.recording());
    const MacroData recorded = editor.model().current();
    ASSERT_EQ(recorded.steps.size(), 4u);
    const std::uint8_t keys[4] = {'A', 'A', 'B', 'B'};
    const std::uint32_t gaps[3] = {150, 330, 110};  // each Key() pumps 30 ms besides the sleep
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(recorded.steps[i].key, keys[i]);
        EXPECT_EQ(recorded.steps[i].up, i % 2 == 1);
    }
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(static_cast<double>(PlayedGap(recorded.steps[i])), gaps[i], 40.0) << i;
    EXPECT_EQ(store->entry(2)[16], 0x11);  // nothing reaches the store before OK

    // A recording of 266 steps (133 taps) is refused and the steps stay.
    Click(editor.button("tc_macro_start"));
    for (int i = 0; i < 133; ++i) {
        keybd_event('K', 0x25, 0, 0);
        keybd_event('K', 0x25, KEYEVENTF_KEYUP, 0);
        if (i % 20 == 0) Pump(10);
    }
    Pump(300);
    Click(editor.button("tc_macro_end"));
    EXPECT_NE(editor.messageText().find(L"266"), std::wstring::npos) << editor.messageText();
    EXPECT_EQ(editor.model().current().steps.size(), 4u);

    SetWindowTextW(editor.nameEdit(), L"Typing AB");
    Click(editor.okButton());
    ASSERT_TRUE(editor.ended());
    EXPECT_EQ(record.actionCode(), 20);
    EXPECT_EQ(record.macroIndex(), 2);
    EXPECT_EQ(names.name(2), u"Typing AB");
    EXPECT_EQ(ReadMacro(*store, 2), recorded);
}

TEST_F(MacroEditorTest, NewNamesAndRefusals) {
    FunctionRecord record = MakeRecord(20);
    record.bytes[2] = 2;
    MacroEditor editor(record, *store, names);
    Open(editor);
    EXPECT_EQ(editor.model().selected(), 2u);
    Click(editor.button("tc_macro_new"));
    EXPECT_EQ(SendMessageW(editor.macroList(), LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(editor.model().selected(), 0u);
    EXPECT_EQ(GetFocus(), editor.nameEdit());
    // The new macro has no steps: OK says so.
    Click(editor.okButton());
    EXPECT_FALSE(editor.ended());
    EXPECT_EQ(editor.messageText(), Text("tc_macro_nosteps"));
    // A name too long.
    SetWindowTextW(editor.nameEdit(), std::wstring(65, L'n').c_str());
    Click(editor.button("tc_macro_rename"));
    EXPECT_EQ(editor.messageText(), Text("tc_macro_badname"));
    // Delete it; back to the foreign macro; change a delay and the repeat count.
    Click(editor.button("tc_macro_del"));
    EXPECT_EQ(editor.model().selected(), 2u);
    SendMessageW(editor.stepList(), LB_SETCURSEL, 1, 0);
    SetWindowTextW(editor.delayEdit(), L"9999999");
    Click(editor.button("tc_macro_set"));
    EXPECT_EQ(editor.messageText(), Text("tc_macro_baddelay"));
    SetWindowTextW(editor.delayEdit(), L"75");
    Click(editor.button("tc_macro_set"));
    EXPECT_EQ(editor.model().current().steps[1].delayMs, 25u);
    SetWindowTextW(editor.countEdit(), L"0");
    Click(editor.okButton());
    EXPECT_EQ(editor.messageText(), Text("tc_macro_badcount"));
    SetWindowTextW(editor.countEdit(), L"5");
    Click(editor.repeatBox());  // off
    EXPECT_EQ(editor.model().current().repeat, false);
    Tap(VK_ESCAPE);
    Pump(100);
    EXPECT_TRUE(editor.ended());
    EXPECT_EQ(editor.result(), IDCANCEL);
    EXPECT_EQ(readLe32(store->entry(2) + 4), 1u);  // cancel kept everything
    EXPECT_EQ(readLe32(store->entry(2) + 16 + 8 + 4), 200u);
    EXPECT_EQ(record.macroIndex(), 2);
}

}  // namespace
}  // namespace mv

namespace mv {
namespace {

// Shown for screenshots only: run with --gtest_also_run_disabled_tests
// --gtest_filter=DISABLED_EditorShowcase.* (MV_SHOWCASE_MS, default 4000 ms).
DWORD EditorShowcaseMs() {
    wchar_t value[32] = {};
    if (GetEnvironmentVariableW(L"MV_SHOWCASE_MS", value, 32)) return static_cast<DWORD>(_wtoi(value));
    return 4000;
}

class DISABLED_EditorShowcase : public EditorTest {};

TEST_F(DISABLED_EditorShowcase, Chord) {
    FunctionRecord record = MakeRecord(19);
    record.bytes[3] = 0x03;
    record.bytes[4] = 'T';
    ChordEditor editor(record);
    editor.SetProgramDirectory(DistDir());
    ASSERT_TRUE(editor.CreateShown(nullptr));
    Pump(EditorShowcaseMs());
}

TEST_F(DISABLED_EditorShowcase, Program) {
    FunctionRecord record = MakeRecord(25);
    record.setProgramPath(u"C:\\windows\\notepad.exe");
    LaunchEditor editor(record, LaunchEditor::Kind::Program);
    editor.SetProgramDirectory(DistDir());
    ASSERT_TRUE(editor.CreateShown(nullptr));
    SetWindowTextW(editor.edit(), (L"C:\\" + std::wstring(300, L'x')).c_str());
    SendMessageW(editor, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    Pump(EditorShowcaseMs());
}

TEST_F(DISABLED_EditorShowcase, WebPage) {
    FunctionRecord record = MakeRecord(25);
    record.setProgramPath(u"https://example.org/");
    LaunchEditor editor(record, LaunchEditor::Kind::WebPage);
    editor.SetProgramDirectory(DistDir());
    ASSERT_TRUE(editor.CreateShown(nullptr));
    Pump(EditorShowcaseMs());
}

TEST_F(DISABLED_EditorShowcase, Macro) {
    auto store = std::make_unique<MacroStore>();
    MacroNames names;
    MacroData macro;
    macro.repeat = true;
    macro.repeatCount = 2;
    macro.steps = {{0xA2, false, 30}, {'S', false, 70}, {'S', true, 0}, {0xA2, true, 250}, {0xC1, false, 90}, {0xC1, true, 0}};
    WriteMacro(*store, 0, macro);
    names.setName(0, tr("tc_new_macro"));
    WriteMacro(*store, 3, MacroData{false, 1, {{'A', false, 0}, {'A', true, 0}}});
    FunctionRecord record = MakeRecord(20);
    MacroEditor editor(record, *store, names);
    editor.SetProgramDirectory(DistDir());
    ASSERT_TRUE(editor.CreateShown(nullptr));
    SendMessageW(editor.stepList(), LB_SETCURSEL, 3, 0);
    Pump(EditorShowcaseMs());
}

}  // namespace
}  // namespace mv
