// The profile selector of the settings window: a skinned drop-down button naming the
// profile shown ("All programs" or a program), whose menu switches profiles, adds one for a
// program with open windows or browsed to, removes one, lets a gesture follow All programs
// again, and holds the export and import commands.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "gesture/gesture_session.h"
#include "ui/bitmap_btn_win.h"
#include "ui/settings_window_win.h"

namespace mv {

class ProfileSelector {
public:
    // Menu commands (also accepted as WM_COMMAND with lParam 0 from the main window).
    static constexpr UINT kCommandAllPrograms = 0x7000;
    static constexpr UINT kCommandProfile = 0x7100;  // + index of the profile
    static constexpr UINT kCommandAdd = 0x7400;      // + index in the list of programs with windows
    static constexpr UINT kCommandBrowse = 0x7300;
    static constexpr UINT kCommandRemove = 0x7301;
    static constexpr UINT kCommandFollow = 0x7302;
    static constexpr UINT kCommandExport = 0x7303;
    static constexpr UINT kCommandImport = 0x7304;
    static bool IsCommand(UINT id) { return id >= kCommandAllPrograms && id < kCommandAdd + 0x400; }

    ProfileSelector(SettingsWindow& view, GestureSession& session) : view_(view), session_(session) {}

    // After the settings window is built.
    void Create(HWND host);
    // At the settings window's DPI, with its pictures (after a change of DPI).
    void LayOut();
    // The button's click opens the menu; true when `source` was the button.
    bool OnCommand(HWND source);
    void RunCommand(UINT command);
    // The profiles changed from outside (import, restore): the shown one stays if it still exists.
    void Refresh();

    void ShowProfile(const std::u16string& program);
    // Adds a profile for `program` and shows it; a message when it cannot be added.
    bool AddProgram(const std::u16string& program);

    std::function<void()> onExport;
    std::function<void()> onImport;
    HWND button() const { return button_.GetSafeHwnd(); }

private:
    void OpenMenu();
    void Browse();
    void Message(const std::u16string& text) const;

    SettingsWindow& view_;
    GestureSession& session_;
    HWND host_ = nullptr;
    CBitmapBtn button_;
    std::vector<std::u16string> offered_;  // programs of the last menu's "Add a program"
};

}  // namespace mv
