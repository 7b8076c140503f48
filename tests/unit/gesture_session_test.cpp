// The gesture session: the event path (pause, profiles, feedback), the device it tells, the
// edits of the profile on screen, and Apply, Import and Restore defaults all or nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "gesture/function_names.h"
#include "settings/reg_file.h"
#include "support/fake_platform.h"
#include "support/fake_session.h"

namespace mv {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;

constexpr DeviceEventCode kThreeFingerClick = 0x8004;  // slot 11
constexpr GestureSlot kSlot = 11;

bool SameSettings(const Settings& a, const Settings& b) {
    if (std::memcmp(BlobBytes(a.allPrograms), BlobBytes(b.allPrograms), ButtonSettingBlob::kSize) != 0) return false;
    if (a.macros.bytes != b.macros.bytes || !(a.macroNames == b.macroNames) || a.feedback != b.feedback) return false;
    if (a.profiles.all().size() != b.profiles.all().size()) return false;
    for (std::size_t i = 0; i < a.profiles.all().size(); ++i) {
        const Profile& p = a.profiles.all()[i];
        const Profile& q = b.profiles.all()[i];
        if (p.program != q.program || p.overrides != q.overrides ||
            std::memcmp(BlobBytes(p.image), BlobBytes(q.image), ButtonSettingBlob::kSize) != 0)
            return false;
    }
    return true;
}

// Stores `record` for slot 11 of All programs through a session over `fakes`' registry.
void StoreRecordOf(test::SessionFakes& fakes, const FunctionRecord& record) {
    auto writer = std::make_unique<test::SessionFakes>();
    writer->registry = fakes.registry;
    writer->session.Load();
    writer->session.StoreRecord(kSlot, record);
    ASSERT_EQ(writer->session.Apply(), CommitResult::Done);
    fakes.registry = writer->registry;
}

FunctionRecord OpenRecord(const std::u16string& target) {
    FunctionRecord record = MakeRecord(25);
    record.setProgramPath(target);
    return record;
}

class Session : public ::testing::Test {
protected:
    Session() { session.Load(); }
    void putRecords(const ButtonSettingBlob& blob) {
        registry.put(kButtonSetting.root, kButtonSetting.key, kButtonSetting.name, kRegBinary,
                     Bytes(BlobBytes(blob), BlobBytes(blob) + ButtonSettingBlob::kSize));
    }
    std::uint8_t ranCode() const { return fakes->actions.ran.empty() ? 0 : fakes->actions.ran.back().actionCode(); }

