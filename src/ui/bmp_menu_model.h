// The data of the function picker menus, free of any window: the entry record, the
// category list with its functions, the menu tree of the settings window, entry
// geometry, the messages between the levels, and the hover rules of the first level.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/geometry.h"

namespace mv {

// Posted by the second level to the first: category index << 16 | entry index, ActionCode.
inline constexpr std::uint32_t WM_SUBMENU_PICK = 0x500;
// Posted by the first level to its owner: the same WPARAM, category id << 16 | ActionCode.
inline constexpr std::uint32_t WM_FUNCTION_CHOSEN = 0x501;

inline constexpr std::size_t kMenuTextUnits = 260;
inline constexpr std::size_t kMaxMenuEntries = 100;

// One menu entry: a category (id = category id) or a function (id = ActionCode).
struct tagBMPMENUINFO {
    char16_t text[kMenuTextUnits] = {};
    std::uint8_t hasSubmenu = 0;
    std::uint8_t submenuOpen = 0;
    std::int32_t id = 0;
    std::unique_ptr<std::vector<tagBMPMENUINFO>> subItems;  // absent until the first function is added
};

// Copies at most 259 units of `text` (never half a surrogate pair) and terminates.
void SetMenuText(tagBMPMENUINFO& entry, std::u16string_view text);
std::u16string MenuText(const tagBMPMENUINFO& entry);

class BmpMenuModel {
public:
    void AddCategory(std::u16string_view text, std::int32_t id);
    // Marks the category hasSubmenu and creates its list on first use. An index
    // outside the categories is ignored.
    void AddItem(std::int32_t categoryIndex, std::u16string_view text, std::int32_t actionCode);
    void Clear() { categories_.clear(); }

    std::size_t size() const { return categories_.size(); }
    const std::vector<tagBMPMENUINFO>& categories() const { return categories_; }
    tagBMPMENUINFO& category(std::size_t index) { return categories_[index]; }
    const tagBMPMENUINFO& category(std::size_t index) const { return categories_[index]; }
    // The functions of a category; null when it has none or the index is out of range.
    const std::vector<tagBMPMENUINFO>* items(std::size_t index) const;
    std::size_t itemCount(std::size_t index) const;

private:
    std::vector<tagBMPMENUINFO> categories_;
};

// The custom functions, the sixth category: each entry opens an editor instead of
// storing its code at once. The entries' codes are their ActionCodes in the low byte;
// the web page shares code 25 with the program and is told apart by its high byte.
inline constexpr std::int32_t kCustomCategoryId = 182;
inline constexpr std::int32_t kCustomKeyChordEntry = 19;
inline constexpr std::int32_t kCustomProgramEntry = 25;
inline constexpr std::int32_t kCustomWebPageEntry = 0x100 | 25;
inline constexpr std::int32_t kCustomMacroEntry = 20;

// The menu tree of the settings window: six categories in display order.
struct FunctionMenuEntry {
    std::string_view key;
    std::int32_t code;
};
struct FunctionMenuCategory {
    std::string_view key;
    std::int32_t id;
    std::vector<FunctionMenuEntry> entries;
};
const std::vector<FunctionMenuCategory>& FunctionMenuTree();

// Adds the tree's categories and functions with their texts.
void FillFunctionMenu(BmpMenuModel& model, const std::function<std::u16string(std::string_view)>& text);

// Entry i of a level: (0, i * (h + 1)) to (width, i * (h + 1) + h), its top and bottom scaled
// to `dpi`; the width is the level's in pixels. The one-pixel line below each entry is the
// level's own picture.
Rect MenuEntryRect(std::int32_t index, std::int32_t itemHeight, std::int32_t width, std::int32_t dpi = 96);
// extraHeight + n * (itemHeight + 1), scaled to `dpi`.
std::int32_t MenuLevelHeight(std::size_t entries, std::int32_t itemHeight, std::int32_t extraHeight,
                             std::int32_t dpi = 96);

std::uint32_t SubmenuPickWParam(std::uint32_t categoryIndex, std::uint32_t entryIndex);
std::uint32_t FunctionChosenLParam(std::int32_t categoryId, std::uint32_t pickLParam);

enum class CustomFunction { KeyChord, Program, WebPage, Macro };
// True when a WM_FUNCTION_CHOSEN choice comes from the custom functions' category.
bool IsCustomChoice(std::uint32_t chosenLParam);
// The custom function that choice names; nothing for the other categories and for an
// entry that the category does not have.
std::optional<CustomFunction> CustomFunctionOfChoice(std::uint32_t chosenLParam);

// The hover rules of the first level for one pointer position (screen coordinates).
struct MenuHoverEntry {
    bool hasButton = false;
    Rect button;  // screen rectangle of the entry's button
    bool hasSubmenu = false;
    bool submenuOpen = false;
};
struct MenuHoverAction {
    enum Kind { Close, Open } kind;
    std::int32_t category;
    friend bool operator==(const MenuHoverAction&, const MenuHoverAction&) = default;
};
// `openCategory` is the category of the open second level (-1: none) and `submenu`
// its screen rectangle. Updates the flags and openCategory and returns, in order,
// the second levels to close and to open.
std::vector<MenuHoverAction> MenuHoverStep(std::vector<MenuHoverEntry>& entries, std::int32_t& openCategory,
                                           const Rect& submenu, Point pointer);

bool RectContains(const Rect& r, Point p);

}  // namespace mv
