#include "ui/bmp_menu_win.h"

#include <oleacc.h>

#include "i18n/text_catalogue.h"
#include "ui/accessible_win.h"
#include "ui/layout.h"
#include "ui/placement_win.h"
#include "ui/system_look_win.h"
#include "win32/win32_platform.h"

namespace mv {

namespace gp = Gdiplus::DllExports;

namespace {

using SetLayeredAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

// Adds WS_EX_LAYERED and sets the opacity through SetLayeredWindowAttributes looked up in
// user32.dll; returns the module handle that the caller keeps until it is released.
// WS_EX_NOACTIVATE too: a menu level is never to be activated.
HMODULE MakeTranslucent(HWND window, BYTE alpha) {
    HMODULE user32 = LoadSystemLibrary(L"user32.dll");
    if (!user32) return nullptr;
    ::SetWindowLongPtrW(window, GWL_EXSTYLE,
                        ::GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_LAYERED | WS_EX_NOACTIVATE);
    auto set = reinterpret_cast<SetLayeredAttributesFn>(
        reinterpret_cast<void*>(::GetProcAddress(user32, "SetLayeredWindowAttributes")));
    if (set) set(window, 0, alpha, LWA_ALPHA);
    return user32;
}

// A level is opaque under high contrast, so that its system colours are not blended.
BYTE LevelAlpha(BYTE alpha) { return HighContrastOn() ? 255 : alpha; }

void ReleaseModule(HMODULE& module) {
    if (module) ::FreeLibrary(module);
    module = nullptr;
}

// One entry button per menu entry, cut from the level's images at the entry's rectangle.
void CreateEntryButtons(HWND parent, const MenuImages& images, const std::vector<tagBMPMENUINFO>& entries,
                        int itemHeight, int width, int dpi, std::vector<std::unique_ptr<CBitmapBtn>>& buttons) {
    const std::size_t n = std::min(entries.size(), kMaxMenuEntries);
    for (std::size_t i = 0; i < n; ++i) {
        const Rect r = MenuEntryRect(static_cast<std::int32_t>(i), itemHeight, width, dpi);
        auto button = std::make_unique<CBitmapBtn>();
        if (!button->Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, RECT{r.left, r.top, r.right, r.bottom},
                            parent, 0)) {
            buttons.push_back(nullptr);  // keeps entry i at index i
            continue;
        }
        button->SetDpi(dpi);
        button->SetSkin(&images.normal, &images.over, r.left, r.top, r.width(), r.height(), &images.down,
                        &images.disabled);
        button->NeverTakeFocus();
        button->contrastAsMenuEntry = true;
        button->accessibleRole = ROLE_SYSTEM_MENUITEM;
        button->hasPopup = entries[i].hasSubmenu != 0;
        const std::u16string text = MenuText(entries[i]);
        button->SetCaption(text, 0, 7, 1);
        button->SetTooltipLater(text);
        buttons.push_back(std::move(button));
    }
}

// A menu level reads as a popup menu named by its window text.
bool AnswerAsMenu(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_GETOBJECT) {
        result = AnswerGetObject(window, wParam, lParam);
        return result != 0;
    }
    if (message == WM_ACCESSIBLE_TRAITS && lParam) {
        reinterpret_cast<AccessibleTraits*>(lParam)->role = ROLE_SYSTEM_MENUPOPUP;
        result = 1;
        return true;
    }
    return false;
}

// The level's picture (under high contrast the menu colour) where no entry covers it.
void PaintLevel(HWND window, const SkinPicture& normal) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(window, &ps);
    if (HighContrastOn()) {
        HBRUSH brush = ::CreateSolidBrush(SystemColourOf(SystemColour::Menu));
        ::FillRect(dc, &ps.rcPaint, brush);
        ::DeleteObject(brush);
    } else {
        normal.Draw(dc, static_cast<int>(normal.width()), static_cast<int>(normal.height()));
    }
    ::EndPaint(window, &ps);
}

