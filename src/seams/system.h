// Shell launch, modules, COM and the other system services the actions use.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "seams/desktop.h"

namespace mv {

using ModuleHandle = std::uintptr_t;  // an HMODULE as an integer; 0 is null

// What IHTMLWindow2::scrollBy reported for an embedded browser document.
enum class DocumentScroll {
    Unavailable,  // no document, script object or window interface was obtained
    Scrolled,     // scrollBy returned S_OK
    Refused,      // scrollBy returned anything else
};

// Shell launch, workstation lock with its WOW64 steps, module exports.
class SystemSeam {
public:
    virtual ~SystemSeam() = default;
    // Opens a program, file or web page for the user who sits at the desktop, never with our
    // elevation; the launch runs on and reports apart from the caller.
    virtual void shellOpen(const std::u16string& target) = 0;
    // IsWow64Process looked up in the loaded "kernel32"; nullopt when the export is absent.
    virtual std::optional<bool> isWow64Process() = 0;
    virtual ModuleHandle loadLibrary(const std::u16string& name) = 0;
    virtual void freeLibrary(ModuleHandle module) = 0;
    // Looks up Wow64DisableWow64FsRedirection in `module` and calls it; false when the export is absent.
    virtual bool disableFsRedirection(ModuleHandle module, std::uintptr_t& oldValue) = 0;
    // Looks up Wow64RevertWow64FsRedirection in `module` and calls it; false when the export is absent.
    virtual bool revertFsRedirection(ModuleHandle module, std::uintptr_t oldValue) = 0;
    virtual void lockWorkStation() = 0;
    // GetProcAddress with an ANSI name; 0 when absent.
    virtual std::uintptr_t procAddress(ModuleHandle module, const char* name) = 0;
    // Calls an entry point of the form void (*)(HWND).
    virtual void callWindowEntry(std::uintptr_t entry, WindowHandle window) = 0;

    // OutputDebugStringW.
    virtual void debugOutput(const std::u16string& text) = 0;
    // The executable names of a process snapshot (CreateToolhelp32Snapshot,
    // Process32FirstW/NextW); nullopt when the snapshot or its first entry
    // cannot be read.
    virtual std::optional<std::vector<std::u16string>> runningProcessNames() = 0;
    // CoInitialize / CoUninitialize for the calling thread.
    virtual bool comInitialize() = 0;
    virtual void comUninitialize() = 0;
    // RegisterWindowMessageW; 0 on failure.
    virtual std::uint32_t registerWindowMessage(const std::u16string& name) = 0;
    // SendMessageTimeoutW; false when it failed or timed out, else `result` holds the answer.
    virtual bool sendMessageTimeout(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                    std::intptr_t lParam, std::uint32_t flags, std::uint32_t timeoutMs,
                                    std::uintptr_t& result) = 0;
    // With `oleacc` the loaded accessibility module: its ObjectFromLresult(lresult,
    // IID_IHTMLDocument2, 0), then the document's script object as IHTMLWindow2,
    // then scrollBy(dx, dy). Every interface obtained is released.
    virtual DocumentScroll scrollHtmlDocument(ModuleHandle oleacc, std::uintptr_t lresult, std::int32_t dx,
                                              std::int32_t dy) = 0;
};

}  // namespace mv
