// The texts of the profile and backup commands: placeholders filled in, and the message
// that names the first problem of a refused file.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "gesture/settings_backup.h"

namespace mv {

// Replaces %1 to %9 with the arguments (a missing argument with nothing); "%%" is "%".
std::u16string FillPlaceholders(std::u16string_view text, std::initializer_list<std::u16string_view> args);
// The text key that explains `problem`.
std::string_view BackupProblemKey(BackupProblem problem);
// The whole refusal: tc_import_refused around the explanation of the first problem.
std::u16string BackupRefusalText(const BackupCheck& check);

}  // namespace mv
