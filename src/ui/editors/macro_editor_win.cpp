#include "ui/editors/macro_editor_win.h"

#include <cwctype>

#include <oleacc.h>

#include "i18n/text_catalogue.h"
#include "ui/accessible_win.h"
#include "ui/editors/chord_editor_win.h"
#include "ui/function_label.h"
#include "win32/win32_platform.h"

namespace mv {

namespace {

const RECT kListLabelRect{16, 42, 200, 60};
const RECT kListRect{16, 62, 200, 300};
const RECT kNewRect{16, 306, 104, 332};
const RECT kDeleteRect{112, 306, 200, 332};
const RECT kNameLabelRect{216, 44, 278, 62};
const RECT kNameRect{280, 40, 448, 64};
const RECT kRenameRect{456, 40, 544, 64};
const RECT kStepsLabelRect{216, 70, 544, 88};
const RECT kStepsRect{216, 90, 544, 250};
const RECT kStepDeleteRect{216, 256, 316, 280};
const RECT kDelayLabelRect{322, 261, 374, 279};
const RECT kDelayRect{376, 256, 444, 280};
const RECT kMsLabelRect{448, 261, 478, 279};
const RECT kSetRect{480, 256, 544, 280};
const RECT kRepeatRect{216, 288, 300, 312};
const RECT kCountRect{304, 288, 364, 312};
const RECT kTimesLabelRect{368, 293, 440, 311};
const RECT kStartRect{216, 318, 300, 344};
const RECT kEndRect{306, 318, 390, 344};
const RECT kStatusRect{396, 324, 548, 344};
const RECT kMessageRect{16, 354, 410, 396};
const RECT kOkRect{416, 358, 478, 386};
const RECT kCancelRect{484, 358, 544, 386};
constexpr UINT kListId = 101, kNameId = 102, kStepsId = 103, kDelayId = 104, kCountId = 105;
constexpr COLORREF kLabelColour = 0x006B5C50;

// A whole number typed in an edit; nothing for an empty, non-numeric or too large text.
std::optional<long long> NumberOf(HWND edit) {
    const std::u16string text = WindowTextOf(edit);
    if (text.empty() || text.size() > 9) return std::nullopt;
    long long value = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    return value;
}

void SetNumber(HWND edit, long long value) { ::SetWindowTextW(edit, std::to_wstring(value).c_str()); }

}  // namespace

LRESULT RecordPad::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETDLGCODE: return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP: {
            const bool up = message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP;
            const std::uint8_t key = (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP)   ? kChordLeftButton
                                     : (message == WM_RBUTTONDOWN || message == WM_RBUTTONUP) ? kChordRightButton
                                                                                              : kChordMiddleButton;
            if (onButton) onButton(key, up, static_cast<DWORD>(GetMessageTime()));
            return 0;
        }
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK: return 0;
        case WM_CONTEXTMENU: return 0;
        case WM_GETOBJECT:
            if (const LRESULT answer = AnswerGetObject(hwnd_, wParam, lParam)) return answer;
            break;
        case WM_ACCESSIBLE_TRAITS: return AnswerFocusableTraits(lParam, ROLE_SYSTEM_PANE, accessibleName);
        case WM_KILLFOCUS:
            if (focusLost) focusLost();
            break;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            const HDC dc = BeginPaint(hwnd_, &ps);
            RECT client;
            GetClientRect(hwnd_, &client);
            if (paint) paint(dc, client);
            EndPaint(hwnd_, &ps);
            return 0;
        }
        case WM_ERASEBKGND: return TRUE;
        default: break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

MacroEditor::MacroEditor(FunctionRecord& record, MacroStore& store, MacroNames& names)
    : EditorDialog(L"macro", tr("tc_macro_editor")), record_(record), store_(store), names_(names) {
    buttonNames_ = {tr("tc_click"), tr("tc_function_doubleclick"), tr("tc_middle")};
    std::optional<std::size_t> selected;
    if (record.actionCode() == kActionMacro) selected = record.macroIndex();
    model_ = std::make_unique<MacroEditorModel>(store, names, selected);
}

HWND MacroEditor::button(const char* key) const {
    for (const Named& n : buttons_)
        if (std::string_view(n.key) == key) return n.button->GetSafeHwnd();
    return nullptr;
}

HWND MacroEditor::repeatBox() const { return repeat_ ? repeat_->GetSafeHwnd() : nullptr; }

