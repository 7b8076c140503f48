// The program behind the foreground window (for per-program profiles) and the programs
// that have windows open (to add a profile for one).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "seams/foreground.h"

namespace mv {

class ForegroundProgram final : public ForegroundSeam {
public:
    ~ForegroundProgram();
    // The executable file name of the process that owns the foreground window; empty when
    // there is none or it cannot be asked. While the same window stays in front a gesture
    // costs one query; another window of the same running process costs two more.
    const std::u16string& currentProgram() override;

private:
    HWND window_ = nullptr;
    DWORD processId_ = 0;
    HANDLE process_ = nullptr;
    std::u16string name_;
};

// The full executable path of a process, or empty.
std::u16string ProcessImagePath(HANDLE process);
// The executable file names of the processes with visible top-level windows (other than
// `except`), sorted without regard to case, each once.
std::vector<std::u16string> ProgramsWithWindows(DWORD except);

}  // namespace mv