Rect ScreenRect(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return {r.left, r.top, r.right, r.bottom};
}

// Shows a level at `screen` above its owner without activating it, with the opacity that
// high contrast asks for now.
void ShowLevel(HWND window, POINT screen, BYTE alpha) {
    ::SetLayeredWindowAttributes(window, 0, LevelAlpha(alpha), LWA_ALPHA);
    ::SetWindowPos(window, HWND_TOP, screen.x, screen.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void HideLevel(HWND window, std::vector<std::unique_ptr<CBitmapBtn>>& buttons) {
    for (auto& b : buttons)
        if (b) b->ClearHover();
    if (window) ::ShowWindow(window, SW_HIDE);
}

// Keys never reach a menu entry (the levels never have the focus, but should one get
// it, Space or Enter must not pick): they are swallowed, and Escape closes the menu
// through the owner, which closes it on any command.
bool SwallowKey(const MSG* msg, HWND owner) {
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return false;
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE && owner) ::PostMessageW(owner, WM_COMMAND, IDCANCEL, 0);
    return true;
}

}  // namespace

void MenuImages::Load(const std::wstring& normalPath, const std::wstring& overPath, const std::wstring& downPath,
                      const std::wstring& disabledPath) {
    normal.Load(normalPath);
    over.Load(overPath);
    down.Load(downPath);
    disabled.Load(disabledPath);
}

void MenuImages::LoadSkins(const std::wstring& directory, const wchar_t* normalName, const wchar_t* overName,
                           const wchar_t* downName, const wchar_t* disabledName, int dpi) {
    const std::wstring folder = L"menu\\";
    LoadSkin(normal, directory, folder + normalName, dpi);
    LoadSkin(over, directory, folder + overName, dpi);
    LoadSkin(down, directory, folder + downName, dpi);
    LoadSkin(disabled, directory, folder + disabledName, dpi);
}

void MenuImages::Reset() {
    normal.Reset();
    over.Reset();
    down.Reset();
    disabled.Reset();
}

// ---- second level

CSubBmpMenu::CSubBmpMenu(int categoryIndex, int itemHeight, const std::vector<tagBMPMENUINFO>* subItems, BYTE alpha,
                         int dpi)
    : CDialog(IDD_SUB_BMP_MENU),
      category_(categoryIndex),
      itemHeight_(itemHeight),
      dpi_(dpi),
      items_(subItems),
      alpha_(alpha) {}

CSubBmpMenu::~CSubBmpMenu() { ReleaseSubmenu(); }

bool CSubBmpMenu::Create(HWND firstLevel) {
    parent_ = firstLevel;
    return images_ && CDialog::Create(firstLevel);
}

void CSubBmpMenu::Open(POINT screen) {
    position_ = screen;
    if (hwnd_) ShowLevel(hwnd_, screen, alpha_);
}

void CSubBmpMenu::Close() { HideLevel(hwnd_, buttons_); }

void CSubBmpMenu::ReleaseSubmenu() {
    ReleaseModule(user32_);
    buttons_.clear();
    if (hwnd_) DestroyWindow();
}

BOOL CSubBmpMenu::OnInitDialog() {
    const int width = static_cast<int>(images_->normal.width());
    const std::size_t n = items_ ? items_->size() : 0;
    ::SetWindowPos(hwnd_, HWND_TOP, position_.x, position_.y, width, MenuLevelHeight(n, itemHeight_, 0, dpi_),
                   SWP_SHOWWINDOW | SWP_NOACTIVATE);
    user32_ = MakeTranslucent(hwnd_, LevelAlpha(alpha_));
    if (name_.size()) ::SetWindowTextW(hwnd_, name_.c_str());
    if (items_) CreateEntryButtons(hwnd_, *images_, *items_, itemHeight_, width, dpi_, buttons_);
    return FALSE;  // no focus for any entry
}

bool CSubBmpMenu::PreTranslateMessage(MSG* msg) {
    return SwallowKey(msg, parent_ ? ::GetWindow(parent_, GW_OWNER) : nullptr);
}

