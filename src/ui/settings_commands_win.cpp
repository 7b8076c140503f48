#include "ui/settings_commands_win.h"

#include <commdlg.h>

#include <cwchar>

#include "base/text_fill.h"
#include "i18n/text_catalogue.h"
#include "ui/backup_messages.h"
#include "win32/win32_platform.h"
#include "win32/on_demand_dlls.h"

namespace mv {

namespace {

// The apply warning box: caption and text.
constexpr wchar_t kApplyWarningCaption[] = L"Warning";
constexpr wchar_t kApplyWarningText[] = L"       Error code: 0x68       ";

int Message(HWND owner, const std::u16string& text, const char* captionKey, UINT style) {
    return MessageBoxW(owner, ToWide(text).c_str(), ToWide(tr(captionKey)).c_str(), style);
}

// What a refused or failed commit tells the user.
void ShowCommitFailure(HWND owner, CommitResult result) {
    if (result == CommitResult::DeviceRefused)
        MessageBoxW(owner, kApplyWarningText, kApplyWarningCaption, MB_OK);
    else if (result == CommitResult::SaveFailed)
        Message(owner, tr("tc_save_failed"), "tc_mouse_title", MB_OK | MB_ICONWARNING);
}

// The standard Save or Open dialog for a .reg file; the chosen path, or empty.
std::u16string ChooseRegFile(HWND owner, bool save) {
    wchar_t file[MAX_PATH * 2] = L"";
    if (save) std::wcscpy(file, L"MorviCorvelSettings.reg");
    const std::wstring label = ToWide(tr("tc_reg_files"));
    const std::wstring filter = label + L'\0' + L"*.reg" + L'\0' + L"*.*" + L'\0' + L"*.*" + L'\0';
    const std::wstring title = ToWide(tr(save ? "tc_export" : "tc_import"));
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH * 2;
    ofn.lpstrTitle = title.c_str();
    ofn.lpstrDefExt = L"reg";
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    const BOOL chosen = save ? ondemand::GetSaveFileNameW(&ofn) : ondemand::GetOpenFileNameW(&ofn);
    return chosen ? FromWide(file) : std::u16string();
}

}  // namespace

bool ApplySettings(HWND owner, GestureSession& session) {
    const CommitResult result = session.Apply();
    ShowCommitFailure(owner, result);
    return result == CommitResult::Done;
}

bool RestoreDefaults(HWND owner, GestureSession& session) {
    // With profiles, the user says whether they go too.
    bool removeProfiles = false;
    if (!session.profiles().empty()) {
        const std::u16string count = DecimalText(static_cast<long long>(session.profiles().all().size()));
        const int answer =
            Message(owner, FillPlaceholders(tr("tc_restore_profiles"), {count}), "tc_retitle", MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer == IDCANCEL) return false;
        removeProfiles = answer == IDYES;
    }
    const CommitResult result = session.RestoreDefaults(removeProfiles);
    ShowCommitFailure(owner, result);
    return result == CommitResult::Done;
}

void ExportSettings(HWND owner, GestureSession& session) {
    const std::u16string path = ChooseRegFile(owner, true);
    if (path.empty()) return;
    // On 64-bit Windows this 32-bit program's values live in the 32-bit view.
    const RegistryView view = Win32System().isWow64Process().value_or(false) ? RegistryView::Wow64 : RegistryView::Native;
    const ExportResult result = session.ExportFile(path, view);
    const std::u16string message = ExportMessage(path, result.written, result.leftOut);
    if (!message.empty()) Message(owner, message, "tc_mouse_title", MB_OK | MB_ICONWARNING);
}

bool ImportSettings(HWND owner, GestureSession& session) {
    const std::u16string path = ChooseRegFile(owner, false);
    if (path.empty()) return false;
    const ImportPlan plan = session.ReadImport(path);
    if (!plan.check.ok()) {
        Message(owner, BackupRefusalText(plan.check), "tc_import", MB_OK | MB_ICONWARNING);
        return false;
    }
    // What the file would let gestures open, shown before anything changes.
    if (!plan.opens.empty() &&
        Message(owner, ImportConfirmText(plan.opens), "tc_import", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return false;
    const ImportResult result = session.Import(plan.check.backup);
    ShowCommitFailure(owner, result.commit);
    return result.commit == CommitResult::Done;
}

}  // namespace mv
