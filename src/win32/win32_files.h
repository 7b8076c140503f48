// The file seam on Win32.
#pragma once

#include "seams/files.h"

namespace mv {

class Win32Files final : public FileSeam {
public:
    FileRead readFile(const std::u16string& path, std::size_t maxBytes) override;
    bool replaceFile(const std::u16string& path, const std::vector<std::uint8_t>& bytes) override;
};

}  // namespace mv
