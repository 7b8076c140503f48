#include "settings/function_record.h"

#include "base/bytes.h"

namespace mv {

std::u16string FunctionRecord::programPath() const {
    std::u16string path;
    for (std::size_t i = 0; i < kPathUnits; ++i) {
        const char16_t unit = static_cast<char16_t>(readLe16(&bytes[kPathOffset + 2 * i]));
        if (unit == 0) break;
        path.push_back(unit);
    }
    return path;
}

void FunctionRecord::setProgramPath(const std::u16string& path) {
    for (std::size_t i = 0; i < kPathUnits; ++i) {
        const char16_t unit = (i + 1 < kPathUnits && i < path.size()) ? path[i] : u'\0';
        writeLe16(&bytes[kPathOffset + 2 * i], unit);
    }
}

void ResetRecordsToDefaults(FunctionRecordArray& records) {
    for (int n = 0; n < kSlotCount; ++n) records[n].setActionCode(DefaultActionTable[n]);
}

FunctionRecord MakeRecord(std::uint8_t actionCode) {
    FunctionRecord record;
    record.setActionCode(actionCode);
    return record;
}

}  // namespace mv
