#include "ui/backup_messages.h"

#include "i18n/text_catalogue.h"

namespace mv {

namespace {
std::u16string Number(std::size_t n) {
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
}
}  // namespace

std::u16string FillPlaceholders(std::u16string_view text, std::initializer_list<std::u16string_view> args) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'%' && i + 1 < text.size()) {
            const char16_t next = text[i + 1];
            if (next == u'%') {
                out.push_back(u'%');
                ++i;
                continue;
            }
            if (next >= u'1' && next <= u'9') {
                const std::size_t index = static_cast<std::size_t>(next - u'1');
                if (index < args.size()) out += *(args.begin() + index);
                ++i;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

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
    }
    return {};
}

std::u16string BackupRefusalText(const BackupCheck& check) {
    const std::u16string name = check.name.empty() ? std::u16string() : u"\"" + check.name + u"\"";
    const std::u16string problem = FillPlaceholders(
        tr(BackupProblemKey(check.problem)), {Number(check.line), name, Number(check.size), Number(check.expected)});
    return FillPlaceholders(tr("tc_import_refused"), {problem});
}

}  // namespace mv
