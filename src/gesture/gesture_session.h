// One gesture session: the user's settings in memory (records, macros and their names,
// profiles, the feedback choice), the pause, and the profile the settings window shows.
// An event code goes in, and the record that ran, the profile that decided it and the
// feedback's text come out. Apply, Import and Restore defaults go through it, all or
// nothing: a refused or failed one leaves memory, registry and device as they were.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "gesture/dispatcher.h"
#include "gesture/gesture_events.h"
#include "gesture/gesture_pause.h"
#include "seams/clock.h"
#include "seams/device_settings.h"
#include "seams/files.h"
#include "seams/foreground.h"
#include "seams/registry.h"
#include "settings/settings_backup.h"
#include "settings/settings_store.h"

namespace mv {

struct SessionSeams {
    RegistrySeam& registry;
    PointerSettingsSeam& pointer;
    DeviceSettingsSeam& device;
    ForegroundSeam& foreground;
    FileSeam& files;
    TickClock& clock;
    ActionRunner& actions;
};

// What one event ran.
struct GestureOutcome {
    bool ran = false;
    FunctionRecord record{};           // the record run (a transient one for a zoom step)
    const Profile* profile = nullptr;  // the profile whose record it was; null: All programs
    std::u16string feedback;           // the name the label shows; empty: no label
    bool refused = false;              // the record fails the record check and did nothing
    bool heldByLock = false;           // it would start or play something behind the lock screen
};

enum class CommitResult {
    Done,
    DeviceRefused,  // the device refused its settings: nothing saved
    SaveFailed,     // a registry write failed: what was written is put back
};

// A file read for import, not applied yet.
struct ImportPlan {
    BackupCheck check;                  // the file's first problem, its records' included
    std::vector<std::u16string> opens;  // what the file's records would open, for the user to confirm
};

struct ImportResult {
    BackupCheck check;  // the file's first problem; nothing changed when it has one
    CommitResult commit = CommitResult::Done;
    bool ok() const { return check.ok() && commit == CommitResult::Done; }
};

struct ExportResult {
    bool written = false;
    std::vector<std::u16string> leftOut;  // stored values of ours that the file leaves out
};

enum class AddProfileResult { Added, Exists, BadName };

class GestureSession {
public:
    using Texts = std::function<std::u16string(std::string_view key)>;

    // `texts` gives the feedback's names by text key.
    GestureSession(const SessionSeams& seams, Texts texts);

    // At start: the defaults, then every stored value over them.
    void Load();

    // The event path: runs what `code` selects (the zoom rule, the pause, the profile of the
    // program in front) and says what ran.
    GestureOutcome OnGestureEvent(DeviceEventCode code);

    // The device: told what to report when it opens or comes back, and handed back at the
    // end (the records return to their defaults in memory, the device carries out every
    // gesture itself).
    bool SendDeviceSettings();
    void HandDeviceBack();

    // Pausing hands the device the defaults and runs them; the user's settings stay.
    bool paused() const { return pause_.paused(); }
    void SetPaused(bool paused);
    // While the session is locked, gestures that start programs, open pages or play macros do
    // nothing (everything else, a click or a key, still runs).
    bool locked() const { return locked_; }
    void SetLocked(bool locked) { locked_ = locked; }
    bool feedback() const { return settings_.feedback; }
    // False when the choice could not be stored (it holds for this run all the same).
    bool SetFeedback(bool on);

    // The profile the settings window shows (null: All programs) and the edits of its records.
    const Profile* ShownProfile() const;
    void ShowProfile(std::u16string_view program);
    const FunctionRecord& ShownRecord(GestureSlot slot) const;
    // A function picked for `slot` (only its ActionCode), or a whole record from an editor.
    void ChooseFunction(GestureSlot slot, std::uint8_t actionCode);
    void StoreRecord(GestureSlot slot, const FunctionRecord& record);
    // Adds a profile for `program` and shows it.
    AddProfileResult AddProfile(std::u16string_view program);
    void RemoveShownProfile();
    // The shown profile's `slot` follows All programs again.
    void FollowAllPrograms(GestureSlot slot);

    // Sends the settings to the device, then saves them.
    CommitResult Apply();
    // Reads a .reg file and checks it and its records; nothing changes.
    ImportPlan ReadImport(const std::u16string& path);
    // Puts a checked file's values over the settings and applies them.
    ImportResult Import(const SettingsBackup& backup);
    // Writes the stored values to a .reg file, replacing the file only once it is whole; the
    // keys are named as `view` shows them.
    ExportResult ExportFile(const std::u16string& path, RegistryView view = RegistryView::Native);
    // The records of All programs back to the defaults (and the profiles removed when asked),
    // saved, sent to the device, and the system pointer settings reset. Macros stay.
    CommitResult RestoreDefaults(bool removeProfiles);

    const Settings& settings() const { return settings_; }
    const ProfileSet& profiles() const { return settings_.profiles; }
    // The macros and their names, which the macro editor edits in place.
    MacroStore& macros() { return settings_.macros; }
    MacroNames& macroNames() { return settings_.macroNames; }

private:
    // What the device is asked to report for `settings`: nothing while paused.
    SlotMask ReportedSlots(const Settings& settings) const;
    bool Send(SlotMask reported);
    // The device back to what it was last told, after a refused or failed commit.
    void RestoreDevice();
    CommitResult Commit(Settings next, SaveScope scope);
    // Sets the label's text for a refused record the first time its gesture arrives.
    void NameRefusal(GestureOutcome& out, GestureSlot slot);
    Profile* Shown();

    SessionSeams seams_;
    Texts texts_;
    SettingsStore store_;
    Settings settings_;
    GestureEvents events_;
    GesturePause pause_;
    std::u16string shown_;  // the program of the profile shown; empty: All programs
    // The refused records already named to the user: (program, slot).
    std::vector<std::pair<std::u16string, GestureSlot>> named_;
    bool locked_ = false;
    bool deviceTold_ = false;
    SlotMask told_ = 0;  // what the device was last told to report, once it was
};

}  // namespace mv