LRESULT CSubBmpMenu::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (LRESULT answer = 0; AnswerAsMenu(hwnd_, message, wParam, lParam, answer)) return answer;
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_PAINT:
        if (images_) PaintLevel(hwnd_, images_->normal);
        return 0;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_COMMAND:
        for (std::size_t j = 0; j < buttons_.size(); ++j) {
            if (buttons_[j] && reinterpret_cast<HWND>(lParam) == buttons_[j]->GetSafeHwnd() && items_ &&
                j < items_->size()) {
                ::PostMessageW(parent_, WM_SUBMENU_PICK, SubmenuPickWParam(category_, static_cast<std::uint32_t>(j)),
                               (*items_)[j].id);
                return 0;
            }
        }
        break;
    default:
        break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

// ---- first level

CBmpMenu::CBmpMenu(HWND owner) : CDialog(IDD_BMP_MENU), owner_(owner) {}

CBmpMenu::~CBmpMenu() { ReleaseMenu(); }

void CBmpMenu::SetMenuImages(const std::wstring& normal, const std::wstring& over, const std::wstring& down,
                             const std::wstring& disabled) {
    menuImages_.Reset();
    menuImages_.Load(normal, over, down, disabled);
}

void CBmpMenu::SetSubmenuImages(const std::wstring& normal, const std::wstring& over, const std::wstring& down,
                                const std::wstring& disabled) {
    submenuImages_.Reset();
    submenuImages_.Load(normal, over, down, disabled);
}

void CBmpMenu::LoadSkins(const std::wstring& directory) {
    menuImages_.Reset();
    menuImages_.LoadSkins(directory, L"menu_normal.png", L"menu_over.png", L"menu_normal.png", L"menu_normal.png", dpi);
    submenuImages_.Reset();
    submenuImages_.LoadSkins(directory, L"submenu_normal.png", L"submenu_over.png", L"submenu_down.png",
                             L"submenu_normal.png", dpi);
}

bool CBmpMenu::Create() { return CDialog::Create(owner_); }

void CBmpMenu::Open(POINT screen) {
    position_ = screen;
    if (hwnd_) ShowLevel(hwnd_, screen, alpha);
}

void CBmpMenu::Close() {
    ClearKeyboardHighlight();
    keys_.reset();
    if (!IsOpen()) return;
    CloseSubmenu();
    HideLevel(hwnd_, buttons_);
}

void CBmpMenu::ReleaseMenu() {
    ReleaseModule(user32_);
    buttons_.clear();
    ReleaseSubmenus();
    menuImages_.Reset();
    submenuImages_.Reset();
    model_.Clear();
    if (hwnd_) DestroyWindow();
}

BOOL CBmpMenu::OnInitDialog() {
    const int width = static_cast<int>(menuImages_.normal.width());
    ::SetWindowPos(hwnd_, HWND_TOP, position_.x, position_.y, width,
                   MenuLevelHeight(model_.size(), itemHeight, extraHeight, dpi), SWP_SHOWWINDOW | SWP_NOACTIVATE);
    user32_ = MakeTranslucent(hwnd_, LevelAlpha(alpha));
    ::SetWindowTextW(hwnd_, ToWide(tr("tc_acc_functions")).c_str());
    CreateEntryButtons(hwnd_, menuImages_, model_.categories(), itemHeight, width, dpi, buttons_);
    return FALSE;  // no focus for any entry
}

bool CBmpMenu::PreTranslateMessage(MSG* msg) { return SwallowKey(msg, owner_); }

void CBmpMenu::BeginKeyboard() {
    ClearKeyboardHighlight();
    std::vector<std::size_t> entries(model_.size());
    for (std::size_t i = 0; i < entries.size(); ++i) entries[i] = model_.itemCount(i);
    keys_.emplace(std::move(entries));
    ShowKeyboardHighlight();
}

