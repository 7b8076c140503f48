// The skinned button under Wine: the cell it paints in each state (read back from
// the window), hover and capture driven by real mouse input, the click
// notifications of plain and toggle mode, forwarded moves, captions and tooltips.
#include <gtest/gtest.h>

#include "ui/bitmap_btn_win.h"

#include <commctrl.h>

#include <memory>
#include <vector>

#include "win/skin_fixtures.h"

namespace mv::wintest {
namespace {

constexpr DWORD kBack = 0xFF101010;
constexpr DWORD kNormal = 0xFF2040A0;
constexpr DWORD kOver = 0xFF20A040;
constexpr DWORD kDown = 0xFFA02020;
constexpr DWORD kDisabled = 0xFF808080;
constexpr RECT kCell{40, 30, 140, 70};  // the button's area in every sheet and in the dialog
constexpr int kDialogX = 100, kDialogY = 100;

class RecordingDialog : public fw::CDialog {
public:
    RecordingDialog() : CDialog(900) {}
    std::vector<MSG> commands, moves;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_COMMAND) commands.push_back(MSG{hwnd_, message, wParam, lParam, 0, {}});
        if (message == WM_MOUSEMOVE) moves.push_back(MSG{hwnd_, message, wParam, lParam, 0, {}});
        return CDialog::WindowProc(message, wParam, lParam);
    }
    // The moves whose position is the given screen point.
    int MovesAt(int x, int y) const {
        int n = 0;
        for (const MSG& m : moves)
            if (m.lParam == MAKELPARAM(x, y)) ++n;
        return n;
    }
};

class BitmapBtnTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        EnsureGdiplus();
        folder_ = MakeTempFolder(L"mvbtn");
        const DWORD colours[] = {kNormal, kOver, kDown, kDisabled};
        const wchar_t* names[] = {L"n.png", L"o.png", L"d.png", L"x.png"};
        for (int i = 0; i < 4; ++i)
            ASSERT_TRUE(WriteTestPng(folder_ + names[i], 300, 150, kBack, {{kCell, colours[i]}}));
    }

    void SetUp() override {
        normal.Load(folder_ + L"n.png");
        over.Load(folder_ + L"o.png");
        down.Load(folder_ + L"d.png");
        disabled.Load(folder_ + L"x.png");
        ASSERT_EQ(normal.width(), 300u);
        ASSERT_TRUE(dialog.Create(nullptr));
        SetWindowPos(dialog, HWND_TOP, kDialogX, kDialogY, 300, 150, SWP_SHOWWINDOW);
        ASSERT_TRUE(button.Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW | WS_TABSTOP, kCell, dialog, 7));
        button.SetSkin(&normal, &over, kCell.left, kCell.top, 100, 40, &down, &disabled);
        MoveMouse(900, 900);
        for (int i = 0; i < 20 && GetActiveWindow() != dialog.GetSafeHwnd(); ++i) {
            SetForegroundWindow(dialog);
            SetActiveWindow(dialog);
            Pump(50);
        }
        ASSERT_EQ(GetActiveWindow(), dialog.GetSafeHwnd());
        Pump(50);
        dialog.commands.clear();
        dialog.moves.clear();
    }

    void TearDown() override {
        if (GetCapture()) ReleaseCapture();
        button.DestroyWindow();
        dialog.DestroyWindow();
        MoveMouse(900, 900);
    }

    COLORREF Cell(int x = 5, int y = 5) { return WindowPixel(button, x, y); }
    static POINT Screen(int clientX, int clientY) { return {kDialogX + clientX, kDialogY + clientY}; }
    void PointAt(int clientX, int clientY) { MoveMouse(kDialogX + clientX, kDialogY + clientY); }
    int CountPixels(COLORREF colour) {
        UpdateWindow(button);
        HDC dc = GetDC(button);
        int n = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 100; ++x)
                if (GetPixel(dc, x, y) == colour) ++n;
        ReleaseDC(button, dc);
        return n;
    }

    static std::wstring folder_;
    SkinPicture normal, over, down, disabled;
    RecordingDialog dialog;
    CBitmapBtn button;
};
std::wstring BitmapBtnTest::folder_;

