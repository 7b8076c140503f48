// Whole files read and written at once: the settings backup.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace mv {

enum class FileReadProblem { None, Unreadable, TooLarge };

struct FileRead {
    FileReadProblem problem = FileReadProblem::None;
    std::vector<std::uint8_t> bytes;
};

class FileSeam {
public:
    virtual ~FileSeam() = default;
    // The file's bytes; TooLarge, with nothing read, for a file longer than `maxBytes`.
    virtual FileRead readFile(const std::u16string& path, std::size_t maxBytes) = 0;
    // Writes `bytes` beside the file and puts them in its place only once all are written:
    // a failed write leaves a file that was there as it was.
    virtual bool replaceFile(const std::u16string& path, const std::vector<std::uint8_t>& bytes) = 0;
};

}  // namespace mv
