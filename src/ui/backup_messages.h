// The texts of the profile and backup commands: placeholders filled in, and the message
// that names the first problem of a refused file.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "base/text_fill.h"
#include "settings/settings_backup.h"

namespace mv {

// The text key that explains `problem`.
std::string_view BackupProblemKey(BackupProblem problem);
// The whole refusal: tc_import_refused around the explanation of the first problem.
std::u16string BackupRefusalText(const BackupCheck& check);
// The question before an import whose records open programs, files or web pages: one a line.
std::u16string ImportConfirmText(const std::vector<std::u16string>& opens);
// What an export to `path` tells the user: the failure, or the stored values left out;
// empty when all went well.
std::u16string ExportMessage(const std::u16string& path, bool written, const std::vector<std::u16string>& leftOut);

}  // namespace mv