// A button that hides its own window on a click (a dialog's OK) must not keep the capture:
// hidden, it would take the program's next clicks.
TEST_F(BitmapBtnTest, HidingTheWindowReleasesACaptureHeldInside) {
    PointAt(90, 50);
    ASSERT_EQ(GetCapture(), button.GetSafeHwnd());
    ShowWindow(dialog, SW_HIDE);
    EXPECT_EQ(GetCapture(), nullptr);

    // A capture held elsewhere stays when an unrelated window hides.
    ShowWindow(dialog, SW_SHOW);
    HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SetCapture(other);
    ShowWindow(dialog, SW_HIDE);
    EXPECT_EQ(GetCapture(), other);
    ReleaseCapture();
    DestroyWindow(other);
}

TEST_F(BitmapBtnTest, HoverTakesTheCaptureAndLeavingReleasesIt) {
    EXPECT_EQ(Cell(), Ref(kNormal));
    PointAt(90, 50);
    EXPECT_EQ(button.IsHovering(), 1);
    EXPECT_EQ(GetCapture(), button.GetSafeHwnd());
    EXPECT_EQ(Cell(), Ref(kOver));
    EXPECT_GE(dialog.MovesAt(kDialogX + 90, kDialogY + 50), 1) << "the move reaches the parent in screen coordinates";

    // Off the button onto the dialog: the captured move is forwarded, then the capture goes.
    PointAt(250, 120);
    EXPECT_EQ(button.IsHovering(), 0);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Cell(), Ref(kNormal));
    EXPECT_GE(dialog.MovesAt(kDialogX + 250, kDialogY + 120), 1);
}

TEST_F(BitmapBtnTest, PlainClickShowsPressedCellAndNotifiesTheParent) {
    PointAt(90, 50);
    LeftDown();
    EXPECT_EQ(Cell(), Ref(kDown));
    LeftUp();
    ASSERT_EQ(dialog.commands.size(), 1u);
    EXPECT_EQ(dialog.commands[0].wParam, MAKEWPARAM(7, BN_CLICKED));
    EXPECT_EQ(dialog.commands[0].lParam, reinterpret_cast<LPARAM>(button.GetSafeHwnd()));
    EXPECT_EQ(button.IsLatched(), 0);
    // The release ends the button's capture, but the hover picture stays until the pointer leaves.
    EXPECT_EQ(button.IsHovering(), 1);
    EXPECT_EQ(Cell(), Ref(kOver));
    PointAt(250, 120);
    EXPECT_EQ(Cell(), Ref(kNormal));
}

TEST_F(BitmapBtnTest, ToggleModeFlipsTheLatchOnReleaseAndReportsItself) {
    button.SetToggleMode(1);
    PointAt(90, 50);
    LeftDown();
    EXPECT_EQ(Cell(), Ref(kOver)) << "the pressed item state does not count in toggle mode";
    LeftUp();
    EXPECT_EQ(button.IsLatched(), 1);
    EXPECT_EQ(Cell(), Ref(kDown));
    ASSERT_EQ(dialog.commands.size(), 1u);
    EXPECT_EQ(dialog.commands[0].wParam, MAKEWPARAM(7, BN_CLICKED));
    EXPECT_EQ(dialog.commands[0].lParam, reinterpret_cast<LPARAM>(button.GetSafeHwnd()));

    Pump(700);  // not a double click
    PointAt(91, 50);
    LeftDown();
    LeftUp();
    EXPECT_EQ(button.IsLatched(), 0);
    EXPECT_EQ(dialog.commands.size(), 2u);
    EXPECT_EQ(Cell(), Ref(kOver));
}

TEST_F(BitmapBtnTest, LatchedAndDisabledStatesPickTheirCells) {
    button.SetLatched(1);
    EXPECT_EQ(Cell(), Ref(kDown));
    PointAt(90, 50);
    EXPECT_EQ(button.IsHovering(), 1);
    EXPECT_EQ(Cell(), Ref(kDown)) << "plain mode: latched wins over hover";
    PointAt(250, 120);

    button.SetToggleMode(1);
    EnableWindow(button, FALSE);
    EXPECT_EQ(Cell(), Ref(kDisabled)) << "toggle mode: latched and disabled";
    button.SetToggleMode(0);
    EXPECT_EQ(Cell(), Ref(kDown)) << "plain mode: latched before disabled";
    button.SetLatched(0);
    EXPECT_EQ(Cell(), Ref(kDisabled));
}

