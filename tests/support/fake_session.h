// Recording stand-ins for the seams of a gesture session, and a session over them.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "gesture/gesture_session.h"
#include "support/fake_registry.h"

namespace mv::test {

// "report 0x...." for each settings request, "hand back"; a refused device says no to both.
class FakeDevice : public DeviceSettingsSeam {
public:
    std::vector<std::string> log;
    bool refuse = false;
    bool sendReportedSlots(std::uint32_t reported) override;
    bool handBack() override;
};

class FakeForeground : public ForegroundSeam {
public:
    std::u16string program;
    int asked = 0;
    const std::u16string& currentProgram() override {
        ++asked;
        return program;
    }
};

class FakeFiles : public FileSeam {
public:
    std::map<std::u16string, std::vector<std::uint8_t>> files;
    bool failWrites = false;
    FileRead readFile(const std::u16string& path, std::size_t maxBytes) override;
    bool replaceFile(const std::u16string& path, const std::vector<std::uint8_t>& bytes) override;
};

class FakeClock : public TickClock {
public:
    std::uint32_t now = 1000;
    std::uint32_t tickCount() override { return now; }
};

// Keeps the records it was asked to run.
class RecordingActions : public ActionRunner {
public:
    std::vector<FunctionRecord> ran;
    void run(const FunctionRecord& record, const MacroStore&) override { ran.push_back(record); }
};

// A session whose texts are their keys in angle brackets.
struct SessionFakes {
    FakeRegistry registry;
    FakeDevice device;
    FakeForeground foreground;
    FakeFiles files;
    FakeClock clock;
    RecordingActions actions;
    GestureSession session{SessionSeams{registry, registry, device, foreground, files, clock, actions}, KeyText};

    static std::u16string KeyText(std::string_view key);
};

}  // namespace mv::test
