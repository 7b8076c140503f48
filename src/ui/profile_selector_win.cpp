#include "ui/profile_selector_win.h"

#include <commdlg.h>

#include "gesture/slot_catalogue.h"
#include "i18n/text_catalogue.h"
#include "ui/backup_messages.h"
#include "ui/dpi_win.h"
#include "ui/window_layout.h"
#include "win32/foreground_program.h"
#include "win32/win32_platform.h"
#include "win32/on_demand_dlls.h"

namespace mv {

namespace {
// The selector wears the function button's drop-down picture.
constexpr const Rect& kDropDownPicture = main_layout::kFunction;

std::u16string GestureName(int slot) {
    return tr(slot == 16 ? "tc_function_largenarrow" : SlotCatalogue[slot].gestureName);
}
}  // namespace

void ProfileSelector::Create(HWND host) {
    host_ = host;
    button_.Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, ScaledRECT(main_layout::kSelector, view_.dpi()), host, 0);
    button_.drawsFocus = true;
    LayOut();
    button_.SetTooltipLater(tr("tc_profile_tip"));
    view_.onRecordEdited = [this] { Refresh(); };
    Refresh();
}

void ProfileSelector::LayOut() {
    const int dpi = view_.dpi();
    const RECT at = ScaledRECT(main_layout::kSelector, dpi);
    MoveWindow(button_, at.left, at.top, at.right - at.left, at.bottom - at.top, FALSE);
    button_.SetDpi(dpi);
    SkinSheets& s = view_.sheets();
    const RECT p = ScaledRECT(kDropDownPicture, dpi);
    button_.SetSkin(&s.normal, &s.over, p.left, p.top, p.right - p.left, p.bottom - p.top, &s.down, &s.normal);
    button_.Invalidate();
}

void ProfileSelector::Refresh() {
    const Profile* p = session_.ShownProfile();
    const std::u16string shown = p ? p->program : tr("tc_profile_all");
    button_.SetCaption(shown, 0, 7, 1);
    button_.SetAccessibleName(FillPlaceholders(tr("tc_acc_profile"), {shown}));
    button_.hasPopup = true;
    const std::u16string changed = p ? FillPlaceholders(tr("tc_profile_overridden"), {p->program}) : u"";
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const bool marked = p && p->Overrides(slot);
        view_.MarkGesture(slot, marked, marked ? GestureName(slot) + u" (" + changed + u")" : GestureName(slot));
    }
    view_.RefreshFunctionName();
}

void ProfileSelector::ShowProfile(const std::u16string& program) {
    session_.ShowProfile(program);
    Refresh();
}

bool ProfileSelector::OnCommand(HWND source) {
    if (!source || source != button_.GetSafeHwnd()) return false;
    OpenMenu();
    return true;
}

void ProfileSelector::Message(const std::u16string& text) const {
    MessageBoxW(host_, ToWide(text).c_str(), ToWide(tr("tc_mouse_title")).c_str(), MB_OK | MB_ICONINFORMATION);
}

bool ProfileSelector::AddProgram(const std::u16string& program) {
    switch (session_.AddProfile(program)) {
        case AddProfileResult::Exists: Message(FillPlaceholders(tr("tc_profile_exists"), {program})); return false;
        case AddProfileResult::BadName: Message(FillPlaceholders(tr("tc_profile_bad_name"), {program})); return false;
        case AddProfileResult::Added: break;
    }
    Refresh();
    return true;
}

void ProfileSelector::Browse() {
    wchar_t file[MAX_PATH * 2] = {};
    const std::wstring title = ToWide(tr("tc_profile_browse"));
    static const wchar_t kFilter[] = L"*.exe\0*.exe\0*.*\0*.*\0";
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = host_;
    ofn.lpstrFilter = kFilter;
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH * 2;
    ofn.lpstrTitle = title.c_str();
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!ondemand::GetOpenFileNameW(&ofn)) return;
    AddProgram(std::u16string(ProgramFileName(FromWide(file))));
}

void ProfileSelector::OpenMenu() {
    view_.CloseFunctionMenu();
    HMENU menu = CreatePopupMenu();
    HMENU add = CreatePopupMenu();
    auto append = [](HMENU m, UINT flags, UINT_PTR id, const std::u16string& text) {
        AppendMenuW(m, flags, id, ToWide(text).c_str());
    };
    const Profile* shown = session_.ShownProfile();
    const ProfileSet& profiles = session_.profiles();
    append(menu, MF_STRING | (shown ? 0 : MF_CHECKED), kCommandAllPrograms, tr("tc_profile_all"));
    for (std::size_t i = 0; i < profiles.all().size(); ++i) {
        const Profile& p = profiles.all()[i];
        append(menu, MF_STRING | (&p == shown ? MF_CHECKED : 0), kCommandProfile + i, p.program);
    }
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    offered_.clear();
    for (const std::u16string& name : ProgramsWithWindows(GetCurrentProcessId()))
        if (!profiles.Find(name) && offered_.size() < 0x300) offered_.push_back(name);
    for (std::size_t i = 0; i < offered_.size(); ++i) append(add, MF_STRING, kCommandAdd + i, offered_[i]);
    if (offered_.empty()) append(add, MF_STRING | MF_GRAYED, 0, tr("tc_profile_no_windows"));
    AppendMenuW(add, MF_SEPARATOR, 0, nullptr);
    append(add, MF_STRING, kCommandBrowse, tr("tc_profile_browse"));
    append(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(add), tr("tc_profile_add"));
    // Removing and following All programs concern a profile: offered only while one is shown.
    if (shown) {
        append(menu, MF_STRING, kCommandRemove, FillPlaceholders(tr("tc_profile_remove"), {shown->program}));
        append(menu, MF_STRING | (shown->Overrides(view_.CurrentSlot) ? 0 : MF_GRAYED), kCommandFollow,
               FillPlaceholders(tr("tc_profile_follow"), {shown->program}));
    }
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    append(menu, MF_STRING, kCommandExport, tr("tc_export"));
    append(menu, MF_STRING, kCommandImport, tr("tc_import"));

    button_.SetLatched(1);
    SetForegroundWindow(host_);  // the menu takes the keyboard only from the foreground window
    const Point at = ScalePoint(main_layout::kSelectorMenuCorner, view_.dpi());
    POINT corner{at.x, at.y};
    ClientToScreen(host_, &corner);
    const UINT command = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY, corner.x, corner.y, 0, host_, nullptr));
    DestroyMenu(menu);  // destroys the submenu with it
    button_.SetLatched(0);
    if (command) RunCommand(command);
}

void ProfileSelector::RunCommand(UINT command) {
    if (command == kCommandAllPrograms) {
        ShowProfile(u"");
    } else if (command >= kCommandProfile && command < kCommandProfile + 0x200) {
        const std::size_t i = command - kCommandProfile;
        if (i < session_.profiles().all().size()) ShowProfile(session_.profiles().all()[i].program);
    } else if (command >= kCommandAdd && command < kCommandAdd + 0x400) {
        const std::size_t i = command - kCommandAdd;
        if (i < offered_.size()) AddProgram(offered_[i]);
    } else if (command == kCommandBrowse) {
        Browse();
    } else if (command == kCommandRemove) {
        session_.RemoveShownProfile();
        Refresh();
    } else if (command == kCommandFollow) {
        session_.FollowAllPrograms(view_.CurrentSlot);
        Refresh();
    } else if (command == kCommandExport) {
        if (onExport) onExport();
    } else if (command == kCommandImport) {
        if (onImport) onImport();
    }
}

}  // namespace mv