TEST_F(BitmapBtnTest, CaptionColourFollowsTheStateTable) {
    button.normalTextColor = RGB(255, 255, 0);
    button.pressedTextColor = RGB(0, 255, 255);
    button.hoverTextColor = RGB(255, 0, 255);
    button.fontHeight = 24;
    button.SetCaption(std::wstring(L"WMWM"), 0, 7, 1);
    EXPECT_GT(CountPixels(RGB(255, 255, 0)), 10);
    EXPECT_EQ(CountPixels(RGB(0, 255, 255)), 0);

    button.SetLatched(1);  // plain mode: pressed picture, normal colour
    EXPECT_GT(CountPixels(RGB(255, 255, 0)), 10);
    button.SetToggleMode(1);  // toggle mode: pressed picture, pressed colour
    EXPECT_GT(CountPixels(RGB(0, 255, 255)), 10);
    EXPECT_EQ(CountPixels(RGB(255, 255, 0)), 0);
    button.SetLatched(0);
    PointAt(90, 50);
    EXPECT_GT(CountPixels(RGB(255, 0, 255)), 10);
}

TEST_F(BitmapBtnTest, DragFromElsewhereNeitherHighlightsNorForwards) {
    PointAt(250, 120);
    LeftDown();
    dialog.moves.clear();
    for (int x = 20; x <= 160; x += 20) PointAt(x, 50);
    EXPECT_EQ(button.IsHovering(), 0);
    EXPECT_EQ(Cell(), Ref(kNormal));
    EXPECT_EQ(dialog.MovesAt(kDialogX + 60, kDialogY + 50), 0);
    EXPECT_EQ(dialog.MovesAt(kDialogX + 100, kDialogY + 50), 0);
    LeftUp();
    EXPECT_TRUE(dialog.commands.empty());
}

TEST_F(BitmapBtnTest, LosingTheCaptureKeepsHoverUntilTheFocusGoes) {
    PointAt(90, 50);
    ASSERT_EQ(button.IsHovering(), 1);
    SetCapture(dialog);
    Pump(30);
    EXPECT_EQ(GetCapture(), dialog.GetSafeHwnd()) << "the new owner of the capture keeps it";
    EXPECT_EQ(button.IsHovering(), 1);
    EXPECT_EQ(Cell(), Ref(kOver));
    ReleaseCapture();
    Pump(50);  // the system's synthetic move over the button may hover it again
    SetFocus(button);
    SetFocus(nullptr);
    EXPECT_EQ(button.IsHovering(), 0);
    EXPECT_EQ(Cell(), Ref(kNormal));
}

TEST_F(BitmapBtnTest, CutsTheGivenAreaScaledToTheButtonAndDropsTabStopAndBorder) {
    EXPECT_FALSE(GetWindowLongPtrW(button, GWL_STYLE) & WS_TABSTOP);
    CBitmapBtn big;
    ASSERT_TRUE(big.Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW | WS_BORDER, RECT{150, 10, 290, 140}, dialog, 0));
    big.SetSkin(&normal, &over, kCell.left, kCell.top, 100, 40, &down, &disabled);
    EXPECT_FALSE(GetWindowLongPtrW(big, GWL_STYLE) & (WS_BORDER | WS_TABSTOP));
    big.Invalidate();
    RECT client;
    GetClientRect(big, &client);
    EXPECT_EQ(WindowPixel(big, 2, 2), Ref(kNormal));
    // Drawn unscaled the 100 x 40 picture would leave this corner unpainted.
    EXPECT_EQ(WindowPixel(big, client.right - 10, client.bottom - 10), Ref(kNormal));

    // A sheet that failed to load: no picture for that state, and no failure elsewhere.
    SkinPicture missing(folder_ + L"absent.png");
    EXPECT_TRUE(missing.empty());
    EXPECT_EQ(missing.width(), 0u);
    EXPECT_EQ(missing.CloneArea(0, 0, 10, 10), nullptr);
    big.ReplaceSkin(&normal, &missing, kCell.left, kCell.top, 100, 40, &down, &disabled);
    EXPECT_EQ(WindowPixel(big, 2, 2), Ref(kNormal));
}