// The keyboard's highlight is the pointer's hover picture on the entry (SetHighlighted).
void CBmpMenu::ShowKeyboardHighlight() {
    if (!keys_) return;
    for (std::size_t i = 0; i < buttons_.size(); ++i)
        if (buttons_[i]) buttons_[i]->SetHighlighted(static_cast<int>(i) == keys_->category());
    if (CSubBmpMenu* sub = openSubmenu())
        for (std::size_t j = 0; j < sub->buttonCount(); ++j)
            if (CBitmapBtn* b = sub->button(j)) b->SetHighlighted(static_cast<int>(j) == keys_->entry());
}

void CBmpMenu::ClearKeyboardHighlight() {
    for (auto& b : buttons_)
        if (b) b->SetHighlighted(false);
    for (auto& sub : submenus_)
        if (sub)
            for (std::size_t j = 0; j < sub->buttonCount(); ++j)
                if (CBitmapBtn* b = sub->button(j)) b->SetHighlighted(false);
}

bool CBmpMenu::PressKey(MenuKeys::Key key) {
    if (!keyboardDriven()) return false;
    const MenuKeys::Step step = keys_->Press(key);
    using Kind = MenuKeys::Step::Kind;
    switch (step.kind) {
    case Kind::None: return false;
    case Kind::Highlight: break;
    case Kind::OpenLevel: OpenSubmenu(step.category); break;
    case Kind::CloseLevel: CloseSubmenu(); break;
    case Kind::Pick: {
        const auto* items = model_.items(static_cast<std::size_t>(step.category));
        if (items && static_cast<std::size_t>(step.entry) < items->size())
            ::PostMessageW(hwnd_, WM_SUBMENU_PICK,
                           SubmenuPickWParam(static_cast<std::uint32_t>(step.category), static_cast<std::uint32_t>(step.entry)),
                           (*items)[static_cast<std::size_t>(step.entry)].id);
        return false;
    }
    case Kind::CloseMenu: return true;
    }
    ShowKeyboardHighlight();
    return false;
}

CSubBmpMenu* CBmpMenu::openSubmenu() const {
    return open_ >= 0 && static_cast<std::size_t>(open_) < submenus_.size() ? submenus_[open_].get() : nullptr;
}

POINT CBmpMenu::PlaceSubmenu(int categoryIndex) const {
    SubmenuGeometry g;
    g.menu = {position_.x, position_.y};
    g.menuWidth = static_cast<std::int32_t>(menuImages_.normal.width());
    g.subWidth = static_cast<std::int32_t>(submenuImages_.normal.width());
    g.subHeight = static_cast<std::int32_t>(submenuImages_.normal.height());
    g.itemHeight = itemHeight;
    g.dpi = dpi;
    g.workArea = WorkAreaAt(POINT{position_.x, position_.y});
    const Point p = mv::PlaceSubmenu(g, categoryIndex, static_cast<std::int32_t>(model_.itemCount(categoryIndex)));
    return POINT{p.x, p.y};
}

void CBmpMenu::OpenSubmenu(int i) {
    CloseSubmenu();
    if (i < 0 || static_cast<std::size_t>(i) >= model_.size()) return;
    if (submenus_.size() < model_.size()) submenus_.resize(model_.size());
    std::unique_ptr<CSubBmpMenu>& sub = submenus_[static_cast<std::size_t>(i)];
    if (sub && sub->GetSafeHwnd()) {
        sub->Open(PlaceSubmenu(i));
    } else {
        sub = std::make_unique<CSubBmpMenu>(i, itemHeight, model_.items(i), alpha, dpi);
        sub->SetImages(&submenuImages_);
        sub->SetName(ToWide(MenuText(model_.category(static_cast<std::size_t>(i)))));
        sub->SetPosition(PlaceSubmenu(i));
        if (!sub->Create(hwnd_)) {
            sub.reset();
            model_.category(static_cast<std::size_t>(i)).submenuOpen = 0;
            return;
        }
    }
    open_ = i;
    model_.category(static_cast<std::size_t>(i)).submenuOpen = 1;
    // As in a system menu, the category stays highlighted while its level is open.
    if (CBitmapBtn* category = button(static_cast<std::size_t>(i))) category->SetHighlighted(true);
}

