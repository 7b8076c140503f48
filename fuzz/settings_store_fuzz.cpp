// The settings read by a gesture session from arbitrary ButtonSetting, MacroSetting and
// WheelScrollLines values of a fake registry, decoded, applied and restored.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <memory>

#include "fuzz_check.h"
#include "settings/settings_store.h"
#include "device/device_commands.h"
#include "support/fake_registry.h"
#include "support/fake_session.h"

using namespace mv;

namespace {

// Value bytes: as given, or stretched (by repetition) to just below, at or just above the image size.
std::vector<std::uint8_t> takeValue(FuzzedDataProvider& in, std::size_t imageSize) {
    const int shape = in.ConsumeIntegralInRange(0, 3);
    std::vector<std::uint8_t> v = in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange<std::size_t>(0, 1024));
    if (shape == 0 || v.empty()) return v;
    const std::size_t target = imageSize + static_cast<std::size_t>(shape) - 2;
    const std::size_t given = v.size();
    v.resize(target);
    for (std::size_t i = given; i < target; ++i) v[i] = v[i % given];
    return v;
}

void checkLoaded(const std::uint8_t* image, const std::uint8_t* before, std::size_t size, bool present,
                 const std::vector<std::uint8_t>& value) {
    if (!present || value.size() > size) {
        FUZZ_CHECK(std::memcmp(image, before, size) == 0);
        return;
    }
    FUZZ_CHECK(value.empty() || std::memcmp(image, value.data(), value.size()) == 0);
    FUZZ_CHECK(std::memcmp(image + value.size(), before + value.size(), size - value.size()) == 0);
}

// What the rest of the program reads from the images.
void decode(const ButtonSettingBlob& blob, const MacroStore& macros) {
    for (const FunctionRecord& r : blob.records) {
        const std::u16string path = r.programPath();
        FUZZ_CHECK(path.size() <= FunctionRecord::kPathUnits && path.find(u'\0') == std::u16string::npos);
        (void)r.actionCode();
        FUZZ_CHECK(r.macroIndex() <= 0xFF);
    }
    const std::uint32_t flags = ModeFlagsFor(blob.records);
    FUZZ_CHECK((flags & ~0x19Eu) == 0 && (flags & kModeBase) == kModeBase);
    for (std::size_t m = 0; m < MacroStore::kEntryCount; ++m) {
        const MacroEntry entry = ReadMacroEntry(macros, m);
        const std::size_t steps = entry.playableSteps();
        FUZZ_CHECK(steps <= MacroStore::kMaxSteps);
        std::uint64_t total = 0;
        for (std::size_t i = 0; i < steps; ++i) total += entry.step(i).delayMs;
        (void)total;
        (void)entry.repeatCount();
        (void)entry.repeatFlag();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    auto fakes = std::make_unique<test::SessionFakes>();
    test::FakeRegistry& registry = fakes->registry;
    GestureSession& session = fakes->session;
    const bool buttonPresent = in.ConsumeBool(), macroPresent = in.ConsumeBool(), wheelPresent = in.ConsumeBool();
    const std::uint32_t buttonType = in.ConsumeBool() ? kRegBinary : in.ConsumeIntegral<std::uint8_t>();
    const std::uint32_t wheelType = in.ConsumeBool() ? kRegSz : in.ConsumeIntegral<std::uint8_t>();
    const bool sendOk = in.ConsumeBool();
    const auto button = takeValue(in, ButtonSettingBlob::kSize);
    const auto macro = takeValue(in, MacroStore::kSize);
    auto wheel = in.ConsumeRemainingBytes<std::uint8_t>();
    if (buttonPresent) registry.put(kButtonSetting.root, kButtonSetting.key, kButtonSetting.name, buttonType, button);
    if (macroPresent) registry.put(kMacroSetting.root, kMacroSetting.key, kMacroSetting.name, kRegBinary, macro);
    if (wheelPresent) registry.put(kWheelScrollLines.root, kWheelScrollLines.key, kWheelScrollLines.name, wheelType, wheel);

    // Start-up: defaults first, then the stored values over them.
    auto before = std::make_unique<Settings>();
    ResetRecordsToDefaults(before->allPrograms.records);
    session.Load();
    const Settings& now = session.settings();
    FUZZ_CHECK(registry.openHandles() == 0);
    checkLoaded(BlobBytes(now.allPrograms), BlobBytes(before->allPrograms), ButtonSettingBlob::kSize, buttonPresent, button);
    checkLoaded(now.macros.bytes.data(), before->macros.bytes.data(), MacroStore::kSize, macroPresent, macro);
    decode(now.allPrograms, now.macros);

    // Apply: saved in full when the device took the settings, untouched otherwise.
    const auto loaded = std::make_unique<Settings>(now);
    const auto stored = registry.keys;
    fakes->device.refuse = !sendOk;
    const CommitResult applied = session.Apply();
    FUZZ_CHECK(applied == (sendOk ? CommitResult::Done : CommitResult::DeviceRefused));
    FUZZ_CHECK(std::memcmp(BlobBytes(now.allPrograms), BlobBytes(loaded->allPrograms), ButtonSettingBlob::kSize) == 0);
    if (sendOk) {
        const RegistryValue* b = registry.get(kButtonSetting.root, kButtonSetting.key, kButtonSetting.name);
        const RegistryValue* m = registry.get(kMacroSetting.root, kMacroSetting.key, kMacroSetting.name);
        FUZZ_CHECK(b && b->type == kRegBinary && b->data.size() == ButtonSettingBlob::kSize);
        FUZZ_CHECK(m && m->data.size() == MacroStore::kSize);
        FUZZ_CHECK(std::memcmp(b->data.data(), BlobBytes(now.allPrograms), ButtonSettingBlob::kSize) == 0);
        // Loading what was saved changes nothing.
        session.Load();
        FUZZ_CHECK(std::memcmp(BlobBytes(now.allPrograms), BlobBytes(loaded->allPrograms), ButtonSettingBlob::kSize) == 0);
        FUZZ_CHECK(now.macros.bytes == loaded->macros.bytes);
    } else {
        FUZZ_CHECK(registry.keys == stored);
    }

    // Restore defaults: the wheel-lines value read from the desktop key.
    FUZZ_CHECK(session.RestoreDefaults(false) == CommitResult::Done);
    std::int32_t lines = 0;
    if (wheelPresent && wheelType == kRegSz && wheel.size() <= 520) lines = LeadingDecimal(wheel);
    FUZZ_CHECK(readLe32(now.allPrograms.wheelLines.data()) == static_cast<std::uint32_t>(lines));
    FUZZ_CHECK(lines >= 0);
    FUZZ_CHECK(readLe32(now.allPrograms.restoreMark.data()) == 3);
    for (int s = 0; s < kSlotCount; ++s) FUZZ_CHECK(now.allPrograms.records[s].actionCode() == DefaultActionTable[s]);
    FUZZ_CHECK(now.macros.bytes == loaded->macros.bytes);
    FUZZ_CHECK(registry.openHandles() == 0);
    return 0;
}
