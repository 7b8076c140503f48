// tray_tips.exe: prints the tooltip texts that the shell's notification area holds, one tool a
// line (UTF-8, a line break inside a tip written as \n), so that a test can read back what the
// real tray shows for an icon. Built for x86_64 like the shell of a 64-bit prefix: the texts are
// read from the tooltip controls through memory lent in their own process.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<HWND> gTips;

BOOL CALLBACK Collect(HWND window, LPARAM) {
    wchar_t cls[64] = {};
    GetClassNameW(window, cls, 64);
    if (lstrcmpiW(cls, TOOLTIPS_CLASSW) == 0) gTips.push_back(window);
    return TRUE;
}

std::string Utf8(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        if (c == L'\n') {
            out += "\\n";
            continue;
        }
        char buffer[8];
        const int n = WideCharToMultiByte(CP_UTF8, 0, &c, 1, buffer, sizeof buffer, nullptr, nullptr);
        out.append(buffer, n > 0 ? n : 0);
    }
    return out;
}

// The texts of `tip`'s tools, or nothing when its process cannot be read.
std::vector<std::wstring> ToolTexts(HWND tip) {
    std::vector<std::wstring> texts;
    DWORD pid = 0;
    GetWindowThreadProcessId(tip, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return texts;
    constexpr SIZE_T kTextUnits = 1024;
    auto* remote = static_cast<char*>(VirtualAllocEx(process, nullptr, sizeof(TTTOOLINFOW) + kTextUnits * 2,
                                                     MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (remote) {
        wchar_t* remoteText = reinterpret_cast<wchar_t*>(remote + sizeof(TTTOOLINFOW));
        const LRESULT count = SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            std::vector<wchar_t> zero(kTextUnits, 0);
            TTTOOLINFOW info{};
            info.cbSize = sizeof info;
            info.lpszText = remoteText;
            SIZE_T done = 0;
            WriteProcessMemory(process, remoteText, zero.data(), kTextUnits * 2, &done);
            WriteProcessMemory(process, remote, &info, sizeof info, &done);
            if (!SendMessageW(tip, TTM_ENUMTOOLSW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote))) continue;
            std::vector<wchar_t> text(kTextUnits, 0);
            ReadProcessMemory(process, remoteText, text.data(), (kTextUnits - 1) * 2, &done);
            texts.emplace_back(text.data());
        }
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return texts;
}

}  // namespace

int wmain() {
    EnumWindows(Collect, 0);
    for (HWND tip : gTips)
        for (const std::wstring& text : ToolTexts(tip))
            if (!text.empty()) std::printf("%s\n", Utf8(text).c_str());
    return 0;
}
