#include "ui/backup_messages.h"

#include "base/text_fill.h"
#include "i18n/text_catalogue.h"

namespace mv {

std::string_view BackupProblemKey(BackupProblem problem) {
    switch (problem) {
        case BackupProblem::None: return {};
        case BackupProblem::FileUnreadable: return "tc_import_unreadable";
        case BackupProblem::Encoding: return "tc_import_encoding";
        case BackupProblem::TooLarge: return "tc_import_too_large";
        case BackupProblem::Header: return "tc_import_header";
        case BackupProblem::Syntax: return "tc_import_syntax";
        case BackupProblem::Truncated: return "tc_import_truncated";
        case BackupProblem::BadData: return "tc_import_bad_data";
        case BackupProblem::ForeignKey: return "tc_import_foreign_key";
        case BackupProblem::ForeignValue: return "tc_import_foreign_value";
        case BackupProblem::WrongType: return "tc_import_wrong_type";
        case BackupProblem::WrongSize: return "tc_import_wrong_size";
        case BackupProblem::Duplicate: return "tc_import_duplicate";
        case BackupProblem::BadProgram: return "tc_import_bad_program";
        case BackupProblem::MissingImage: return "tc_import_missing_image";
        case BackupProblem::Nothing: return "tc_import_nothing";
        case BackupProblem::UnsafeRecord: return "tc_import_unsafe";
    }
    return {};
}

std::u16string BackupRefusalText(const BackupCheck& check) {
    const std::u16string name = check.name.empty() ? std::u16string() : u"\"" + check.name + u"\"";
    const std::u16string problem = FillPlaceholders(
        tr(BackupProblemKey(check.problem)), {DecimalText(static_cast<long long>(check.line)), name, DecimalText(static_cast<long long>(check.size)), DecimalText(static_cast<long long>(check.expected))});
    return FillPlaceholders(tr("tc_import_refused"), {problem});
}

std::u16string ImportConfirmText(const std::vector<std::u16string>& opens) {
    std::u16string list = u"\n\n";
    for (const std::u16string& target : opens) list += target + u"\n";
    list += u"\n";
    return FillPlaceholders(tr("tc_import_confirm"), {list});
}

std::u16string ExportMessage(const std::u16string& path, bool written, const std::vector<std::u16string>& leftOut) {
    if (!written) return FillPlaceholders(tr("tc_export_failed"), {path});
    if (leftOut.empty()) return {};
    std::u16string names;
    for (const std::u16string& name : leftOut) names += (names.empty() ? u"" : u", ") + name;
    return FillPlaceholders(tr("tc_export_left_out"), {path, names});
}

}  // namespace mv
