// Windows code-page seam: MultiByteToWideChar, _wfopen and FormatMessageW.
#include <windows.h>

#include <cstdio>

#include "i18n/codepage.h"

namespace mv {

std::uint32_t systemAnsiCodePage() { return GetACP(); }

bool multiByteToWide(std::uint32_t codePage, const char* bytes, std::size_t count, std::u16string& out) {
    if (count == 0) return true;
    if (count > 0x7FFFFFFF) return false;
    const int length = MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(count), nullptr, 0);
    if (length <= 0) return false;
    const std::size_t base = out.size();
    out.resize(base + length);
    const int written = MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(count),
                                            reinterpret_cast<wchar_t*>(out.data() + base), length);
    out.resize(base + (written > 0 ? written : 0));
    return written > 0;
}

std::FILE* openFileForReading(const std::u16string& path) {
    SetLastError(0);
    std::FILE* file = _wfopen(reinterpret_cast<const wchar_t*>(path.c_str()), L"rb");
    if (!file && GetLastError() == 0) SetLastError(ERROR_FILE_NOT_FOUND);
    return file;
}

std::int64_t openFileSize(std::FILE* file) {
    if (_fseeki64(file, 0, SEEK_END) != 0) return -1;
    const long long size = _ftelli64(file);
    if (size < 0 || _fseeki64(file, 0, SEEK_SET) != 0) return -1;
    return size;
}

std::u16string lastSystemErrorMessage() {
    wchar_t buffer[100] = {};
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                   GetLastError(), 0, buffer, 100, nullptr);
    std::u16string out;
    for (DWORD i = 0; i < n && i < 100 && buffer[i] && buffer[i] != L'\r' && buffer[i] != L'\n'; ++i)
        out.push_back(static_cast<char16_t>(buffer[i]));
    return out;
}

}  // namespace mv