void MacroEditor::BuildControls() {
    auto named = [this](const RECT& rect, const char* key) {
        const CaptionKeys* caption = nullptr;
        for (const CaptionKeys& c : kMacroCaptions)
            if (std::string_view(c.plain) == key) caption = &c;
        EditorButton& b = caption ? AddButton(rect, *caption) : AddButton(rect, tr(key));
        buttons_.push_back({key, &b});
        return &b;
    };
    AddLabel(kListLabelRect, tr("tc_macro_list"));
    list_ = AddList(kListRect, kListId, tr("tc_macro_list"));
    named(kNewRect, "tc_macro_new");
    named(kDeleteRect, "tc_macro_del");
    AddLabel(kNameLabelRect, tr("tc_macro_name"));
    name_ = AddEdit(kNameRect, kNameId, tr("tc_macro_name"));
    SendMessageW(name_, EM_SETLIMITTEXT, 256, 0);
    named(kRenameRect, "tc_macro_rename");
    stepsLabel_ = AddLabel(kStepsLabelRect, tr("tc_macro_steps"));
    steps_ = AddList(kStepsRect, kStepsId, tr("tc_macro_steps"));
    pad_.onButton = [this](std::uint8_t key, bool up, DWORD time) {
        recorder_.event(key, up, time);
        ::SetWindowTextW(status_, ToWide(FillPlaceholders(tr("tc_macro_recording"), {DecimalText(static_cast<long long>(recorder_.stepCount()))})).c_str());
    };
    pad_.focusLost = [this]() {
        if (recorder_.recording()) StopRecording();
    };
    pad_.paint = [this](HDC dc, const RECT& client) {
        const HBRUSH face = CreateSolidBrush(RGB(224, 236, 254));
        FillRect(dc, &client, face);
        DeleteObject(face);
        const HBRUSH edge = CreateSolidBrush(RGB(37, 99, 235));
        FrameRect(dc, &client, edge);
        DeleteObject(edge);
        const HGDIOBJ old = SelectObject(dc, font());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, kLabelColour);
        RECT r = client;
        InflateRect(&r, -Scaled(12), -Scaled(12));
        const std::wstring text = ToWide(tr("tc_macro_msg2"));
        DrawTextW(dc, text.c_str(), -1, &r, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(dc, old);
    };
    pad_.CreateEx(0, fw::CWnd::WindowClass(), L"", WS_CHILD | WS_TABSTOP, Scaled(kStepsRect), hwnd_, 0);
    Track(pad_, kStepsRect);
    pad_.accessibleName = ToWide(tr("tc_macro_panel"));
    AddKeyStop(pad_, DialogControl::Text);
    named(kStepDeleteRect, "tc_macro_step_del");
    AddLabel(kDelayLabelRect, tr("tc_macro_delay"));
    delay_ = AddEdit(kDelayRect, kDelayId, tr("tc_macro_delay"), ES_NUMBER);
    AddLabel(kMsLabelRect, tr("tc_macro_ms"));
    named(kSetRect, "tc_macro_set");
    repeat_ = named(kRepeatRect, "tc_macro_loop");
    repeat_->SetTextRect(18, 0, kRepeatRect.right - kRepeatRect.left, kRepeatRect.bottom - kRepeatRect.top);
    repeat_->normalTextColor = repeat_->pressedTextColor = repeat_->hoverTextColor = kLabelColour;
    repeat_->accessibleRole = ROLE_SYSTEM_CHECKBUTTON;
    repeat_->checkable = true;
    count_ = AddEdit(kCountRect, kCountId, tr("tc_macro_times"), ES_NUMBER);
    SendMessageW(count_, EM_SETLIMITTEXT, 4, 0);
    AddLabel(kTimesLabelRect, tr("tc_macro_times"));
    named(kStartRect, "tc_macro_start");
    named(kEndRect, "tc_macro_end");
    status_ = AddLabel(kStatusRect, u"");
    AddLabel(kMessageRect, u"", true);
    AddButton(kOkRect, kOkCaption, IDOK);
    AddButton(kCancelRect, kCancelCaption, IDCANCEL);
    RefreshList();
}

void MacroEditor::RefreshList() {
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    int selectedRow = -1;
    const auto listed = model_->listed();
    for (std::size_t row = 0; row < listed.size(); ++row) {
        const std::u16string name = MacroDisplayName(model_->names(), listed[row], tr("tc_mac_def"));
        SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(name).c_str()));
        SendMessageW(list_, LB_SETITEMDATA, row, static_cast<LPARAM>(listed[row]));
        if (model_->selected() == listed[row]) selectedRow = static_cast<int>(row);
    }
    SendMessageW(list_, LB_SETCURSEL, selectedRow, 0);
    RefreshCurrent();
}

