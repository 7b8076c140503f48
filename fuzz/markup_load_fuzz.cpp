// MarkupDoc::loadFile and the text catalogue on the bytes of an arbitrary file.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "i18n/codepage.h"
#include "i18n/text_catalogue.h"
#include "markup_invariants.h"

using namespace mv;
using namespace mv::fuzz;

namespace {

std::string& scratchPath() {
    static std::string path = [] {
        // Memory-backed when there is such a folder: every input is written once.
        const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : std::getenv("TMPDIR");
        std::string pattern = std::string(dir && *dir ? dir : "/tmp") + "/mvfuzz-load.XXXXXX";
        const int fd = mkstemp(pattern.data());
        FUZZ_CHECK(fd >= 0);
        close(fd);
        std::atexit([] { std::remove(scratchPath().c_str()); });
        return pattern;
    }();
    return path;
}

std::string narrow(const std::u16string& s) { return utf16ToUtf8(s); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = scratchPath();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    FUZZ_CHECK(f);
    FUZZ_CHECK(std::fwrite(data, 1, size, f) == size);
    FUZZ_CHECK(std::fclose(f) == 0);

    std::u16string wpath;
    appendUtf8AsUtf16(path.data(), path.size(), wpath);
    MarkupDoc doc;
    FUZZ_CHECK(doc.loadFile(wpath));
    checkIndex(doc);
    FUZZ_CHECK(!doc.diagnostics().empty());

    // The load messages count the units after the byte-order mark: 16-bit units after a
    // UTF-16 mark, bytes otherwise.
    std::size_t mark = 0;
    if (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) mark = 3;
    else if (size >= 2 && ((data[0] == 0xFF && data[1] == 0xFE) || (data[0] == 0xFE && data[1] == 0xFF))) mark = 2;
    const std::size_t units = mark == 2 ? (size - mark) / 2 : size - mark;
    const std::string messages = narrow(doc.diagnostics());
    const std::string length = units == 0 ? std::string(" 0 length ") : " length " + std::to_string(units) + " ";
    FUZZ_CHECK(messages.find(length) != std::string::npos);
    if (mark == 2) {
        const bool le = data[0] == 0xFF;
        FUZZ_CHECK(messages.rfind(le ? "UTF-16LE BOM + " : "UTF-16BE BOM + ", 0) == 0);
        FUZZ_CHECK(doc.text().size() <= (size - 2) / 2);
        FUZZ_CHECK(doc.text().find(u'\0') == std::u16string::npos);
    }

    // As the program does: the catalogue from the loaded document.
    TextCatalogue catalogue;
    catalogue.fill(doc);
    for (std::size_t i = 0; i < kTextKeyCount; ++i) FUZZ_CHECK(catalogue.text(i).size() <= doc.text().size());
    return 0;
}
