#include "gesture/gesture_session.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "base/text_fill.h"
#include "gesture/gesture_feedback.h"
#include "gesture/record_check.h"

namespace mv {

namespace {
constexpr std::int32_t kRestoreMark = 3;
constexpr int kDefaultMouseSpeed = 10;
}  // namespace

GestureSession::GestureSession(const SessionSeams& seams, Texts texts)
    : seams_(seams), texts_(std::move(texts)), store_(seams.registry), events_(seams.clock) {}

void GestureSession::Load() {
    settings_ = Settings{};
    ResetRecordsToDefaults(settings_.allPrograms.records);
    store_.Load(settings_);
    if (!Shown()) shown_.clear();
    named_.clear();
}

GestureOutcome GestureSession::OnGestureEvent(DeviceEventCode code) {
    GestureOutcome out;
    GestureSlot slot = -1;  // none: a zoom step
    const auto run = [&](const FunctionRecord& record) {
        out.record = record;
        if (CheckRecord(record, settings_.macros) != RecordProblem::None) {
            out.refused = true;
            return;
        }
        if (locked_ && StartsOrPlays(record)) {
            out.heldByLock = true;
            return;
        }
        seams_.actions.run(record, settings_.macros);
        out.ran = true;
    };
    const FunctionRecordArray& records = settings_.allPrograms.records;
    if (pause_.paused() || settings_.profiles.empty()) {
        const FunctionRecordArray& active = pause_.active(records);
        events_.OnGestureEvent(
            code,
            [&](GestureSlot s) -> const FunctionRecord& {
                slot = s;
                return active[s];
            },
            run);
    } else {
        // The program in front is asked only for a code that selects a slot.
        events_.OnGestureEvent(
            code,
            [&](GestureSlot s) -> const FunctionRecord& {
                slot = s;
                const Profile* profile = settings_.profiles.Find(seams_.foreground.currentProgram());
                if (profile && profile->Overrides(s)) out.profile = profile;
                return ResolveRecord(records, profile, s);
            },
            run);
    }
    if (out.ran && settings_.feedback) {
        const std::string_view key = FeedbackNameKey(code, out.record);
        if (!key.empty()) out.feedback = texts_(key);
    }
    if (out.refused) NameRefusal(out, slot);
    return out;
}

SlotMask GestureSession::ReportedSlots(const Settings& settings) const {
    return pause_.paused() ? 0 : settings.profiles.ReportedSlots(settings.allPrograms.records);
}

bool GestureSession::Send(SlotMask reported) {
    if (!seams_.device.sendReportedSlots(reported)) return false;
    deviceTold_ = true;
    told_ = reported;
    return true;
}

bool GestureSession::SendDeviceSettings() { return Send(ReportedSlots(settings_)); }

void GestureSession::RestoreDevice() {
    if (deviceTold_) seams_.device.sendReportedSlots(told_);
}

void GestureSession::HandDeviceBack() {
    ResetRecordsToDefaults(settings_.allPrograms.records);
    Send(0);  // every gesture back to the device, the profiles' too
    seams_.device.handBack();
}

void GestureSession::SetPaused(bool paused) {
    if (paused == pause_.paused()) return;
    pause_.setPaused(paused);
    SendDeviceSettings();
}

bool GestureSession::SetFeedback(bool on) {
    settings_.feedback = on;
    return store_.SaveFeedback(on);
}

Profile* GestureSession::Shown() { return shown_.empty() ? nullptr : settings_.profiles.Find(shown_); }

const Profile* GestureSession::ShownProfile() const { return const_cast<GestureSession*>(this)->Shown(); }

void GestureSession::ShowProfile(std::u16string_view program) {
    const Profile* p = program.empty() ? nullptr : settings_.profiles.Find(program);
    shown_ = p ? p->program : std::u16string();
}

const FunctionRecord& GestureSession::ShownRecord(GestureSlot slot) const {
    return ResolveRecord(settings_.allPrograms.records, ShownProfile(), slot);
}

void GestureSession::ChooseFunction(GestureSlot slot, std::uint8_t actionCode) {
    if (slot < 0 || slot >= kSlotCount) return;
    if (Profile* p = Shown())
        OverrideSlot(*p, settings_.allPrograms.records, slot, actionCode);
    else
        settings_.allPrograms.records[slot].setActionCode(actionCode);
}

void GestureSession::StoreRecord(GestureSlot slot, const FunctionRecord& record) {
    if (slot < 0 || slot >= kSlotCount) return;
    if (Profile* p = Shown()) {
        OverrideSlot(*p, settings_.allPrograms.records, slot, record.actionCode());
        p->image.records[slot] = record;
    } else {
        settings_.allPrograms.records[slot] = record;
    }
}

AddProfileResult GestureSession::AddProfile(std::u16string_view program) {
    if (settings_.profiles.Find(program)) return AddProfileResult::Exists;
    if (!settings_.profiles.Add(program, settings_.allPrograms)) return AddProfileResult::BadName;
    ShowProfile(program);
    return AddProfileResult::Added;
}

void GestureSession::RemoveShownProfile() {
    if (Shown()) settings_.profiles.Remove(shown_);
    shown_.clear();
}

void GestureSession::FollowAllPrograms(GestureSlot slot) {
    if (Profile* p = Shown()) mv::FollowAllPrograms(*p, slot);
}

CommitResult GestureSession::Commit(Settings next, SaveScope scope) {
    const SlotMask reported = ReportedSlots(next);
    if (!seams_.device.sendReportedSlots(reported)) {
        RestoreDevice();
        return CommitResult::DeviceRefused;
    }
    if (!store_.Save(next, scope)) {
        RestoreDevice();
        return CommitResult::SaveFailed;
    }
    deviceTold_ = true;
    told_ = reported;
    settings_ = std::move(next);
    if (!Shown()) shown_.clear();
    named_.clear();
    return CommitResult::Done;
}

CommitResult GestureSession::Apply() { return Commit(settings_, SaveScope{}); }

ImportResult GestureSession::Import(const SettingsBackup& backup) {
    Settings next = settings_;
    if (const auto* v = backup.find(kButtonSetting)) std::copy(v->data.begin(), v->data.end(), BlobBytes(next.allPrograms));
    if (const auto* v = backup.find(kMacroSetting)) std::copy(v->data.begin(), v->data.end(), next.macros.bytes.begin());
    if (const auto* v = backup.find(kMacroNames)) next.macroNames.Parse(v->data);
    const auto* feedback = backup.find(kGestureFeedback);
    if (feedback) next.feedback = FeedbackChosen(RegistryValue{feedback->kind->type, feedback->data});
    if (backup.replacesProfiles) next.profiles = ProfileSet{};
    for (const Profile& p : backup.profiles.all()) {
        next.profiles.Remove(p.program);
        next.profiles.all().push_back(p);
    }
    ImportResult result;
    result.commit = Commit(std::move(next), SaveScope{true, feedback != nullptr});
    return result;
}

ImportPlan GestureSession::ReadImport(const std::u16string& path) {
    ImportPlan plan;
    const FileRead file = seams_.files.readFile(path, kRegFileMaxBytes);
    if (file.problem == FileReadProblem::Unreadable) {
        plan.check.problem = BackupProblem::FileUnreadable;
    } else if (file.problem == FileReadProblem::TooLarge) {
        plan.check.problem = BackupProblem::TooLarge;
    } else {
        plan.check = CheckBackupFile(file.bytes.data(), file.bytes.size());
    }
    if (!plan.check.ok()) return plan;
    // The file's own records, playing the macros as they would be after the import.
    auto own = std::make_unique<Settings>();
    ResetRecordsToDefaults(own->allPrograms.records);
    if (const auto* v = plan.check.backup.find(kButtonSetting))
        std::copy(v->data.begin(), v->data.end(), BlobBytes(own->allPrograms));
    own->macros = settings_.macros;
    if (const auto* v = plan.check.backup.find(kMacroSetting)) std::copy(v->data.begin(), v->data.end(), own->macros.bytes.begin());
    own->profiles = plan.check.backup.profiles;
    const std::vector<RefusedRecord> refused = RefusedRecords(*own);
    if (!refused.empty()) {
        BackupCheck unsafe;
        unsafe.problem = BackupProblem::UnsafeRecord;
        unsafe.name = refused.front().what;
        plan.check = std::move(unsafe);
        return plan;
    }
    plan.opens = LaunchTargetsOf(*own);
    return plan;
}

void GestureSession::NameRefusal(GestureOutcome& out, GestureSlot slot) {
    const std::pair<std::u16string, GestureSlot> key{out.profile ? out.profile->program : std::u16string(), slot};
    if (std::find(named_.begin(), named_.end(), key) != named_.end()) return;
    named_.push_back(key);
    for (const RefusedRecord& r : RefusedRecords(settings_))
        if (r.program == key.first && r.slot == slot) out.feedback = FillPlaceholders(texts_("tc_record_refused"), {r.what});
}

ExportResult GestureSession::ExportFile(const std::u16string& path, RegistryView view) {
    ExportResult result;
    const std::vector<std::uint8_t> file = ExportSettings(seams_.registry, &result.leftOut, view);
    result.written = seams_.files.replaceFile(path, file);
    return result;
}

CommitResult GestureSession::RestoreDefaults(bool removeProfiles) {
    Settings next = settings_;
    next.allPrograms = ButtonSettingBlob{};
    ResetRecordsToDefaults(next.allPrograms.records);
    if (removeProfiles) next.profiles = ProfileSet{};
    if (!store_.Save(next, SaveScope{removeProfiles, false})) return CommitResult::SaveFailed;
    settings_ = std::move(next);
    if (!Shown()) shown_.clear();
    SendDeviceSettings();  // its result does not matter here
    // Noted after the save: these reach the registry with the next one.
    writeLe32(settings_.allPrograms.wheelLines.data(), static_cast<std::uint32_t>(store_.ReadWheelScrollLines()));
    writeLe32(settings_.allPrograms.restoreMark.data(), static_cast<std::uint32_t>(kRestoreMark));
    seams_.pointer.setMouseSpeed(kDefaultMouseSpeed);
    seams_.pointer.setMouseThresholds(6, 10, 1);
    return CommitResult::Done;
}

}  // namespace mv