void MacroEditor::RefreshCurrent() {
    const bool any = model_->selected().has_value();
    const MacroData macro = model_->current();
    ::SetWindowTextW(name_, any ? ToWide(model_->names().name(*model_->selected())).c_str() : L"");
    repeat_->SetLatched(macro.repeat ? 1 : 0);
    SetNumber(count_, macro.repeat || macro.repeatCount > 0 ? macro.repeatCount : 1);
    for (const HWND w : {name_, steps_, delay_, count_, button("tc_macro_del"), button("tc_macro_rename"),
                         button("tc_macro_step_del"), button("tc_macro_set"), repeatBox(), button("tc_macro_start")})
        EnableWindow(w, any);
    EnableWindow(button("tc_macro_end"), FALSE);
    RefreshSteps(0);
}

void MacroEditor::RefreshSteps(int selectStep) {
    const MacroData macro = model_->current();
    SendMessageW(steps_, LB_RESETCONTENT, 0, 0);
    for (std::size_t i = 0; i < macro.steps.size(); ++i) {
        const std::u16string text = DecimalText(static_cast<long long>(i + 1)) + u".  " +
                                    MacroStepText(macro.steps[i], buttonNames_, tr("tc_macro_press"), tr("tc_macro_release"),
                                                  tr("tc_macro_ms"));
        SendMessageW(steps_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(text).c_str()));
    }
    if (!macro.steps.empty()) {
        const int row = selectStep < static_cast<int>(macro.steps.size()) ? selectStep : static_cast<int>(macro.steps.size()) - 1;
        SendMessageW(steps_, LB_SETCURSEL, row, 0);
        SetNumber(delay_, PlayedGap(macro.steps[static_cast<std::size_t>(row)]));
    } else {
        ::SetWindowTextW(delay_, L"");
    }
    ::SetWindowTextW(stepsLabel_,
                   ToWide(tr("tc_macro_steps") + u"  (" + FillPlaceholders(tr("tc_macro_count"), {DecimalText(static_cast<long long>(macro.steps.size()))}) + u")").c_str());
}

int MacroEditor::SelectedStep() const { return static_cast<int>(SendMessageW(steps_, LB_GETCURSEL, 0, 0)); }

void MacroEditor::Say(MacroEditorModel::Error error) {
    using E = MacroEditorModel::Error;
    switch (error) {
        case E::None: ClearMessage(); break;
        case E::NoSelection: ShowMessage(tr("tc_macro_choose")); break;
        case E::Full: ShowMessage(tr("tc_macro_full")); break;
        case E::TooManySteps: break;  // said with the count by the caller
        case E::NoSteps: ShowMessage(tr("tc_macro_nosteps")); break;
        case E::BadName: ShowMessage(tr("tc_macro_badname")); break;
        case E::BadCount: ShowMessage(tr("tc_macro_badcount")); break;
        case E::BadDelay: ShowMessage(tr("tc_macro_baddelay")); break;
        case E::BadStep: ShowMessage(tr("tc_macro_choose")); break;
    }
}

void MacroEditor::StartRecording() {
    if (!model_->selected()) {
        Say(MacroEditorModel::Error::NoSelection);
        return;
    }
    ClearMessage();
    recorder_.start();
    for (const Named& n : buttons_) EnableWindow(*n.button, n.button->GetSafeHwnd() == button("tc_macro_end"));
    EnableWindow(list_, FALSE);
    ::ShowWindow(steps_, SW_HIDE);
    ::ShowWindow(pad_.GetSafeHwnd(), SW_SHOW);
    ::SetWindowTextW(status_, ToWide(FillPlaceholders(tr("tc_macro_recording"), {DecimalText(0)})).c_str());
    SetFocus(pad_);
}

void MacroEditor::StopRecording() {
    if (!recorder_.recording()) return;
    const std::vector<MacroStep> steps = recorder_.stop();
    ::ShowWindow(pad_.GetSafeHwnd(), SW_HIDE);
    ::ShowWindow(steps_, SW_SHOW);
    EnableWindow(list_, TRUE);
    for (const Named& n : buttons_) EnableWindow(*n.button, TRUE);
    ::SetWindowTextW(status_, L"");
    const MacroEditorModel::Error e = model_->setSteps(steps);
    if (e == MacroEditorModel::Error::TooManySteps) {
        ShowMessage(FillPlaceholders(tr("tc_macro_long"), {DecimalText(static_cast<long long>(steps.size()))}));
    } else {
        Say(e);
    }
    RefreshCurrent();
    SetFocus(steps_);
}

