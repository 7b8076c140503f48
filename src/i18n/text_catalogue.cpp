#include "i18n/text_catalogue.h"

#include <cstdio>

#include "i18n/codepage.h"

namespace mv {

const std::array<std::string_view, kTextKeyCount> TextKeys = {
    // application, tray and notices
    "tc_mouse_title", "tc_config", "tc_exit", "tc_lowpower_notice", "tc_version",
    // buttons
    "btn_ok", "btn_cancel", "btn_reset", "btn_apply",
    // gesture set pages
    "tc_mocli", "tc_winctl", "tc_win8",
    // gesture names
    "tc_gesture_push", "tc_gesture_doubleclick", "tc_gesture_scrollup", "tc_gesture_scrolldown",
    "tc_gesture_scrollleft", "tc_gesture_scrollwright", "tc_gesture_threeup", "tc_gesture_threedown",
    "tc_gesture_warechange", "tc_gesture_wcharmmenu", "tc_gesture_win8ware", "tc_gesture_threeclick",
    "tc_gesture_threeleft", "tc_gesture_threeright", "tc_gesture_fourup", "tc_gesture_fourdown",
    "tc_gesture_largenarrow",
    // function names named after the gestures
    "tc_function_push", "tc_function_doubleclick", "tc_function_scrollup", "tc_function_scrolldown",
    "tc_function_scrollleft", "tc_function_scrollwright", "tc_function_threeup", "tc_function_threedown",
    "tc_function_warechange", "tc_function_wcharmmenu", "tc_function_win8ware", "tc_function_largenarrow",
    "tc_function_threeclick", "tc_function_threeleft", "tc_function_threeright", "tc_function_fourup",
    "tc_function_fourdown",
    // function menu groups
    "tc_basic_fun", "tc_advance_fun", "tc_win8_fun", "tc_media_fun", "tc_mouse_fun",
    // further function names
    "tc_PL", "tc_stop", "tc_pre_media", "tc_next_media", "tc_vol_up", "tc_vol_dw", "tc_mute",
    "tc_swap", "tc_close", "tc_lock", "tc_explor", "tc_run",
    "tc_cut", "tc_copy", "tc_past", "tc_all", "tc_find", "tc_new", "tc_print", "tc_save",
    // pointer settings and restore defaults
    "tc_pointer_move", "tc_pointer_distinguish", "tc_return_default",
    // loaded but shown by no window
    "tc_about", "tc_scroll", "tc_mutex", "tc_suport", "tc_morfam", "tc_info", "tc_default_value",
    "tc_setting_value", "tc_button_setting", "tc_title", "tc_reset", "tc_show", "tc_max_win", "tc_min_win",
    "tc_click", "tc_menu", "tc_middle", "tc_dbclick", "tc_mac_def", "tc_key_off", "tc_combo_tittle",
    "tc_combo_tips", "tc_macro_msg2", "tc_macro_end", "tc_macro_start", "tc_new_macro", "tc_macro_msg3",
    "tc_macro_loop", "tc_macro_delay", "tc_macro_list", "tc_macro_panel", "tc_macro_editor", "tc_macro_new",
    "tc_macro_del", "tc_retitle", "tc_reinfo", "tc_pre", "tc_next", "tc_flip_3d", "tc_scrollup",
    "tc_scrolldw", "tc_scrolllt", "tc_scrollrt",
};

const std::array<std::string_view, kAddedTextKeyCount> AddedTextKeys = {
    // names of the functions that only a stored setting holds (the settings window's function button)
    "tc_function_none", "tc_function_keychord", "tc_function_macro", "tc_function_open", "tc_function_other",
    // the custom functions: the function menu's sixth category and its entries
    "tc_custom_fun", "tc_custom_program", "tc_custom_web",
    // key chord editor
    "tc_combo_clear", "tc_combo_mouse", "tc_combo_reserved", "tc_combo_empty", "tc_combo_full",
    // program and web page editor
    "tc_launch_tips", "tc_launch_browse", "tc_web_tips", "tc_launch_empty", "tc_web_empty", "tc_launch_long",
    "tc_launch_bad", "tc_web_bad", "tc_launch_filter",
    // macro editor
    "tc_macro_name", "tc_macro_rename", "tc_macro_steps", "tc_macro_step_del", "tc_macro_set", "tc_macro_times",
    "tc_macro_press", "tc_macro_release", "tc_macro_long", "tc_macro_nosteps", "tc_macro_choose", "tc_macro_full",
    "tc_macro_badname", "tc_macro_badcount", "tc_macro_baddelay", "tc_macro_recording", "tc_macro_count",
    "tc_macro_ms",
    // the tray icon's tooltip: the receiver, the battery level, the pause
    "tc_status_connected", "tc_status_notfound", "tc_status_unplugged", "tc_battery_unknown", "tc_battery_low",
    "tc_battery_fair", "tc_battery_good", "tc_status_paused",
    // tray menu items: pausing the gestures, the gesture feedback
    "tc_pause", "tc_resume", "tc_feedback",
    // gesture profiles, and the settings backup with its refusals
    "tc_profile_all",
    "tc_profile_tip",
    "tc_profile_add",
    "tc_profile_browse",
    "tc_profile_no_windows",
    "tc_profile_remove",
    "tc_profile_follow",
    "tc_profile_exists",
    "tc_profile_bad_name",
    "tc_profile_overridden",
    "tc_restore_profiles",
    "tc_export",
    "tc_import",
    "tc_reg_files",
    "tc_export_failed",
    "tc_import_refused",
    "tc_import_unreadable",
    "tc_import_encoding",
    "tc_import_too_large",
    "tc_import_header",
    "tc_import_syntax",
    "tc_import_truncated",
    "tc_import_bad_data",
    "tc_import_foreign_key",
    "tc_import_foreign_value",
    "tc_import_wrong_type",
    "tc_import_wrong_size",
    "tc_import_duplicate",
    "tc_import_bad_program",
    "tc_import_missing_image",
    "tc_import_nothing",
    "tc_export_left_out",
    // a save that failed and was taken back
    "tc_save_failed",
    // what is not opened or played: a refused scheme, a refused import, a stored record, a failed launch,
    // and the import's question
    "tc_web_scheme",
    "tc_import_unsafe",
    "tc_record_refused",
    "tc_launch_failed",
    "tc_import_confirm",
    // names for assistive technology: picture-only controls, and captions that need their context
    "tc_acc_close",
    "tc_acc_minimize",
    "tc_acc_function",
    "tc_acc_profile",
    "tc_acc_animation",
    "tc_acc_functions",
    // the dialogs' buttons with their access keys ("&Cancel", "取消(&C)"): each the text of
    // another key with its key marked
    "tc_access_ok",
    "tc_access_cancel",
    "tc_access_precise",
    "tc_access_clear",
    "tc_access_left",
    "tc_access_right",
    "tc_access_middle",
    "tc_access_browse",
    "tc_access_new",
    "tc_access_delete",
    "tc_access_rename",
    "tc_access_step_delete",
    "tc_access_set",
    "tc_access_repeat",
    "tc_access_start",
    "tc_access_end",
    // the tray menu's items with their access keys, beside their plain texts
    "tc_access_exit",
    "tc_access_config",
};

namespace {
std::u16string widen(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }
}  // namespace

std::string_view textKeyAt(std::size_t index) {
    if (index < kTextKeyCount) return TextKeys[index];
    if (index < kAllTextKeyCount) return AddedTextKeys[index - kTextKeyCount];
    return {};
}

std::optional<std::size_t> textKeyIndex(std::string_view key) {
    for (std::size_t i = 0; i < kAllTextKeyCount; ++i)
        if (textKeyAt(i) == key) return i;
    return std::nullopt;
}

std::u16string findSectionText(MarkupDoc& doc, std::u16string_view section, std::u16string_view key) {
    doc.rewind();
    // Each round descends one level, so the search ends.
    while (doc.nextChildElement(section)) {
        doc.enterElement();
        if (doc.nextChildElement(key)) return doc.childText();
    }
    return {};
}

void TextCatalogue::fill(MarkupDoc& doc) {
    for (std::size_t i = 0; i < kAllTextKeyCount; ++i) texts_[i] = findSectionText(doc, u"config", widen(textKeyAt(i)));
}

void TextCatalogue::clear() {
    for (auto& t : texts_) t.clear();
}

std::u16string TextCatalogue::text(std::string_view key) const {
    const auto index = textKeyIndex(key);
    return index ? texts_[*index] : std::u16string{};
}

TextCatalogue& textCatalogue() {
    static TextCatalogue catalogue;
    return catalogue;
}

MarkupDoc& languageDocument() {
    static MarkupDoc doc;
    return doc;
}

namespace {
std::int64_t FileSize(const std::u16string& path) {
    std::FILE* file = openFileForReading(path);
    if (!file) return -1;
    const std::int64_t size = openFileSize(file);
    std::fclose(file);
    return size;
}
}  // namespace

void loadTextCatalogue(const std::u16string& path) {
    MarkupDoc& doc = languageDocument();
    // A language file beyond any real one is taken as no file at all.
    doc.loadFile(FileSize(path) > static_cast<std::int64_t>(kLanguageFileMaxBytes) ? std::u16string() : path);
    textCatalogue().fill(doc);
}

std::u16string tr(std::string_view key) { return textCatalogue().text(key); }

std::u16string languageFilePath(std::u16string_view modulePath) {
    // Drive and directory end at the last path separator (or the drive's colon).
    std::size_t cut = 0;
    for (std::size_t i = 0; i < modulePath.size(); ++i) {
        const char16_t c = modulePath[i];
        if (c == u'\\' || c == u'/' || (c == u':' && i == 1)) cut = i + 1;
    }
    std::u16string path(modulePath.substr(0, cut));
    path += u"language.xml";
    return path;
}

}  // namespace mv
