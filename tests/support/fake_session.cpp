#include "support/fake_session.h"

#include <algorithm>

#include "support/fake_platform.h"

namespace mv::test {

std::u16string SessionFakes::KeyText(std::string_view key) {
    std::u16string text(key.size() + 2, u'<');
    std::copy(key.begin(), key.end(), text.begin() + 1);
    text.back() = u'>';
    return text;
}

bool FakeDevice::sendReportedSlots(std::uint32_t reported) {
    log.push_back("report " + Hex(reported));
    return !refuse;
}

bool FakeDevice::handBack() {
    log.push_back("hand back");
    return !refuse;
}

FileRead FakeFiles::readFile(const std::u16string& path, std::size_t maxBytes) {
    FileRead read;
    const auto f = files.find(path);
    if (f == files.end()) read.problem = FileReadProblem::Unreadable;
    else if (f->second.size() > maxBytes) read.problem = FileReadProblem::TooLarge;
    else read.bytes = f->second;
    return read;
}

bool FakeFiles::replaceFile(const std::u16string& path, const std::vector<std::uint8_t>& bytes) {
    if (failWrites) return false;
    files[path] = bytes;
    return true;
}

}  // namespace mv::test
