// Backing up every registry value of ours to a .reg file and reading one back: which keys
// and values belong to us, with their types and sizes, and the check that accepts a file
// only when all of it is ours and sound.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "settings/profiles.h"
#include "settings/reg_file.h"
#include "settings/registry_layout.h"

namespace mv {

inline constexpr char16_t kLocalMachinePrefix[] = u"HKEY_LOCAL_MACHINE\\";

// The view of the registry a file names. This 32-bit program keeps its values, on 64-bit
// Windows, in the 32-bit view, which 64-bit regedit (what a double-click starts) sees below
// Software\WOW6432Node: the file names them there, so that a double-click restores them.
enum class RegistryView { Native, Wow64 };

// The settings a file holds, checked.
struct SettingsBackup {
    struct Value {
        const StoredValue* kind;
        std::vector<std::uint8_t> data;
    };
    std::vector<Value> values;  // in file order, each kind at most once
    ProfileSet profiles;
    bool replacesProfiles = false;  // the file removes the stored profiles first
    const Value* find(const StoredValue& kind) const;
};

enum class BackupProblem {
    None,
    FileUnreadable,  // the file cannot be opened or read (set by the caller)
    Encoding,
    TooLarge,
    Header,
    Syntax,
    Truncated,
    BadData,
    ForeignKey,     // name = the key
    ForeignValue,   // name = the value
    WrongType,      // name = the value
    WrongSize,      // name, size, expected (the nearest allowed size)
    Duplicate,      // name = the value or key
    BadProgram,     // name = the profile's program name
    MissingImage,   // name = the profile's program name
    Nothing,        // none of our values
    UnsafeRecord,   // name = what a record of the file would open or play (checked by the session)
};

struct BackupCheck {
    BackupProblem problem = BackupProblem::None;
    std::size_t line = 0;
    std::u16string name;
    std::size_t size = 0;
    std::size_t expected = 0;
    SettingsBackup backup;
    bool ok() const { return problem == BackupProblem::None; }
};

// The file of the values stored now: each value of kBackupValues that exists, then the
// removal of the profiles key and every profile (so that importing it, by this program or
// by regedit, leaves exactly the profiles of the file).
// `leftOut`, when given, receives the names of stored values of the wrong type or size,
// which are not written.
std::vector<std::uint8_t> ExportSettings(RegistrySeam& registry, std::vector<std::u16string>* leftOut = nullptr,
                                        RegistryView view = RegistryView::Native);
// Reads and checks a file; the first problem decides and nothing of the file is kept then.
// Keys may be named in either view.
BackupCheck CheckBackupFile(const std::uint8_t* data, std::size_t size);
}  // namespace mv
