// The function picker menus: a first level (CBmpMenu) of categories and, while the
// pointer rests on a category, a second level (CSubBmpMenu) of its functions beside
// it. Both are caption-less, slightly translucent popup dialogs whose entries are
// skinned buttons cut from whole-menu skin images. A click on a function posts
// WM_FUNCTION_CHOSEN to the owner (bmp_menu_model.h has the message values).
//
// As a real menu, neither level ever takes the activation or the keyboard focus: the
// owner keeps both, and keys reach the owner, never an entry. The windows are built
// once and then shown and hidden, so that opening and closing cost no window creation
// and no picture decoding; a second level is built the first time its category is visited.
//
// The main window:
//   menu_ = CreateFunctionMenu(hwnd, ExecutableDirectory(), screenPointOf(41, 395));
//   ... on WM_FUNCTION_CHOSEN or any close: menu_->Close();  the next time: menu_->Open(point);
//   ... when the main window goes: menu_->ReleaseMenu();
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/wnd.h"
#include "ui/bitmap_btn_win.h"
#include "ui/resource_ids.h"
#include "ui/bmp_menu_model.h"
#include "ui/keyboard_model.h"
#include "ui/skin_picture_win.h"

namespace mv {


// The four pictures of one menu level.
struct MenuImages {
    SkinPicture normal, over, down, disabled;
    void Load(const std::wstring& normalPath, const std::wstring& overPath, const std::wstring& downPath,
              const std::wstring& disabledPath);
    // The files of the skin folder (LoadSkin), for a menu at `dpi`.
    void LoadSkins(const std::wstring& directory, const wchar_t* normalName, const wchar_t* overName,
                   const wchar_t* downName, const wchar_t* disabledName, int dpi);
    void Reset();
};

class CSubBmpMenu : public fw::CDialog {
public:
    CSubBmpMenu(int categoryIndex, int itemHeight, const std::vector<tagBMPMENUINFO>* subItems, BYTE alpha,
                int dpi = 96);
    ~CSubBmpMenu() override;

    // Set by the first level before Create; the images stay the first level's.
    void SetPosition(POINT screen) { position_ = screen; }
    void SetImages(const MenuImages* images) { images_ = images; }
    // The level's window text: its category's name.
    void SetName(const std::wstring& name) { name_ = name; }
    // Template 138 with the first level as parent; lays itself out and shows.
    bool Create(HWND firstLevel);
    // Shows the level (again) at `screen`, without taking the activation.
    void Open(POINT screen);
    // Hides the level; its entries forget the pointer.
    void Close();
    // Destroys the window and its buttons and releases the user32 module handle.
    void ReleaseSubmenu();

    int categoryIndex() const { return category_; }
    std::size_t buttonCount() const { return buttons_.size(); }
    CBitmapBtn* button(std::size_t i) const { return i < buttons_.size() ? buttons_[i].get() : nullptr; }

    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool PreTranslateMessage(MSG* msg) override;

private:
    int category_;
    int itemHeight_;
    int dpi_;
    const std::vector<tagBMPMENUINFO>* items_;  // borrowed from the first level
    BYTE alpha_;
    POINT position_{};
    HWND parent_ = nullptr;
    HMODULE user32_ = nullptr;
    const MenuImages* images_ = nullptr;  // borrowed from the first level
    std::wstring name_;
    std::vector<std::unique_ptr<CBitmapBtn>> buttons_;
};

class CBmpMenu : public fw::CDialog {
public:
    // `owner`: the main window, which receives WM_FUNCTION_CHOSEN.
    explicit CBmpMenu(HWND owner);
    // Releases the menu if it still has a window.
    ~CBmpMenu() override;

    void AddCategory(const std::u16string& text, int id) { model_.AddCategory(text, id); }
    void AddItem(int categoryIndex, const std::u16string& text, int actionCode) {
        model_.AddItem(categoryIndex, text, actionCode);
    }
    // Each set: four file paths; the images held for the set are released first.
    void SetMenuImages(const std::wstring& normal, const std::wstring& over, const std::wstring& down,
                       const std::wstring& disabled);
    void SetSubmenuImages(const std::wstring& normal, const std::wstring& over, const std::wstring& down,
                          const std::wstring& disabled);
    // Both levels' pictures from the menu skins of `directory`, for the menu's DPI.
    void LoadSkins(const std::wstring& directory);
    // Screen position of the top-left corner; set before Create.
    void SetPosition(POINT screen) { position_ = screen; }
    // Template 135 with the owner as parent; lays itself out and shows.
    bool Create();
    // Shows the first level (again) at `screen`, without taking the activation.
    void Open(POINT screen);
    // Hides both levels without picking anything; the windows stay for the next Open.
    void Close();
    bool IsOpen() const { return hwnd_ && ::IsWindowVisible(hwnd_); }
    // Frees the functions, the buttons, the second levels and the eight images, and
    // destroys the window. Safe to call more than once.
    void ReleaseMenu();

    // Keys drive the menu from now until it closes: its first category highlighted. A menu
    // opened with the pointer takes no key.
    void BeginKeyboard();
    bool keyboardDriven() const { return keys_.has_value() && IsOpen(); }
    // One key of a keyboard-driven menu (MenuKeys); a pick is posted to the owner as a click
    // on the entry would post it. True when the menu closed (Escape on the first level).
    bool PressKey(MenuKeys::Key key);

    BmpMenuModel& model() { return model_; }
    HWND owner() const { return owner_; }
    POINT position() const { return position_; }
    // The second level on screen, if any.
    CSubBmpMenu* openSubmenu() const;
    std::size_t buttonCount() const { return buttons_.size(); }
    CBitmapBtn* button(std::size_t i) const { return i < buttons_.size() ? buttons_[i].get() : nullptr; }
    // Where the second level of category i opens (PlaceSubmenu with the screen limits).
    POINT PlaceSubmenu(int categoryIndex) const;

    int itemHeight = 17;  // the entries' figures are at 96 DPI
    int extraHeight = 0;
    BYTE alpha = 250;
    // The DPI the levels are laid out for; set before LoadSkins and Create.
    int dpi = 96;

    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool PreTranslateMessage(MSG* msg) override;

private:
    void OnHover(POINT pointer);
    void OpenSubmenu(int categoryIndex);
    void CloseSubmenu();
    void ReleaseSubmenus();
    void ShowKeyboardHighlight();
    void ClearKeyboardHighlight();

    HWND owner_;
    std::optional<MenuKeys> keys_;
    POINT position_{};
    HMODULE user32_ = nullptr;
    BmpMenuModel model_;
    MenuImages menuImages_;
    MenuImages submenuImages_;
    std::vector<std::unique_ptr<CBitmapBtn>> buttons_;
    // One second level per category, built on its first visit; `open_` is on screen (-1: none).
    std::vector<std::unique_ptr<CSubBmpMenu>> submenus_;
    int open_ = -1;
};

// Builds the settings window's function menu (six categories from the text
// catalogue, skins from "<directory>skins\menu\" of the set for `dpi`), creates and shows
// it at `screen`. Null when the window could not be created.
std::unique_ptr<CBmpMenu> CreateFunctionMenu(HWND mainWindow, const std::wstring& directory, POINT screen,
                                             int dpi = 96);

}  // namespace mv
