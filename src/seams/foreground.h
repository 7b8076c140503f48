// The program in front: the executable file name of the process that owns the foreground
// window, for the per-program profiles.
#pragma once

#include <string>

namespace mv {

class ForegroundSeam {
public:
    virtual ~ForegroundSeam() = default;
    // Empty when there is no foreground window or it cannot be asked.
    virtual const std::u16string& currentProgram() = 0;
};

}  // namespace mv
