// The captions of the dialogs' buttons with their access keys: each is the text of a key the
// button showed before and the same text with its key marked, from a key of its own.
#pragma once

#include <string>
#include <vector>

namespace mv {

struct CaptionKeys {
    const char* plain;   // the text drawn for the pointer
    const char* marked;  // the same text with its access key ("&Cancel", "取消(&C)")
};

inline constexpr CaptionKeys kOkCaption{"btn_ok", "tc_access_ok"};
inline constexpr CaptionKeys kCancelCaption{"btn_cancel", "tc_access_cancel"};
inline constexpr CaptionKeys kPreciseCaption{"tc_pointer_distinguish", "tc_access_precise"};
inline constexpr CaptionKeys kClearCaption{"tc_combo_clear", "tc_access_clear"};
inline constexpr CaptionKeys kMouseCaptions[3] = {
    {"tc_click", "tc_access_left"}, {"tc_function_doubleclick", "tc_access_right"}, {"tc_middle", "tc_access_middle"}};
inline constexpr CaptionKeys kBrowseCaption{"tc_launch_browse", "tc_access_browse"};
inline constexpr CaptionKeys kMacroCaptions[] = {
    {"tc_macro_new", "tc_access_new"},          {"tc_macro_del", "tc_access_delete"},
    {"tc_macro_rename", "tc_access_rename"},    {"tc_macro_step_del", "tc_access_step_delete"},
    {"tc_macro_set", "tc_access_set"},          {"tc_macro_loop", "tc_access_repeat"},
    {"tc_macro_start", "tc_access_start"},      {"tc_macro_end", "tc_access_end"},
};
// The tray menu's items that are texts of the catalogue's own.
inline constexpr CaptionKeys kExitCaption{"tc_exit", "tc_access_exit"};
inline constexpr CaptionKeys kSettingsCaption{"tc_config", "tc_access_config"};

// The caption of the loaded language: MarkedCaption of the two texts.
std::u16string ButtonCaption(const CaptionKeys& keys);
// The captions of the buttons of each dialog and editor, one list per window: within one no
// two may share an access key.
std::vector<std::vector<CaptionKeys>> DialogCaptionSets();

}  // namespace mv
