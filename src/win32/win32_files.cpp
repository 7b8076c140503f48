#include "win32/win32_files.h"

#include <windows.h>

#include <algorithm>

#include "win32/win32_platform.h"

namespace mv {

namespace {
enum class NewFile { Written, Exists, Failed };

// Writes all of `bytes` to a new file at `path`; a file that could not be written whole is removed.
NewFile WriteNewFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_EXISTS ? NewFile::Exists : NewFile::Failed;
    bool ok = true;
    for (std::size_t done = 0; ok && done < bytes.size();) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        ok = WriteFile(h, bytes.data() + done, chunk, &written, nullptr) && written == chunk;
        done += written;
    }
    ok = FlushFileBuffers(h) && ok;
    ok = CloseHandle(h) && ok;
    if (!ok) DeleteFileW(path.c_str());
    return ok ? NewFile::Written : NewFile::Failed;
}
}  // namespace

FileRead Win32Files::readFile(const std::u16string& path, std::size_t maxBytes) {
    FileRead read;
    HANDLE h = CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER size{};
    if (h == INVALID_HANDLE_VALUE || !GetFileSizeEx(h, &size)) {
        read.problem = FileReadProblem::Unreadable;
    } else if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
        read.problem = FileReadProblem::TooLarge;
    } else {
        read.bytes.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD got = 0;
        if (!read.bytes.empty() &&
            (!ReadFile(h, read.bytes.data(), static_cast<DWORD>(read.bytes.size()), &got, nullptr) ||
             got != read.bytes.size())) {
            read.problem = FileReadProblem::Unreadable;
            read.bytes.clear();
        }
    }
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    return read;
}

bool Win32Files::replaceFile(const std::u16string& path, const std::vector<std::uint8_t>& bytes) {
    const std::wstring target = ToWide(path);
    // Beside the target, so that the move is a rename on the same volume.
    std::wstring temporary;
    for (unsigned n = GetTickCount(), tries = 0; tries < 100; ++n, ++tries) {
        temporary = target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(n) + L".tmp";
        const NewFile made = WriteNewFile(temporary, bytes);
        if (made == NewFile::Written) break;
        if (made == NewFile::Failed) return false;
        temporary.clear();
    }
    if (temporary.empty()) return false;
    if (MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    DeleteFileW(temporary.c_str());
    return false;
}

}  // namespace mv
