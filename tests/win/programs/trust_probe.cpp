// What the program's trust boundary does, run in a process of its own (so that it can sit
// in another folder, or in a Wine virtual desktop):
//
//   trust_probe.exe load OUT_FILE          the search limited as at start, then oleacc.dll
//                                          loaded as the scroll action loads it: its path
//   trust_probe.exe launch OUT_FILE TARGET the launcher's whole course for TARGET
//   trust_probe.exe shell OUT_FILE TARGET  TARGET through the desktop's shell alone, once the
//                                          shell answers (a virtual desktop's comes up late)
//
// OUT_FILE gets one line: "path=...", "route=N started=0|1 elevated=0|1 linked=0|1" or
// "reached=HRESULT launched=HRESULT".
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <string>

#include "win32/user_launcher.h"
#include "win32/win32_platform.h"

namespace {

void Write(const wchar_t* file, const std::wstring& line) {
    FILE* out = _wfopen(file, L"w");
    if (!out) return;
    std::fputws(line.c_str(), out);
    std::fputws(L"\n", out);
    std::fclose(out);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 3 && std::wstring(argv[1]) == L"load") {
        mv::RestrictDllSearch();
        mv::Win32System system;
        const mv::ModuleHandle module = system.loadLibrary(u"oleacc.dll");
        wchar_t path[MAX_PATH] = L"";
        if (module) GetModuleFileNameW(reinterpret_cast<HMODULE>(module), path, MAX_PATH);
        Write(argv[2], std::wstring(L"path=") + path);
        return module ? 0 : 1;
    }
    if (argc >= 4 && std::wstring(argv[1]) == L"launch") {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        const mv::LaunchAbilities abilities = mv::ReadLaunchAbilities();
        const mv::LaunchReport report = mv::LaunchForUser(mv::FromWide(argv[3]));
        Write(argv[2], L"route=" + std::to_wstring(static_cast<int>(report.route)) +
                           L" started=" + std::to_wstring(report.started ? 1 : 0) +
                           L" elevated=" + std::to_wstring(abilities.elevated ? 1 : 0) +
                           L" linked=" + std::to_wstring(abilities.linkedToken ? 1 : 0));
        CoUninitialize();
        return 0;
    }
    if (argc >= 4 && std::wstring(argv[1]) == L"shell") {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        HRESULT reached = E_FAIL;
        for (int i = 0; i < 20 && FAILED(reached = mv::ReachDesktopShell()); ++i) Sleep(500);
        const HRESULT launched = SUCCEEDED(reached) ? mv::LaunchThroughDesktopShell(mv::FromWide(argv[3])) : reached;
        wchar_t line[64];
        std::swprintf(line, 64, L"reached=%08lx launched=%08lx", static_cast<unsigned long>(reached),
                      static_cast<unsigned long>(launched));
        Write(argv[2], line);
        CoUninitialize();
        return 0;
    }
    std::fputws(L"usage: trust_probe load OUT | launch OUT TARGET | shell OUT TARGET\n", stderr);
    return 2;
}
