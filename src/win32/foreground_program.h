// The program behind the foreground window (for per-program profiles) and the programs
// that have windows open (to add a profile for one).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace mv {

class ForegroundProgram {
public:
    ~ForegroundProgram();
    // The executable file name of the process that owns the foreground window; empty when
    // there is none or it cannot be asked. The name of the last process is kept while it
    // stays in front and alive, so a gesture costs one window query and one wait test.
    const std::u16string& Current();

private:
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