bool MacroEditor::OnKeyMessage(MSG* msg) {
    if (msg->hwnd != pad_.GetSafeHwnd() || !recorder_.recording()) return false;
    switch (msg->message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYUP: {
            const bool up = msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP;
            recorder_.event(KeyOfMessage(msg->wParam, msg->lParam), up, msg->time);
            ::SetWindowTextW(status_,
                           ToWide(FillPlaceholders(tr("tc_macro_recording"), {DecimalText(static_cast<long long>(recorder_.stepCount()))})).c_str());
            return true;
        }
        default: return true;  // characters: nothing to type into
    }
}

bool MacroEditor::ApplyPendingEdits() {
    if (!model_->selected()) return true;
    const std::u16string typed = WindowTextOf(name_);
    if (typed != model_->names().name(*model_->selected())) {
        const auto e = model_->rename(typed);
        if (e != MacroEditorModel::Error::None) {
            Say(e);
            return false;
        }
    }
    const bool repeat = repeat_->IsLatched() != 0;
    const auto count = NumberOf(count_);
    if (repeat && !count) {
        Say(MacroEditorModel::Error::BadCount);
        return false;
    }
    const MacroData macro = model_->current();
    if (repeat != macro.repeat || (repeat && *count != macro.repeatCount)) {
        const auto e = model_->setRepeat(repeat, static_cast<std::int32_t>(count.value_or(1)));
        if (e != MacroEditorModel::Error::None) {
            Say(e);
            return false;
        }
    }
    return true;
}

void MacroEditor::OnButton(HWND from) {
    using E = MacroEditorModel::Error;
    if (from == button("tc_macro_new")) {
        if (!ApplyPendingEdits()) return;
        std::u16string name = tr("tc_new_macro");
        if (!IsValidMacroName(name)) name = u"Macro";
        const E e = model_->createNew(name);
        Say(e);
        RefreshList();
        if (e == E::None) {
            SetFocus(name_);
            SendMessageW(name_, EM_SETSEL, 0, -1);
        }
    } else if (from == button("tc_macro_del")) {
        Say(model_->deleteSelected());
        RefreshList();
    } else if (from == button("tc_macro_rename")) {
        const E e = model_->rename(WindowTextOf(name_));
        Say(e);
        if (e == E::None) RefreshList();
    } else if (from == button("tc_macro_start")) {
        if (ApplyPendingEdits()) StartRecording();
    } else if (from == button("tc_macro_end")) {
        StopRecording();
    } else if (from == button("tc_macro_step_del")) {
        const int step = SelectedStep();
        const E e = step < 0 ? E::BadStep : model_->deleteStep(static_cast<std::size_t>(step));
        Say(e);
        if (e == E::None) RefreshSteps(step);
    } else if (from == button("tc_macro_set")) {
        const int step = SelectedStep();
        const auto value = NumberOf(delay_);
        E e = E::BadStep;
        if (step >= 0) e = value ? model_->setGap(static_cast<std::size_t>(step), static_cast<std::uint32_t>(
                                                                                     std::min<long long>(*value, kMaxStepGapMs + 1LL)))
                                 : E::BadDelay;
        Say(e);
        if (e == E::None) RefreshSteps(step);
    } else if (from == repeatBox()) {
        repeat_->SetLatched(repeat_->IsLatched() ? 0 : 1);
        if (!ApplyPendingEdits()) repeat_->SetLatched(repeat_->IsLatched() ? 0 : 1);
        else ClearMessage();
    }
}

void MacroEditor::OnControl(int id, int code) {
    if (id == kListId && code == LBN_SELCHANGE) {
        const LRESULT row = SendMessageW(list_, LB_GETCURSEL, 0, 0);
        if (row == LB_ERR) return;
        const auto index = static_cast<std::size_t>(SendMessageW(list_, LB_GETITEMDATA, row, 0));
        if (model_->selected() == index) return;
        if (!ApplyPendingEdits()) {
            RefreshList();  // back to the macro whose edit is not right yet
            return;
        }
        model_->select(index);
        ClearMessage();
        RefreshList();
    } else if (id == kStepsId && code == LBN_SELCHANGE) {
        const int step = SelectedStep();
        const MacroData macro = model_->current();
        if (step >= 0 && static_cast<std::size_t>(step) < macro.steps.size())
            SetNumber(delay_, PlayedGap(macro.steps[static_cast<std::size_t>(step)]));
    }
}

bool MacroEditor::Confirm() {
    StopRecording();
    if (!ApplyPendingEdits()) return false;
    const MacroEditorModel::Error e = model_->checkAssignable();
    if (e != MacroEditorModel::Error::None) {
        Say(e);
        return false;
    }
    model_->commit(store_, names_);
    record_.setActionCode(kActionMacro);
    record_.bytes[FunctionRecord::kMacroIndexOffset] = static_cast<std::uint8_t>(*model_->selected());
    return true;
}

}  // namespace mv
