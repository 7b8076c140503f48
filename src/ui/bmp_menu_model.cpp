#include "ui/bmp_menu_model.h"

#include <algorithm>

#include "ui/display_scale.h"

namespace mv {

void SetMenuText(tagBMPMENUINFO& entry, std::u16string_view text) {
    std::size_t n = std::min(text.size(), kMenuTextUnits - 1);
    if (n > 0 && n < text.size() && text[n - 1] >= 0xD800 && text[n - 1] < 0xDC00) --n;
    text.copy(entry.text, n);
    entry.text[n] = 0;
}

std::u16string MenuText(const tagBMPMENUINFO& entry) {
    std::size_t n = 0;
    while (n < kMenuTextUnits && entry.text[n]) ++n;
    return std::u16string(entry.text, n);
}

void BmpMenuModel::AddCategory(std::u16string_view text, std::int32_t id) {
    tagBMPMENUINFO& entry = categories_.emplace_back();
    SetMenuText(entry, text);
    entry.id = id;
}

void BmpMenuModel::AddItem(std::int32_t categoryIndex, std::u16string_view text, std::int32_t actionCode) {
    if (categoryIndex < 0 || static_cast<std::size_t>(categoryIndex) >= categories_.size()) return;
    tagBMPMENUINFO& category = categories_[categoryIndex];
    if (!category.subItems) category.subItems = std::make_unique<std::vector<tagBMPMENUINFO>>();
    category.hasSubmenu = 1;
    tagBMPMENUINFO& entry = category.subItems->emplace_back();
    SetMenuText(entry, text);
    entry.id = actionCode;
}

const std::vector<tagBMPMENUINFO>* BmpMenuModel::items(std::size_t index) const {
    return index < categories_.size() ? categories_[index].subItems.get() : nullptr;
}

std::size_t BmpMenuModel::itemCount(std::size_t index) const {
    const auto* list = items(index);
    return list ? list->size() : 0;
}

const std::vector<FunctionMenuCategory>& FunctionMenuTree() {
    static const std::vector<FunctionMenuCategory> tree = {
        {"tc_basic_fun",
         177,
         {{"tc_cut", 64},
          {"tc_copy", 65},
          {"tc_past", 66},
          {"tc_all", 68},
          {"tc_find", 69},
          {"tc_new", 70},
          {"tc_print", 71},
          {"tc_save", 72},
          {"tc_function_threeleft", 5},
          {"tc_function_threeright", 4},
          {"tc_function_fourup", 88},
          {"tc_function_fourdown", 89}}},
        {"tc_mouse_fun",
         181,
         {{"tc_function_threeclick", 3},
          {"tc_function_doubleclick", 2},
          {"tc_function_scrollup", 9},
          {"tc_function_scrolldown", 10},
          {"tc_function_scrollleft", 16},
          {"tc_function_scrollwright", 17}}},
        {"tc_win8_fun",
         179,
         {{"tc_function_threeup", 33},
          {"tc_function_threedown", 85},
          {"tc_function_warechange", 163},
          {"tc_function_wcharmmenu", 37},
          {"tc_function_win8ware", 164}}},
        {"tc_media_fun",
         180,
         {{"tc_PL", 110},
          {"tc_stop", 114},
          {"tc_pre_media", 112},
          {"tc_next_media", 113},
          {"tc_vol_up", 116},
          {"tc_vol_dw", 117},
          {"tc_mute", 115}}},
        {"tc_advance_fun", 178, {{"tc_swap", 80}, {"tc_close", 81}, {"tc_explor", 83}, {"tc_run", 84}, {"tc_lock", 82}}},
        {"tc_custom_fun",
         kCustomCategoryId,
         {{"tc_combo_tittle", kCustomKeyChordEntry},
          {"tc_custom_program", kCustomProgramEntry},
          {"tc_custom_web", kCustomWebPageEntry},
          {"tc_mac_def", kCustomMacroEntry}}},
    };
    return tree;
}

void FillFunctionMenu(BmpMenuModel& model, const std::function<std::u16string(std::string_view)>& text) {
    const auto& tree = FunctionMenuTree();
    const std::int32_t first = static_cast<std::int32_t>(model.size());
    for (const auto& category : tree) model.AddCategory(text(category.key), category.id);
    for (std::size_t i = 0; i < tree.size(); ++i)
        for (const auto& entry : tree[i].entries)
            model.AddItem(first + static_cast<std::int32_t>(i), text(entry.key), entry.code);
}

Rect MenuEntryRect(std::int32_t index, std::int32_t itemHeight, std::int32_t width, std::int32_t dpi) {
    const std::int32_t top = index * (itemHeight + 1);
    return {0, ScaleToDpi(top, dpi), width, ScaleToDpi(top + itemHeight, dpi)};
}

std::int32_t MenuLevelHeight(std::size_t entries, std::int32_t itemHeight, std::int32_t extraHeight, std::int32_t dpi) {
    return ScaleToDpi(extraHeight + static_cast<std::int32_t>(entries) * (itemHeight + 1), dpi);
}

std::uint32_t SubmenuPickWParam(std::uint32_t categoryIndex, std::uint32_t entryIndex) {
    return (categoryIndex << 16) | (entryIndex & 0xFFFF);
}

std::uint32_t FunctionChosenLParam(std::int32_t categoryId, std::uint32_t pickLParam) {
    return (static_cast<std::uint32_t>(categoryId) << 16) | (pickLParam & 0xFFFF);
}

bool IsCustomChoice(std::uint32_t chosenLParam) {
    return static_cast<std::int32_t>(chosenLParam >> 16) == kCustomCategoryId;
}

std::optional<CustomFunction> CustomFunctionOfChoice(std::uint32_t chosenLParam) {
    if (!IsCustomChoice(chosenLParam)) return std::nullopt;
    switch (static_cast<std::int32_t>(chosenLParam & 0xFFFF)) {
        case kCustomKeyChordEntry: return CustomFunction::KeyChord;
        case kCustomProgramEntry: return CustomFunction::Program;
        case kCustomWebPageEntry: return CustomFunction::WebPage;
        case kCustomMacroEntry: return CustomFunction::Macro;
        default: return std::nullopt;
    }
}

bool RectContains(const Rect& r, Point p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

std::vector<MenuHoverAction> MenuHoverStep(std::vector<MenuHoverEntry>& entries, std::int32_t& openCategory,
                                           const Rect& submenu, Point p) {
    std::vector<MenuHoverAction> actions;
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(entries.size()); ++i) {
        MenuHoverEntry& e = entries[i];
        if (!e.hasButton) continue;
        if (RectContains(e.button, p)) {
            if (openCategory == i) break;  // its own second level is open already
            if (openCategory >= 0) {
                if (openCategory < static_cast<std::int32_t>(entries.size())) entries[openCategory].submenuOpen = false;
                actions.push_back({MenuHoverAction::Close, openCategory});
                openCategory = -1;
            }
            if (e.hasSubmenu && !e.submenuOpen) {
                e.submenuOpen = true;
                actions.push_back({MenuHoverAction::Open, i});
                openCategory = i;
            }
        } else if (e.submenuOpen && openCategory >= 0 && !RectContains(submenu, p)) {
            e.submenuOpen = false;
            actions.push_back({MenuHoverAction::Close, openCategory});
            openCategory = -1;
        }
    }
    return actions;
}

}  // namespace mv