    std::unique_ptr<test::SessionFakes> fakes = std::make_unique<test::SessionFakes>();
    GestureSession& session = fakes->session;
    test::FakeRegistry& registry = fakes->registry;
    test::FakeDevice& device = fakes->device;
};

TEST_F(Session, TheEventPathDecidesByPauseProfileAndFeedback) {
    for (const bool paused : {false, true})
        for (const bool overrides : {false, true})
            for (const bool feedback : {false, true}) {
                SCOPED_TRACE(testing::Message() << "paused " << paused << " overrides " << overrides << " feedback " << feedback);
                fakes = std::make_unique<test::SessionFakes>();
                GestureSession& s = fakes->session;
                s.Load();
                // All programs: the three-finger click cuts (its default is a middle click);
                // Notepad's profile: a right click, when it overrides the gesture.
                s.ChooseFunction(kSlot, 64);
                ASSERT_EQ(s.AddProfile(u"notepad.exe"), AddProfileResult::Added);
                if (overrides) s.ChooseFunction(kSlot, 2);  // the profile on screen: right click
                s.ShowProfile(u"");
                s.SetFeedback(feedback);
                s.SetPaused(paused);
                fakes->foreground.program = u"NOTEPAD.EXE";
                fakes->foreground.asked = 0;

                const GestureOutcome out = s.OnGestureEvent(kThreeFingerClick);
                ASSERT_TRUE(out.ran);
                ASSERT_EQ(fakes->actions.ran.size(), 1u);
                const std::uint8_t expected = paused ? DefaultActionTable[kSlot] : overrides ? 2 : 64;
                EXPECT_EQ(out.record.actionCode(), expected);
                EXPECT_EQ(fakes->actions.ran[0].actionCode(), expected);
                EXPECT_EQ(out.profile, !paused && overrides ? s.profiles().Find(u"notepad.exe") : nullptr);
                const std::string_view key = FunctionNameKey(expected);
                ASSERT_NE(key, "tc_function_other");
                EXPECT_EQ(out.feedback, feedback ? u"<" + std::u16string(key.begin(), key.end()) + u">" : u"");
                EXPECT_EQ(fakes->foreground.asked, paused ? 0 : 1) << "the program in front is asked only when it can decide";
            }
}

TEST_F(Session, BehindTheLockScreenNothingStartsOrPlaysButClicksStillRun) {
    session.StoreRecord(kSlot, OpenRecord(u"C:\\Windows\\notepad.exe"));
    FunctionRecord macro = MakeRecord(20);
    session.StoreRecord(12, macro);
    session.SetLocked(true);
    GestureOutcome out = session.OnGestureEvent(kThreeFingerClick);
    EXPECT_FALSE(out.ran);
    EXPECT_TRUE(out.heldByLock);
    EXPECT_FALSE(session.OnGestureEvent(0x8008).ran);  // slot 12, the macro
    EXPECT_TRUE(session.OnGestureEvent(0x8002).ran) << "a right click runs";
    EXPECT_EQ(fakes->actions.ran.size(), 1u);
    session.SetLocked(false);
    EXPECT_TRUE(session.OnGestureEvent(kThreeFingerClick).ran);
}

TEST_F(Session, OnlyCodesThatSelectASlotAskForTheProgramInFront) {
    ASSERT_EQ(session.AddProfile(u"notepad.exe"), AddProfileResult::Added);
    session.SetFeedback(true);
    EXPECT_FALSE(session.OnGestureEvent(0x12345678).ran);
    EXPECT_EQ(fakes->foreground.asked, 0);
    // Ctrl, then a wheel notch within 10 ms: a zoom step that shows no label.
    EXPECT_FALSE(session.OnGestureEvent(kEventLeftCtrl).ran);
    fakes->clock.now += 5;
    const GestureOutcome zoom = session.OnGestureEvent(kEventWheelUp);
    ASSERT_TRUE(zoom.ran);
    EXPECT_EQ(zoom.record.actionCode(), 35);
    EXPECT_EQ(zoom.profile, nullptr);
    EXPECT_EQ(zoom.feedback, u"");
    EXPECT_EQ(fakes->foreground.asked, 0);
}

TEST_F(Session, TheDeviceIsToldTheUnionWhilePlayingAndNothingWhilePaused) {
    session.ChooseFunction(12, 3);  // All programs: slot 12
    ASSERT_EQ(session.AddProfile(u"notepad.exe"), AddProfileResult::Added);
    session.ChooseFunction(kSlot, 2);  // the profile: slot 11
    ASSERT_TRUE(session.SendDeviceSettings());
    session.SetPaused(true);
    session.SetPaused(true);  // no change, nothing sent
    session.SetPaused(false);
    EXPECT_EQ(device.log, (Lines{"report 1800", "report 0", "report 1800"}));
    session.HandDeviceBack();
    EXPECT_EQ(device.log, (Lines{"report 1800", "report 0", "report 1800", "report 0", "hand back"}));
    EXPECT_EQ(session.settings().allPrograms.records[12].actionCode(), DefaultActionTable[12]);
}

TEST_F(Session, EditsGoToTheProfileOnScreen) {
    session.ChooseFunction(3, 64);
    EXPECT_EQ(session.ShownRecord(3).actionCode(), 64);
    EXPECT_EQ(session.AddProfile(u"Notepad.exe"), AddProfileResult::Added);
    EXPECT_EQ(session.AddProfile(u"NOTEPAD.EXE"), AddProfileResult::Exists);
    EXPECT_EQ(session.AddProfile(u"a/b.exe"), AddProfileResult::BadName);
    ASSERT_NE(session.ShownProfile(), nullptr);
    EXPECT_EQ(session.ShownProfile()->program, u"Notepad.exe");
    EXPECT_EQ(session.ShownRecord(3).actionCode(), 64) << "a new profile starts as All programs";

    FunctionRecord chord = MakeRecord(19);
    chord.setProgramPath(u"kept");
    session.StoreRecord(5, chord);
    session.ChooseFunction(3, 65);
    const Profile& p = *session.ShownProfile();
    EXPECT_EQ(p.overrides, SlotBit(3) | SlotBit(5));
    EXPECT_EQ(session.ShownRecord(5).programPath(), u"kept");
    EXPECT_EQ(session.settings().allPrograms.records[3].actionCode(), 64) << "All programs keeps its own";
    EXPECT_EQ(session.settings().allPrograms.records[5].actionCode(), DefaultActionTable[5]);

    session.FollowAllPrograms(3);
    EXPECT_EQ(session.ShownRecord(3).actionCode(), 64);
    session.ShowProfile(u"");
    EXPECT_EQ(session.ShownProfile(), nullptr);
    session.ChooseFunction(-1, 1);
    session.ChooseFunction(kSlotCount, 1);  // out of range: nothing
    session.ShowProfile(u"notepad.EXE");
    session.RemoveShownProfile();
    EXPECT_EQ(session.ShownProfile(), nullptr);
    EXPECT_TRUE(session.profiles().empty());
}

TEST_F(Session, ApplySendsThenSavesAndARefusalChangesNothing) {
    session.ChooseFunction(kSlot, 2);
    session.macroNames().setName(0, u"First");
    const auto stored = registry.keys;
    device.refuse = true;
    EXPECT_EQ(session.Apply(), CommitResult::DeviceRefused);
    EXPECT_EQ(registry.keys, stored);
    EXPECT_EQ(session.ShownRecord(kSlot).actionCode(), 2) << "the choice stays on screen";

    device.refuse = false;
    device.log.clear();
    EXPECT_EQ(session.Apply(), CommitResult::Done);
    EXPECT_EQ(device.log, (Lines{"report 800"}));
    auto reloaded = std::make_unique<test::SessionFakes>();
    reloaded->registry = registry;
    reloaded->session.Load();
    EXPECT_TRUE(SameSettings(reloaded->session.settings(), session.settings()));
}

// A session with every kind of setting stored and changed in memory since.
class SessionFailures : public Session {
protected:
    void SetUp() override {
        auto stored = std::make_unique<test::SessionFakes>();
        GestureSession& s = stored->session;
        s.Load();
        s.ChooseFunction(1, 3);
        s.AddProfile(u"kept.exe");
        s.ChooseFunction(4, 64);
        s.AddProfile(u"removed.exe");
        s.macroNames().setName(7, u"Seven");
        s.SetFeedback(true);
        ASSERT_EQ(s.Apply(), CommitResult::Done);
        registry = stored->registry;

        session.Load();
        ASSERT_TRUE(session.SendDeviceSettings());
        ChangeSinceTheSave(session);
    }
    // A profile removed, one changed, one added; All programs, a macro and a name changed.
    static void ChangeSinceTheSave(GestureSession& s) {
        s.ShowProfile(u"removed.exe");
        s.RemoveShownProfile();
        s.ShowProfile(u"kept.exe");
        s.ChooseFunction(6, 65);
        s.ShowProfile(u"");
        s.ChooseFunction(2, 2);
        s.macros().bytes[40] = 0x55;
        s.macroNames().setName(8, u"Eight");
        ASSERT_EQ(s.AddProfile(u"added.exe"), AddProfileResult::Added);
        s.ChooseFunction(9, 1);
    }
    // Runs `commit` with the Nth write failing, for every N of a commit that goes through.
    void EveryWriteFails(const std::function<CommitResult(GestureSession&)>& commit, int atLeast) {
        auto counted = std::make_unique<test::SessionFakes>();
        counted->registry = registry;
        counted->session.Load();
        copyMemoryTo(*counted);
        counted->registry.writes = 0;
        ASSERT_EQ(commit(counted->session), CommitResult::Done);
        const int writes = counted->registry.writes;
        ASSERT_GE(writes, atLeast);
        ASSERT_NE(counted->registry.keys, registry.keys) << "the commit changes the registry";

        const auto stored = registry.keys;
        const auto before = std::make_unique<Settings>(session.settings());
        const Lines told = device.log;
        for (int n = 1; n <= writes; ++n) {
            SCOPED_TRACE(testing::Message() << "write " << n << " of " << writes);
            registry.writes = 0;
            registry.failAtWrite = n;
            device.log.clear();
            EXPECT_EQ(commit(session), CommitResult::SaveFailed);
            EXPECT_EQ(registry.keys, stored);
            EXPECT_TRUE(SameSettings(session.settings(), *before));
            // The device was left alone, or is told once more what it was told before.
            if (!device.log.empty()) {
                EXPECT_EQ(device.log.back(), told.back());
            }
            EXPECT_EQ(registry.openHandles(), 0);
        }
        registry.failAtWrite = 0;
    }
    // Makes `other`'s session hold the same settings in memory as this one's.
    void copyMemoryTo(test::SessionFakes& other) {
        other.registry = registry;
        other.session.Load();
        ChangeSinceTheSave(other.session);
        ASSERT_TRUE(SameSettings(other.session.settings(), session.settings()));
    }
};

TEST_F(SessionFailures, ApplyFailingAtAnyWriteLeavesMemoryRegistryAndDeviceAsTheyWere) {
    EveryWriteFails([](GestureSession& s) { return s.Apply(); }, 8);
    // Once the registry takes the writes again, the same apply goes through.
    EXPECT_EQ(session.Apply(), CommitResult::Done);
}

TEST_F(SessionFailures, RestoreDefaultsFailingAtAnyWriteChangesNothing) {
    EveryWriteFails([](GestureSession& s) { return s.RestoreDefaults(true); }, 5);
    EXPECT_TRUE(registry.log.empty() || registry.log.back().rfind("speed", 0) != 0) << "the pointer is left alone";
}

TEST_F(SessionFailures, ImportFailingAtAnyWriteChangesNothing) {
    // A file of other settings: All programs changed, a profile of its own, the feedback off.
    auto other = std::make_unique<test::SessionFakes>();
    GestureSession& o = other->session;
    o.Load();
    o.ChooseFunction(kSlot, 1);
    o.AddProfile(u"file.exe");
    o.ChooseFunction(3, 5);
    o.macroNames().setName(1, u"From the file");
    ASSERT_EQ(o.Apply(), CommitResult::Done);
    const Bytes file = ExportSettings(other->registry);
    const BackupCheck check = CheckBackupFile(file.data(), file.size());
    ASSERT_TRUE(check.ok());
    EveryWriteFails([&](GestureSession& s) { return s.Import(check.backup).commit; }, 8);

    const ImportResult imported = session.Import(check.backup);
    ASSERT_TRUE(imported.ok());
    EXPECT_EQ(session.settings().allPrograms.records[kSlot].actionCode(), 1);
    EXPECT_EQ(session.macroNames().name(1), u"From the file");
    EXPECT_EQ(session.macroNames().name(8), u"") << "the file's names replace the names";
    ASSERT_EQ(session.profiles().all().size(), 1u) << "the file replaces the profiles";
    EXPECT_NE(session.profiles().Find(u"file.exe"), nullptr);
}

TEST_F(SessionFailures, ARefusedImportOrApplyLeavesEverythingAsItWas) {
    const auto stored = registry.keys;
    const auto before = std::make_unique<Settings>(session.settings());
    device.refuse = true;
    SettingsBackup backup;
    backup.replacesProfiles = true;
    EXPECT_EQ(session.Import(backup).commit, CommitResult::DeviceRefused);
    EXPECT_EQ(session.Apply(), CommitResult::DeviceRefused);
    EXPECT_EQ(registry.keys, stored);
    EXPECT_TRUE(SameSettings(session.settings(), *before));
}

TEST_F(Session, ImportReadsTheFileThroughItsSeamAndRefusesWhatItCannotRead) {
    const auto stored = registry.keys;
    EXPECT_EQ(session.ReadImport(u"C:\\missing.reg").check.problem, BackupProblem::FileUnreadable);
    fakes->files.files[u"C:\\big.reg"] = Bytes(kRegFileMaxBytes + 1, 0);
    EXPECT_EQ(session.ReadImport(u"C:\\big.reg").check.problem, BackupProblem::TooLarge);
    fakes->files.files[u"C:\\text.reg"] = Bytes{'h', 'i'};
    EXPECT_EQ(session.ReadImport(u"C:\\text.reg").check.problem, BackupProblem::Encoding);
    EXPECT_EQ(registry.keys, stored);
    EXPECT_TRUE(device.log.empty());

    // An exported file comes back in.
    session.ChooseFunction(kSlot, 2);
    ASSERT_EQ(session.Apply(), CommitResult::Done);
    const ExportResult exported = session.ExportFile(u"C:\\backup.reg");
    ASSERT_TRUE(exported.written);
    EXPECT_TRUE(exported.leftOut.empty());
    session.ChooseFunction(kSlot, 1);
    const ImportPlan plan = session.ReadImport(u"C:\\backup.reg");
    ASSERT_TRUE(plan.check.ok());
    EXPECT_TRUE(plan.opens.empty());
    EXPECT_TRUE(session.Import(plan.check.backup).ok());
    EXPECT_EQ(session.ShownRecord(kSlot).actionCode(), 2);

    // A failed export says so and leaves the file that was there.
    fakes->files.failWrites = true;
    const Bytes kept = fakes->files.files[u"C:\\backup.reg"];
    EXPECT_FALSE(session.ExportFile(u"C:\\backup.reg").written);
    EXPECT_EQ(fakes->files.files[u"C:\\backup.reg"], kept);
}

TEST_F(Session, RestoreDefaultsKeepsMacrosClearsParametersAndResetsThePointer) {
    ButtonSettingBlob stored{};
    for (std::size_t i = 0; i < ButtonSettingBlob::kSize; ++i) BlobBytes(stored)[i] = static_cast<std::uint8_t>(i * 7);
    putRecords(stored);
    const Bytes macros(MacroStore::kSize, 0x5A);
    registry.put(kMacroSetting.root, kMacroSetting.key, kMacroSetting.name, kRegBinary, macros);
    registry.put(kWheelScrollLines.root, kWheelScrollLines.key, kWheelScrollLines.name, kRegSz,
                 {'4', 0, '2', 0, 'x', 0, 0, 0});
    session.Load();
    ASSERT_EQ(session.AddProfile(u"kept.exe"), AddProfileResult::Added);
    ASSERT_EQ(session.Apply(), CommitResult::Done);
    registry.log.clear();
    device.log.clear();

    EXPECT_EQ(session.RestoreDefaults(false), CommitResult::Done);
    Bytes expected(ButtonSettingBlob::kSize, 0);
    for (int n = 0; n < kSlotCount; ++n) expected[16 + 526 * n + 1] = DefaultActionTable[n];
    EXPECT_EQ(registry.get(kButtonSetting.root, kButtonSetting.key, kButtonSetting.name)->data, expected)
        << "wheel lines and the mark reach the registry only with the next save";
    EXPECT_EQ(registry.get(kMacroSetting.root, kMacroSetting.key, kMacroSetting.name)->data, macros);
    const ButtonSettingBlob& now = session.settings().allPrograms;
    EXPECT_EQ(readLe32(now.wheelLines.data()), 42u);
    EXPECT_EQ(readLe32(now.restoreMark.data()), 3u);
    for (int n = 0; n < kSlotCount; ++n) {
        EXPECT_EQ(now.records[n].actionCode(), DefaultActionTable[n]);
        EXPECT_EQ(now.records[n].programPath(), u"");
        EXPECT_EQ(now.records[n].chordKey1(), 0);
    }
    EXPECT_EQ(session.profiles().all().size(), 1u) << "kept when the user says so";
    EXPECT_EQ(device.log, (Lines{"report 0"}));
    ASSERT_GE(registry.log.size(), 2u);
    EXPECT_EQ(Lines(registry.log.end() - 2, registry.log.end()), (Lines{"speed 10", "mouse 6 10 1"}));

    EXPECT_EQ(session.RestoreDefaults(true), CommitResult::Done);
    EXPECT_TRUE(session.profiles().empty());
    EXPECT_TRUE(SettingsStore(registry).LoadProfiles().empty());
}

TEST_F(Session, TheFeedbackChoiceIsStoredAndAFailedWriteSaysSo) {
    EXPECT_FALSE(session.feedback());
    EXPECT_TRUE(session.SetFeedback(true));
    auto reloaded = std::make_unique<test::SessionFakes>();
    reloaded->registry = registry;
    reloaded->session.Load();
    EXPECT_TRUE(reloaded->session.feedback());
    registry.failWrites = true;
    EXPECT_FALSE(session.SetFeedback(false));
    EXPECT_FALSE(session.feedback()) << "it holds for the run all the same";
}

// What the program reads at start: only a REG_DWORD of 1 turns the feedback on.
TEST_F(Session, TheFeedbackChoiceIsReadAtStartAndABadValueMeansOff) {
    struct Stored {
        std::uint32_t type;
        Bytes data;
        bool on;
    };
    for (const Stored& v : {Stored{kRegDword, {1, 0, 0, 0}, true}, Stored{kRegDword, {7, 0, 0, 0}, false},
                            Stored{kRegBinary, {1, 0, 0, 0}, false}, Stored{kRegSz, {'1', 0, 0, 0}, false}}) {
        SCOPED_TRACE(testing::Message() << v.type << " " << int(v.data[0]));
        registry.put(kGestureFeedback.root, kGestureFeedback.key, kGestureFeedback.name, v.type, v.data);
        session.Load();
        EXPECT_EQ(session.feedback(), v.on);
        EXPECT_EQ(session.OnGestureEvent(kThreeFingerClick).feedback.empty(), !v.on);
    }
}

TEST_F(Session, AStoredRecordThatFailsTheCheckDoesNothingAndIsNamedOnce) {
    StoreRecordOf(*fakes, OpenRecord(u"javascript:alert(1)"));
    session.Load();
    const GestureOutcome first = session.OnGestureEvent(kThreeFingerClick);
    EXPECT_FALSE(first.ran);
    EXPECT_TRUE(first.refused);
    EXPECT_EQ(first.feedback, u"<tc_record_refused>");
    EXPECT_TRUE(fakes->actions.ran.empty());
    const GestureOutcome second = session.OnGestureEvent(kThreeFingerClick);
    EXPECT_TRUE(second.refused);
    EXPECT_EQ(second.feedback, u"") << "named once";
    EXPECT_TRUE(fakes->actions.ran.empty());
    // Another gesture still runs.
    EXPECT_TRUE(session.OnGestureEvent(0x8002).ran);
}

TEST_F(Session, AnImportIsCheckedRecordByRecordAndSaysWhatItWouldOpen) {
    const auto exportWith = [&](const FunctionRecord& record) {
        auto other = std::make_unique<test::SessionFakes>();
        StoreRecordOf(*other, record);
        fakes->files.files[u"C:\\file.reg"] = ExportSettings(other->registry);
    };
    exportWith(OpenRecord(u"file:///C:/Windows/System32/cmd.exe"));
    ImportPlan plan = session.ReadImport(u"C:\\file.reg");
    EXPECT_EQ(plan.check.problem, BackupProblem::UnsafeRecord);
    EXPECT_EQ(plan.check.name, u"file:///C:/Windows/System32/cmd.exe");

    exportWith(OpenRecord(u"C:\\Windows\\notepad.exe"));
    plan = session.ReadImport(u"C:\\file.reg");
    ASSERT_TRUE(plan.check.ok());
    EXPECT_EQ(plan.opens, (std::vector<std::u16string>{u"C:\\Windows\\notepad.exe"}));
    EXPECT_TRUE(device.log.empty()) << "reading changes nothing";
}

}  // namespace
}  // namespace mv
