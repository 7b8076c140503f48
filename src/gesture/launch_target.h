// What a gesture opens with code 25: a program, document or folder path, or a web
// page address, checked before it goes into the record's 260-unit path field.
#pragma once

#include <cstddef>
#include <string>

#include "settings/function_record.h"

namespace mv {

// The longest path the record holds: 260 units with the terminator.
inline constexpr std::size_t kMaxLaunchUnits = FunctionRecord::kPathUnits - 1;

enum class LaunchTargetError {
    None,
    Empty,        // nothing but blanks
    TooLong,      // more than kMaxLaunchUnits units
    BadCharacter, // a control character (a path or address never holds one)
    NotAnAddress, // a web address with no host
    NotAllowed,   // an address of a scheme other than http:, https: and mailto:
};

struct LaunchTargetCheck {
    LaunchTargetError error = LaunchTargetError::None;
    std::u16string target;  // what would be stored
    std::size_t units = 0;  // its length, for the message
};

// A typed or chosen path: surrounding blanks and one pair of surrounding double
// quotes (as Explorer's "Copy as path" gives) are taken off. A path that is an address
// follows the rule of addresses.
LaunchTargetCheck CheckProgramPath(const std::u16string& typed);
// A typed address: surrounding blanks are taken off, and an address without a scheme
// ("www.example.com") gets "http://" in front so that the shell opens it as a page. Only
// web pages and mail addresses are opened: file:, javascript:, search-ms: and every other
// scheme hand the shell more than a page.
LaunchTargetCheck CheckWebAddress(const std::u16string& typed);

// True when the text starts with a URL scheme ("http:", "https:", "mailto:", ...);
// a drive letter ("C:") is not one.
bool IsWebAddress(const std::u16string& target);
// The part after the last backslash or slash (the whole text when there is none, or
// when it ends in one).
std::u16string LaunchFileName(const std::u16string& path);

// Stores `target` in the record's path field with its terminator; false, and the
// record unchanged, when it does not fit.
bool StoreLaunchTarget(FunctionRecord& record, const std::u16string& target);

}  // namespace mv