void CBmpMenu::CloseSubmenu() {
    if (CBitmapBtn* category = open_ >= 0 ? button(static_cast<std::size_t>(open_)) : nullptr)
        category->SetHighlighted(false);
    if (CSubBmpMenu* sub = openSubmenu()) {
        sub->Close();
        if (static_cast<std::size_t>(open_) < model_.size()) model_.category(static_cast<std::size_t>(open_)).submenuOpen = 0;
    }
    open_ = -1;
}

void CBmpMenu::ReleaseSubmenus() {
    for (auto& sub : submenus_)
        if (sub) sub->ReleaseSubmenu();
    submenus_.clear();
    open_ = -1;
}

void CBmpMenu::OnHover(POINT pointer) {
    std::vector<MenuHoverEntry> entries(model_.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        CBitmapBtn* b = button(i);
        entries[i].hasButton = b && b->GetSafeHwnd();
        if (entries[i].hasButton) entries[i].button = ScreenRect(*b);
        entries[i].hasSubmenu = model_.category(i).hasSubmenu != 0;
        entries[i].submenuOpen = model_.category(i).submenuOpen != 0;
    }
    CSubBmpMenu* shown = openSubmenu();
    std::int32_t open = shown ? shown->categoryIndex() : -1;
    const Rect subRect = shown && shown->GetSafeHwnd() ? ScreenRect(*shown) : Rect{};
    const auto actions = MenuHoverStep(entries, open, subRect, {pointer.x, pointer.y});
    for (std::size_t i = 0; i < entries.size(); ++i) model_.category(i).submenuOpen = entries[i].submenuOpen ? 1 : 0;
    for (const auto& a : actions) {
        if (a.kind == MenuHoverAction::Close)
            CloseSubmenu();
        else
            OpenSubmenu(a.category);
    }
}

LRESULT CBmpMenu::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (LRESULT answer = 0; AnswerAsMenu(hwnd_, message, wParam, lParam, answer)) return answer;
    switch (message) {
    case WM_MOUSEACTIVATE:
        // As a real menu: neither level takes the activation from the settings window, so a
        // window manager (and Wine's X11 driver) leaves them unmanaged and they close at once
        // instead of after waiting for the manager (2 s each time when there is none).
        return MA_NOACTIVATE;
    case WM_PAINT:
        PaintLevel(hwnd_, menuImages_.normal);
        return 0;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_MOUSEMOVE: {
        // Moves forwarded by the entry buttons and the level's own moves (over the gaps between
        // entries, in client coordinates) alike: the hover rules take the pointer's screen position.
        POINT pointer{};
        ::GetCursorPos(&pointer);
        OnHover(pointer);
        break;
    }
    case WM_COMMAND:
        return 0;  // a click on a category does nothing
    case WM_SUBMENU_PICK: {
        const std::size_t category = static_cast<std::uint32_t>(wParam) >> 16;
        if (category < model_.size())
            ::PostMessageW(owner_, WM_FUNCTION_CHOSEN, wParam,
                           static_cast<LPARAM>(
                               FunctionChosenLParam(model_.category(category).id, static_cast<std::uint32_t>(lParam))));
        return 0;
    }
    default:
        break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

std::unique_ptr<CBmpMenu> CreateFunctionMenu(HWND mainWindow, const std::wstring& directory, POINT screen, int dpi) {
    auto menu = std::make_unique<CBmpMenu>(mainWindow);
    menu->dpi = dpi;
    menu->LoadSkins(directory);
    menu->SetPosition(screen);
    FillFunctionMenu(menu->model(), [](std::string_view key) { return tr(key); });
    if (!menu->Create()) return nullptr;
    return menu;
}

}  // namespace mv
