#include "ui/editors/launch_editor_win.h"

#include <commdlg.h>

#include <vector>

#include "gesture/launch_target.h"
#include "i18n/text_catalogue.h"
#include "win32/win32_platform.h"
#include "win32/on_demand_dlls.h"

namespace mv {

namespace {

const RECT kTipsRect{20, 40, 384, 64};
const RECT kFieldRect{20, 68, 300, 96};
const RECT kWebFieldRect{20, 68, 384, 96};
const RECT kBrowseRect{306, 68, 384, 96};
const RECT kMessageRect{20, 104, 384, 144};
const RECT kOkRect{252, 158, 314, 186};
const RECT kCancelRect{320, 158, 384, 186};
constexpr UINT kEditId = 100;
// The edit takes more than fits, so that an over-long entry is refused with its length
// instead of being cut while typed or pasted.
constexpr int kEditLimit = 4096;

}  // namespace

LaunchEditor::LaunchEditor(FunctionRecord& record, Kind kind)
    : EditorDialog(kind == Kind::Program ? L"program" : L"web",
                   tr(kind == Kind::Program ? "tc_custom_program" : "tc_custom_web")),
      record_(record),
      kind_(kind) {}

void LaunchEditor::BuildControls() {
    const bool web = kind_ == Kind::WebPage;
    AddLabel(kTipsRect, tr(web ? "tc_web_tips" : "tc_launch_tips"));
    edit_ = AddEdit(web ? kWebFieldRect : kFieldRect, kEditId, tr(web ? "tc_custom_web" : "tc_custom_program"));
    SendMessageW(edit_, EM_SETLIMITTEXT, kEditLimit, 0);
    if (!web) browse_ = &AddButton(kBrowseRect, kBrowseCaption);
    AddLabel(kMessageRect, u"", true);
    AddButton(kOkRect, kOkCaption, IDOK);
    AddButton(kCancelRect, kCancelCaption, IDCANCEL);
    if (record_.actionCode() == 25) {
        const std::u16string path = record_.programPath();
        if (IsWebAddress(path) == web) ::SetWindowTextW(edit_, ToWide(path).c_str());
    }
    SendMessageW(edit_, EM_SETSEL, 0, -1);
}

void LaunchEditor::Browse() {
    std::vector<wchar_t> file(kEditLimit + 1, L'\0');
    const std::wstring current = ToWide(WindowTextOf(edit_));
    if (current.size() < file.size()) current.copy(file.data(), current.size());
    // "All files" and its pattern, each ending in a zero, and a zero after the list.
    std::wstring filter = ToWide(tr("tc_launch_filter"));
    if (filter.empty()) filter = L"*.*";
    filter.push_back(L'\0');
    filter += L"*.*";
    filter.push_back(L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = hwnd_;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (ondemand::GetOpenFileNameW(&ofn)) {
        ::SetWindowTextW(edit_, file.data());
        ClearMessage();
    }
    SetFocus(edit_);
}

void LaunchEditor::OnButton(HWND from) {
    if (browse_ && from == browse_->GetSafeHwnd()) Browse();
}

bool LaunchEditor::Confirm() {
    const bool web = kind_ == Kind::WebPage;
    const std::u16string typed = WindowTextOf(edit_);
    const LaunchTargetCheck check = web ? CheckWebAddress(typed) : CheckProgramPath(typed);
    switch (check.error) {
        case LaunchTargetError::None: break;
        case LaunchTargetError::Empty: ShowMessage(tr(web ? "tc_web_empty" : "tc_launch_empty")); return false;
        case LaunchTargetError::TooLong:
            ShowMessage(FillPlaceholders(tr("tc_launch_long"), {DecimalText(static_cast<long long>(check.units))}));
            return false;
        case LaunchTargetError::BadCharacter: ShowMessage(tr("tc_launch_bad")); return false;
        case LaunchTargetError::NotAnAddress: ShowMessage(tr("tc_web_bad")); return false;
        case LaunchTargetError::NotAllowed: ShowMessage(tr("tc_web_scheme")); return false;
    }
    FunctionRecord updated = record_;
    if (!StoreLaunchTarget(updated, check.target)) {
        ShowMessage(FillPlaceholders(tr("tc_launch_long"), {DecimalText(static_cast<long long>(check.units))}));
        return false;
    }
    updated.setActionCode(25);
    record_ = updated;
    return true;
}

}  // namespace mv