// The text of a button's tool 1, as its tooltip holds it.
std::wstring ToolText(CBitmapBtn& button) {
    wchar_t text[80] = {};
    TOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = button;
    info.uId = 1;
    info.lpszText = text;
    SendMessageW(button.tooltipWindow(), TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&info));
    return text;
}

TEST_F(BitmapBtnTest, TooltipHasOneToolWhoseTextIsReplaced) {
    button.SetTooltip(std::wstring());
    EXPECT_EQ(button.tooltipWindow() ? SendMessageW(button.tooltipWindow(), TTM_GETTOOLCOUNT, 0, 0) : 0, 0);
    button.SetTooltip(std::wstring(L"first"));
    ASSERT_NE(button.tooltipWindow(), nullptr);
    EXPECT_EQ(SendMessageW(button.tooltipWindow(), TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(ToolText(button), L"first");
    button.SetTooltip(std::u16string(u"second"));
    EXPECT_EQ(SendMessageW(button.tooltipWindow(), TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(ToolText(button), L"second");

    // Relayed mouse moves bring the tip up over the button.
    PointAt(90, 50);
    PointAt(92, 51);
    Pump(800);
    EXPECT_TRUE(IsWindowVisible(button.tooltipWindow()));
}

// A tip set for later makes no window until the pointer reaches the button (the settings
// window has two dozen tips); then it comes up as the plain one does.
TEST_F(BitmapBtnTest, ATooltipForLaterIsMadeWhenThePointerFirstReachesTheButton) {
    button.SetTooltipLater(u"");
    button.SetTooltipLater(u"later");
    EXPECT_EQ(button.tooltipWindow(), nullptr);
    Pump(100);
    EXPECT_EQ(button.tooltipWindow(), nullptr) << "nothing on the way but the pointer";
    PointAt(90, 50);
    PointAt(92, 51);
    Pump(800);
    ASSERT_NE(button.tooltipWindow(), nullptr);
    EXPECT_EQ(SendMessageW(button.tooltipWindow(), TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_TRUE(IsWindowVisible(button.tooltipWindow()));
    EXPECT_EQ(ToolText(button), L"later");
    button.SetTooltipLater(u"changed");
    EXPECT_EQ(ToolText(button), L"changed") << "once made, a new text goes straight to it";
}

// A set of buttons as the windows use them; also saved as a screenshot for a look.
TEST_F(BitmapBtnTest, ButtonSetWithTwoLineAndRotatedCaptions) {
    SetWindowPos(dialog, HWND_TOP, kDialogX, kDialogY, 420, 210, SWP_SHOWWINDOW);
    ShowWindow(button, SW_HIDE);
    CBitmapBtn plain, latched, off, tile, rotated;
    struct Made {
        CBitmapBtn* b;
        RECT r;
        const wchar_t* text;
        int layout;
    } made[] = {{&plain, {10, 10, 110, 50}, L"Plain", 1},
                {&latched, {120, 10, 220, 50}, L"Latched", 1},
                {&off, {230, 10, 330, 50}, L"Disabled", 1},
                {&tile, {10, 60, 123, 165}, L"Two-line caption", 5},
                {&rotated, {140, 60, 250, 200}, L"Rotated", 2}};
    for (auto& m : made) {
        ASSERT_TRUE(m.b->Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, m.r, dialog, 0));
        m.b->SetSkin(&normal, &over, kCell.left, kCell.top, 100, 40, &down, &disabled);
        m.b->SetCaption(std::wstring(m.text), 0, m.layout == 5 ? 0 : 7, m.layout);
    }
    latched.SetToggleMode(1);
    latched.SetLatched(1);
    EnableWindow(off, FALSE);
    tile.SetTextRect(0, 122, 110, 42);
    const COLORREF yellow = RGB(255, 255, 0);
    tile.normalTextColor = tile.pressedTextColor = tile.hoverTextColor = yellow;
    rotated.normalTextColor = rotated.pressedTextColor = rotated.hoverTextColor = yellow;
    rotated.fontHeight = 16;
    MoveMouse(kDialogX + 60, kDialogY + 30);  // hover the plain button
    Pump(100);

    // Two lines centred on y = 82 and y = 97, around x = 55.
    const RECT lines = PixelBounds(tile, yellow);
    EXPECT_GE(lines.top, 72);
    EXPECT_LE(lines.bottom, 106);
    EXPECT_GT(lines.bottom - lines.top, 18) << "two lines";
    EXPECT_NEAR((lines.left + lines.right) / 2, 55, 4);
    // Rotated by 90 degrees: the text runs upwards. (It is measured as if unrotated, so a
    // narrow button ellipsises it.)
    const RECT up = PixelBounds(rotated, yellow);
    EXPECT_GT(up.bottom - up.top, 2 * (up.right - up.left));

    EXPECT_EQ(WindowPixel(plain, 3, 3), Ref(kOver));
    EXPECT_EQ(WindowPixel(latched, 3, 3), Ref(kDown));
    EXPECT_EQ(WindowPixel(off, 3, 3), Ref(kDisabled));
    SaveScreenshot(L"button_set.png");
}

// The main window's buttons cut from the program's own main sheets, for a look.
TEST_F(BitmapBtnTest, MainSheetButtonsScreenshot) {
    const std::wstring dist = DistFolderWith(L"skins\\MorviCorvel_Main_Normal.png");
    if (dist.empty()) GTEST_SKIP() << "no program folder with skins";
    SkinPicture n(SkinPath(dist, L"MorviCorvel_Main_Normal.png")), o(SkinPath(dist, L"MorviCorvel_Main_Over.png")),
        d(SkinPath(dist, L"MorviCorvel_Main_Down.png"));
    ASSERT_GE(n.width(), 709u);
    ShowWindow(button, SW_HIDE);
    SetWindowPos(dialog, HWND_TOP, 20, 20, static_cast<int>(n.width()), static_cast<int>(n.height()), SWP_SHOWWINDOW);
    struct Placement {
        RECT r;
        const wchar_t* caption;
    } placements[] = {{{682, 0, 709, 26}, L""},           {{654, 0, 681, 26}, L""},
                 {{450, 421, 551, 469}, L"Restore"}, {{562, 421, 662, 469}, L"Apply"},
                 {{41, 363, 280, 394}, L"Tap"},      {{289, 363, 409, 394}, L"Pointer"},
                 {{40, 65, 165, 105}, L"Page 1"},    {{167, 65, 309, 105}, L"Page 2"},
                 {{311, 65, 416, 105}, L"Page 3"}};
    std::vector<std::unique_ptr<CBitmapBtn>> set;
    for (const auto& s : placements) {
        auto b = std::make_unique<CBitmapBtn>();
        ASSERT_TRUE(b->Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, s.r, dialog, 0));
        b->SetSkin(&n, &o, s.r.left, s.r.top, s.r.right - s.r.left, s.r.bottom - s.r.top, &d, &n);
        b->SetCaption(std::wstring(s.caption), 0, 7, 1);
        set.push_back(std::move(b));
    }
    set[2]->SetTextRect(0, -2, 100, 51);
    set[3]->SetTextRect(0, -2, 100, 51);
    set[6]->SetTextRect(30, 10, 90, 30);
    set[7]->SetTextRect(30, 10, 110, 30);
    set[8]->SetTextRect(30, 10, 90, 30);
    set[6]->SetLatched(1);
    set[6]->SetToggleMode(1);
    EnableWindow(*set[4], FALSE);
    MoveMouse(20 + 600, 20 + 445);  // over the apply button
    Pump(200);
    EXPECT_EQ(set[3]->IsHovering(), 1);
    SaveScreenshot(L"main_buttons.png");
}

}  // namespace
}  // namespace mv::wintest
