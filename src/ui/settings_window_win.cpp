#include "ui/settings_window_win.h"

#include <cstdio>
#include <utility>

#include <oleacc.h>

#include "base/text_fill.h"
#include "gesture/slot_catalogue.h"
#include "i18n/text_catalogue.h"
#include "ui/dpi_win.h"
#include "ui/function_label.h"
#include "ui/system_look_win.h"
#include "ui/window_layout.h"
#include "gesture/function_names.h"
#include "win32/win32_platform.h"

namespace mv {

namespace {

constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;
constexpr UINT kAnimationId = 0x601;

const wchar_t* const kPagePrefixes[3] = {L"movcli_gesure_", L"win8_gesure_", L"ngwctr_gesure_"};
const char* const kTabKeys[3] = {"tc_mocli", "tc_win8", "tc_winctl"};

// The rectangles at 96 DPI (window_layout.h); every one is scaled to the window's DPI.
constexpr RECT R(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
constexpr RECT kClose = R(main_layout::kClose);
constexpr RECT kMinimize = R(main_layout::kMinimize);
constexpr RECT kReset = R(main_layout::kReset);
constexpr RECT kApply = R(main_layout::kApply);
constexpr RECT kVersion = R(main_layout::kVersion);
constexpr RECT kFunction = R(main_layout::kFunction);
constexpr RECT kPointer = R(main_layout::kPointer);

// The disabled function button's caption: lighter than the normal colour, as its faded picture.
constexpr COLORREF kDisabledCaption = RGB(150, 158, 170);
// The caption of a gesture the shown profile changes: the skins' orange.
constexpr COLORREF kMarkedCaption = RGB(236, 110, 30);
constexpr COLORREF kTileCaption = 0x006B5C50;

}  // namespace

SettingsWindow::~SettingsWindow() { ReleaseFunctionMenu(); }

// Made at its place at the window's DPI the first time, moved there afterwards.
void SettingsWindow::PlaceButton(CBitmapBtn& button, const RECT& rect96) {
    const RECT r = ScaledRECT(rect96, dpi_);
    if (!button.GetSafeHwnd())
        button.Create(L"", kButtonStyle, r, host_.GetSafeHwnd(), 0);
    else
        MoveWindow(button, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
    button.drawsFocus = true;
    button.SetDpi(dpi_);
}

void SettingsWindow::LoadSheets() {
    main_.Load(directory_, L"MorviCorvel_Main_Normal.png", L"MorviCorvel_Main_Over.png", L"MorviCorvel_Main_Down.png",
               dpi_);
    for (SkinSheets& page : pages_) page.Reset();
    LoadPageSheets(selection_.shownPage());
}

// A page's tile sheets are read when the page is first shown: most starts never leave page 1.
void SettingsWindow::LoadPageSheets(int page) {
    const std::wstring prefix = kPagePrefixes[page - 1];
    pages_[page - 1].Load(directory_, (prefix + L"normal.png").c_str(), (prefix + L"over.png").c_str(),
                          (prefix + L"down.png").c_str(), dpi_);
}

// Every control at its place for the window's DPI, its pictures cut from the sheets there.
void SettingsWindow::LayOut() {
    PlaceButton(close_, kClose);
    main_.Skin(close_, kClose);
    PlaceButton(minimize_, kMinimize);
    main_.Skin(minimize_, kMinimize);
    PlaceButton(reset_, kReset);
    main_.Skin(reset_, kReset);
    PlaceButton(apply_, kApply);
    main_.Skin(apply_, kApply);

    PlaceButton(version_, kVersion);
    const RECT v = ScaledRECT(kVersion, dpi_);
    version_.SetSkin(&main_.normal, &main_.normal, v.left, v.top, v.right - v.left, v.bottom - v.top, &main_.normal,
                     &main_.normal);

    PlaceButton(function_, kFunction);
    main_.Skin(function_, kFunction);
    function_.FadeDisabledPicture();
    PlaceButton(pointer_, kPointer);
    main_.Skin(pointer_, kPointer);
    for (int p = 0; p < 3; ++p) {
        PlaceButton(tabs_[p], R(main_layout::kTabs[p]));
        main_.Skin(tabs_[p], R(main_layout::kTabs[p]));
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const int page = PageOfSlot(slot) - 1, cell = CellOfSlot(slot);
        CBitmapBtn& tile = gestures_[slot];
        PlaceButton(tile, R(main_layout::kTiles[cell]));
        const RECT c = ScaledRECT(main_layout::Cell(static_cast<std::size_t>(cell)), dpi_);
        const SkinSheets& sheets = pages_[page];
        tile.SetSkin(&sheets.normal, &sheets.over, c.left, c.top, c.right - c.left, c.bottom - c.top, &sheets.down,
                     &sheets.normal);
    }
    const RECT picture = ScaledRECT(main_layout::kAnimation, dpi_);
    if (!animation_.GetSafeHwnd())
        // Named at creation: the picture paints itself, never its text.
        animation_.Create(ToWide(tr("tc_acc_animation")).c_str(), WS_CHILD | WS_VISIBLE, picture, host_.GetSafeHwnd(),
                          kAnimationId);
    else
        MoveWindow(animation_, picture.left, picture.top, picture.right - picture.left, picture.bottom - picture.top,
                   FALSE);
}

void SettingsWindow::Create() {
    if (directory_.empty()) directory_ = ExecutableDirectory();
    dpi_ = WindowDpi(host_.GetSafeHwnd());
    KeepOwnDpiLayout(host_.GetSafeHwnd());
    LoadSheets();
    main_.SizeAndCentre(host_.GetSafeHwnd());
    LayOut();

    close_.SetAccessibleName(tr("tc_acc_close"));
    minimize_.SetAccessibleName(tr("tc_acc_minimize"));
    version_.accessibleRole = ROLE_SYSTEM_STATICTEXT;
    function_.hasPopup = true;
    reset_.SetCaption(tr("btn_reset"), 0, 7, 1);
    reset_.SetTextRect(0, -2, 100, 51);
    apply_.SetCaption(tr("btn_apply"), 0, 7, 1);
    apply_.SetTextRect(0, -2, 100, 51);
    version_.SetCaption(tr("tc_version"), 0, 7, 1);
    version_.normalTextColor = version_.pressedTextColor = version_.hoverTextColor = 0x006B5C50;
    version_.Invalidate();
    function_.disabledTextColor = kDisabledCaption;
    function_.SetCaption(std::wstring(), 0, 7, 1);
    EnableWindow(function_.GetSafeHwnd(), FALSE);
    pointer_.SetCaption(tr("tc_pointer_move"), 0, 7, 1);

    for (int p = 0; p < 3; ++p) {
        tabs_[p].SetCaption(tr(kTabKeys[p]), 0, 7, 1);
        const Rect text = TabTextRect(p + 1);
        tabs_[p].SetTextRect(text.left, text.top, text.right, text.bottom);
        tabs_[p].SetTooltipLater(tr(kTabKeys[p]));
        tabs_[p].accessibleRole = ROLE_SYSTEM_PAGETAB;
        tabs_[p].selectable = true;
    }
    tabs_[0].SetLatched(1);
    tabs_[0].SetToggleMode(1);
    for (int p = 1; p < 3; ++p) {
        tabs_[p].SetLatched(0);
        tabs_[p].SetToggleMode(0);
    }

    for (int slot = 0; slot < kSlotCount; ++slot) {
        const int page = PageOfSlot(slot) - 1;
        CBitmapBtn& tile = gestures_[slot];
        const std::u16string name = tr(slot == 16 ? "tc_function_largenarrow" : SlotCatalogue[slot].gestureName);
        tile.SetCaption(name, 0, 0, 5);
        tile.SetTextRect(0, 122, 110, 42);
        tile.SetTooltipLater(name);
        tile.accessibleRole = ROLE_SYSTEM_LISTITEM;
        tile.selectable = true;
        if (slot == 0) {
            tile.SetToggleMode(1);
            tile.SetLatched(1);
        }
        if (page != 0) tile.ShowWindow(SW_HIDE);
    }

    ShowGestureAnimation(0);
    function_.SetCaption(tr("tc_function_push"), 0, 7, 1);
    NameFunctionButton(tr("tc_function_push"));
}

void SettingsWindow::NameFunctionButton(const std::u16string& function) {
    function_.SetAccessibleName(FillPlaceholders(tr("tc_acc_function"), {function}));
}

SIZE SettingsWindow::WindowSizeAtDpi(int dpi) const {
    const SIZE now{static_cast<LONG>(main_.normal.width()), static_cast<LONG>(main_.normal.height())};
    return SizeForDpi(now, dpi_, dpi);
}

void SettingsWindow::ChangeDpi(int dpi, const RECT& suggested) {
    HWND host = host_.GetSafeHwnd();
    if (dpi <= 0) return;
    // Menus are made for one DPI: the next opening makes them anew.
    ReleaseFunctionMenu();
    dpi_ = dpi;
    LoadSheets();
    // The suggested place; its size is the new sheet's (WindowSizeAtDpi answered the system's question).
    const int width = static_cast<int>(main_.normal.width()), height = static_cast<int>(main_.normal.height());
    SetWindowPos(host, nullptr, suggested.left, suggested.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    LayOut();
    ShowGestureAnimation(CurrentSlot);
    RedrawWindow(host, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void SettingsWindow::ReleaseFunctionMenu() {
    CloseFunctionMenu();
    if (menu_) menu_->ReleaseMenu();
    menu_.reset();
}

void SettingsWindow::FreeSkins() {
    ReleaseFunctionMenu();
    animation_.clearPicture();
    main_.Reset();
    for (SkinSheets& page : pages_) page.Reset();
}

void SettingsWindow::ReleasePictures() {
    if (released_) return;
    FreeSkins();
    for (CBitmapBtn* b : {&close_, &minimize_, &reset_, &apply_, &version_, &function_, &pointer_}) b->FreePictures();
    for (CBitmapBtn& b : tabs_) b.FreePictures();
    for (CBitmapBtn& b : gestures_) b.FreePictures();
    released_ = true;
}

void SettingsWindow::RestorePictures() {
    if (!released_) return;
    released_ = false;
    LoadSheets();
    LayOut();
    ShowGestureAnimation(CurrentSlot);
}

void SettingsWindow::Paint() { main_.Paint(host_.GetSafeHwnd()); }

void SettingsWindow::ShowFunctionName(int actionCode) {
    const std::u16string name = tr(FunctionNameKey(actionCode));
    functionText_ = ToWide(name);
    function_.SetCaption(functionText_, 0, 7, 1);
    NameFunctionButton(name);
}

void SettingsWindow::ShowFunctionName(const FunctionRecord& record) {
    static const MacroNames noNames;
    const CustomFunctionTexts texts{{tr("tc_click"), tr("tc_function_doubleclick"), tr("tc_middle")}, tr("tc_mac_def")};
    const auto label =
        CustomFunctionLabel(record, customFunctions.names ? *customFunctions.names : noNames, texts);
    if (!label) {
        ShowFunctionName(record.actionCode());
        return;
    }
    functionText_ = ToWide(*label);
    function_.SetCaption(functionText_, 0, 7, 1);
    NameFunctionButton(*label);
}

void SettingsWindow::ShowGestureAnimation(int slot) {
    wchar_t name[64];
    std::swprintf(name, sizeof name / sizeof name[0], L"gesture_detail_gif\\%d.gif", slot + 1);
    int set = 100;
    const std::wstring path = FindSkin(directory_, name, dpi_, set);
    animation_.clearPicture();
    // A picture of the set drawn for this DPI has the size of its place; one of another set
    // is shown at that size.
    const RECT place = ScaledRECT(main_layout::kAnimation, dpi_);
    animation_.setShownSize(DpiOfPercent(set) == dpi_ ? SIZE{}
                                                      : SIZE{place.right - place.left, place.bottom - place.top});
    animation_.loadPictureFile(path.c_str());
    HWND host = host_.GetSafeHwnd();
    playing_ = ::IsWindowVisible(host) && !::IsIconic(host);
    if (playing_) animation_.showPicture();
}

void SettingsWindow::OnVisibilityChanged(bool onScreen) {
    if (!onScreen) {
        CloseFunctionMenu();
        // Hidden rather than minimized: the dialogs go with the window (as a cancel).
        if (!::IsIconic(host_.GetSafeHwnd()) && hideDialogs) hideDialogs();
    }
    if (onScreen == playing_) return;
    if (onScreen) {
        playing_ = true;
        animation_.showPicture();
    } else {
        // Off screen the program keeps no animation thread, not even a parked one.
        playing_ = false;
        animation_.endThread();
    }
}

void SettingsWindow::OnSystemLookChanged(bool colours) {
    const bool contrast = HighContrastOn();
    if (colours || contrast != contrast_) ReleaseFunctionMenu();
    contrast_ = contrast;
    if (HWND host = host_.GetSafeHwnd()) RedrawWindow(host, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    if (playing_) animation_.followAnimationSetting();
}

void SettingsWindow::OnDeactivated() { CloseFunctionMenu(); }

void SettingsWindow::SwitchPage(int page) {
    if (page < 1 || page > kPageCount) return;
    // Its tiles, never drawn yet, cut their pictures from these sheets at their first drawing.
    if (!pageSheetsRead(page)) LoadPageSheets(page);
    for (int p = 0; p < kPageCount; ++p) {
        const Rect t = TabTextRectAfterSwitch(p + 1, page);
        tabs_[p].SetTextRect(t.left, t.top, t.right, t.bottom);
        tabs_[p].SetLatched(p == page - 1 ? 1 : 0);
        tabs_[p].SetToggleMode(p == page - 1 ? 1 : 0);
    }
    for (int slot = 0; slot < kSlotCount; ++slot) gestures_[slot].ShowWindow(PageOfSlot(slot) == page ? SW_SHOW : SW_HIDE);
    // The function button never edits a gesture whose tile is hidden: the page's own
    // gesture is selected (again).
    const int slot = selection_.switchTo(page);
    if (slot != CurrentSlot) SelectGesture(slot);
    EnableWindow(function_.GetSafeHwnd(), selection_.functionButtonEnabled() ? TRUE : FALSE);
}

void SettingsWindow::SelectGesture(int slot) {
    if (slot < 0 || slot >= kSlotCount) return;
    selection_.select(slot);
    CurrentSlot = slot;
    for (auto& tile : gestures_) {
        if (!tile.IsLatched()) continue;
        tile.SetLatched(0);
        if (tile.IsToggleMode()) tile.SetToggleMode(0);
    }
    gestures_[slot].SetLatched(1);
    gestures_[slot].SetToggleMode(1);
    ShowGestureAnimation(slot);
    ShowFunctionName(ShownRecord(slot));
    EnableWindow(function_.GetSafeHwnd(), selection_.functionButtonEnabled() ? TRUE : FALSE);
}

void SettingsWindow::OpenFunctionMenu() {
    CloseFunctionMenu();
    if (!selection_.functionButtonEnabled()) return;
    function_.SetLatched(1);
    const Point at = ScalePoint(main_layout::kMenuCorner, dpi_);
    POINT corner{at.x, at.y};
    ClientToScreen(host_.GetSafeHwnd(), &corner);
    // Built the first time; afterwards only shown again where the button now is.
    if (menu_ && menu_->GetSafeHwnd())
        menu_->Open(corner);
    else
        menu_ = CreateFunctionMenu(host_.GetSafeHwnd(), directory_, corner, dpi_);
    if (!menu_) function_.SetLatched(0);
}

void SettingsWindow::CloseFunctionMenu() {
    if (menu_) menu_->Close();
    if (function_.GetSafeHwnd() && function_.IsLatched()) function_.SetLatched(0);
}

void SettingsWindow::OnCommand(WPARAM, LPARAM lParam) {
    CloseFunctionMenu();
    HWND source = reinterpret_cast<HWND>(lParam);
    HWND host = host_.GetSafeHwnd();
    if (!source) return;
    if (source == close_.GetSafeHwnd()) {
        ::ShowWindow(host, SW_HIDE);
    } else if (source == minimize_.GetSafeHwnd()) {
        SendMessageW(host, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else if (source == apply_.GetSafeHwnd()) {
        if (onApply) onApply();
    } else if (source == tabs_[0].GetSafeHwnd() || source == tabs_[1].GetSafeHwnd() ||
               source == tabs_[2].GetSafeHwnd()) {
        SwitchPage(source == tabs_[0].GetSafeHwnd() ? 1 : source == tabs_[1].GetSafeHwnd() ? 2 : 3);
    } else if (source == function_.GetSafeHwnd()) {
        OpenFunctionMenu();
    } else if (source == reset_.GetSafeHwnd()) {
        if (openResetDialog) openResetDialog();
    } else if (source == pointer_.GetSafeHwnd()) {
        if (openPointerDialog) openPointerDialog();
    }
    for (int slot = 0; slot < kSlotCount; ++slot)
        if (source == gestures_[slot].GetSafeHwnd()) {
            SelectGesture(slot);
            break;
        }
}

void SettingsWindow::OnFunctionChosen(LPARAM lParam) {
    CloseFunctionMenu();
    // A choice can only come from the menu of the gesture on screen; anything else (a stray
    // message) changes no record.
    if (!selection_.functionButtonEnabled()) return;
    const auto choice = static_cast<std::uint32_t>(lParam);
    if (IsCustomChoice(choice)) {
        // The editor stores its function in the record on OK; Cancel changes nothing.
        if (const auto custom = CustomFunctionOfChoice(choice)) {
            FunctionRecord edited = ShownRecord(CurrentSlot);
            if (EditCustomFunction(*custom, host_.GetSafeHwnd(), edited, customFunctions)) {
                session_.StoreRecord(CurrentSlot, edited);
                if (onRecordEdited) onRecordEdited();
            }
        }
        ShowFunctionName(ShownRecord(CurrentSlot));
        return;
    }
    ShowFunctionName(static_cast<int>(lParam & 0xFFFF));
    session_.ChooseFunction(CurrentSlot, static_cast<std::uint8_t>(lParam & 0xFF));
    if (onRecordEdited) onRecordEdited();
}

void SettingsWindow::RefreshFunctionName() { ShowFunctionName(ShownRecord(CurrentSlot)); }

void SettingsWindow::MarkGesture(int slot, bool marked, const std::u16string& tooltip) {
    if (slot < 0 || slot >= kSlotCount) return;
    CBitmapBtn& tile = gestures_[slot];
    tile.normalTextColor = marked ? kMarkedCaption : kTileCaption;
    tile.SetTooltipLater(tooltip);
    tile.Invalidate();
}

HWND SettingsWindow::StopWindow(FocusStop stop) const {
    switch (stop) {
    case FocusStop::Tabs: return tabs_[static_cast<std::size_t>(selection_.shownPage() - 1)].GetSafeHwnd();
    case FocusStop::Tiles: return gestures_[static_cast<std::size_t>(CurrentSlot)].GetSafeHwnd();
    case FocusStop::FunctionButton: return function_.GetSafeHwnd();
    case FocusStop::PointerSpeed: return pointer_.GetSafeHwnd();
    case FocusStop::ProfileSelector: return profileButton;
    case FocusStop::RestoreDefaults: return reset_.GetSafeHwnd();
    case FocusStop::Apply: return apply_.GetSafeHwnd();
    }
    return nullptr;
}

int SettingsWindow::TabOf(HWND window) const {
    for (int p = 0; p < kPageCount; ++p)
        if (window && window == tabs_[static_cast<std::size_t>(p)].GetSafeHwnd()) return p + 1;
    return 0;
}

int SettingsWindow::TileOf(HWND window) const {
    for (int slot = 0; slot < kSlotCount; ++slot)
        if (window && window == gestures_[static_cast<std::size_t>(slot)].GetSafeHwnd()) return slot;
    return -1;
}

std::optional<FocusStop> SettingsWindow::StopOf(HWND window) const {
    if (!window) return std::nullopt;
    if (TabOf(window)) return FocusStop::Tabs;
    if (TileOf(window) >= 0) return FocusStop::Tiles;
    for (std::size_t i = 0; i < kFocusStopCount; ++i) {
        const auto stop = static_cast<FocusStop>(i);
        if (stop != FocusStop::Tabs && stop != FocusStop::Tiles && StopWindow(stop) == window) return stop;
    }
    return std::nullopt;
}

// Focus cues appear once the keyboard is used, as Windows shows them; the window answers
// WM_QUERYUISTATE itself (UiState), so that what its controls draw does not hang on how the
// system keeps the state.
void SettingsWindow::ShowKeyboardCues() {
    if (keyboardCues_) return;
    keyboardCues_ = true;
    HWND host = host_.GetSafeHwnd();
    if (HWND focus = ::GetFocus(); focus && ::IsChild(host, focus)) ::InvalidateRect(focus, nullptr, FALSE);
}

void SettingsWindow::OnChangeUiState(WPARAM wParam) {
    if (LOWORD(wParam) == UIS_CLEAR && (HIWORD(wParam) & UISF_HIDEFOCUS)) ShowKeyboardCues();
}

void SettingsWindow::OpenMenuFromKeyboard() {
    OpenFunctionMenu();
    if (menu_ && menu_->IsOpen()) menu_->BeginKeyboard();
}

// One key down in the window; true when it was used.
bool SettingsWindow::OnKeyDown(UINT key, bool alt) {
    HWND host = host_.GetSafeHwnd();
    HWND focus = ::GetFocus();
    if (focus && focus != host && !::IsChild(host, focus)) return key == VK_RETURN || key == VK_ESCAPE;
    const auto stop = StopOf(focus);
    const bool shift = ::GetKeyState(VK_SHIFT) < 0;
    const bool control = ::GetKeyState(VK_CONTROL) < 0;
    const auto focusStop = [&](FocusStop to) {
        if (HWND w = StopWindow(to)) ::SetFocus(w);
    };
    if (alt) {
        if (key != VK_DOWN || stop != FocusStop::FunctionButton) return false;
        OpenMenuFromKeyboard();
        return true;
    }
    switch (key) {
    case VK_TAB:
        if (control) {
            SwitchPage(PageAfterCtrlTab(selection_.shownPage(), shift));
            if (stop == FocusStop::Tabs || stop == FocusStop::Tiles) focusStop(*stop);
        } else if (stop) {
            focusStop(NextFocusStop(*stop, shift, selection_.functionButtonEnabled()));
        } else {
            focusStop(shift ? FocusStop::Apply : FocusStop::Tabs);
        }
        ShowKeyboardCues();
        return true;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: {
        const Arrow arrow = key == VK_LEFT ? Arrow::Left : key == VK_RIGHT ? Arrow::Right : key == VK_UP ? Arrow::Up
                                                                                                    : Arrow::Down;
        if (stop == FocusStop::Tabs) {
            const int page = TabAfterArrow(TabOf(focus), arrow);
            if (page != selection_.shownPage()) SwitchPage(page);
            focusStop(FocusStop::Tabs);
        } else if (stop == FocusStop::Tiles) {
            const int slot = TileAfterArrow(TileOf(focus), arrow);
            if (slot != CurrentSlot) SelectGesture(slot);
            focusStop(FocusStop::Tiles);
        }
        ShowKeyboardCues();
        return true;
    }
    case VK_F4:
        if (stop == FocusStop::FunctionButton) OpenMenuFromKeyboard();
        return true;
    case VK_RETURN:
    case VK_SPACE:
        ShowKeyboardCues();
        if (stop == FocusStop::FunctionButton) {
            OpenMenuFromKeyboard();
        } else if (focus && focus != host && ::IsWindowEnabled(focus)) {
            ::SendMessageW(host, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(focus), BN_CLICKED), reinterpret_cast<LPARAM>(focus));
        }
        return true;
    case VK_ESCAPE:
        return true;
    default:
        return false;
    }
}

bool SettingsWindow::PreTranslateMessage(const MSG* msg) {
    const UINT message = msg->message;
    if (message < WM_KEYFIRST || message > WM_KEYLAST) return false;
    const auto key = static_cast<UINT>(msg->wParam);
    if (message == WM_SYSKEYDOWN && key == VK_F4) {
        ::ShowWindow(host_.GetSafeHwnd(), SW_SHOW);
        return true;
    }
    if (FunctionMenuOpen()) {
        // A menu opened from the keyboard is driven by it; one opened with the pointer takes no
        // key but Escape (as in a real menu, no key reaches the controls under it).
        if (message == WM_KEYDOWN && menu_->keyboardDriven()) {
            std::optional<MenuKeys::Key> menuKey;
            switch (key) {
            case VK_UP: menuKey = MenuKeys::Key::Up; break;
            case VK_DOWN: menuKey = MenuKeys::Key::Down; break;
            case VK_LEFT: menuKey = MenuKeys::Key::Left; break;
            case VK_RIGHT: menuKey = MenuKeys::Key::Right; break;
            case VK_RETURN: menuKey = MenuKeys::Key::Enter; break;
            case VK_ESCAPE: menuKey = MenuKeys::Key::Escape; break;
            default: break;
            }
            if (menuKey && menu_->PressKey(*menuKey)) {
                CloseFunctionMenu();
                ::SetFocus(function_.GetSafeHwnd());
            }
        } else if (message == WM_KEYDOWN && key == VK_ESCAPE) {
            CloseFunctionMenu();
        }
        return true;
    }
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) return OnKeyDown(key, message == WM_SYSKEYDOWN);
    // The other halves of the keys used above: no control and no dialog processing sees them.
    if (key == VK_RETURN || key == VK_ESCAPE || key == VK_SPACE || key == VK_TAB)
        return message == WM_KEYUP || message == WM_CHAR;
    if (message == WM_CHAR && (key == L'\r' || key == L'\t' || key == L' ' || key == 0x1B)) return true;
    return false;
}

}  // namespace mv
