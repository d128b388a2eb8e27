#include "cli/options.h"

#include "core/keywords.h"
#include "core/settings.h"
#include "core/text.h"

namespace tarvik {
namespace {

std::string StripQuotes(std::string_view value) {
    std::size_t b = 0;
    std::size_t e = value.size();
    while (b < e && value[b] == '"') {
        ++b;
    }
    while (e > b && value[e - 1] == '"') {
        --e;
    }
    return std::string(value.substr(b, e - b));
}

std::string ProfileText(const SettingRow& row, std::string_view value) {
    if ((row.traits & kUnquoteInProfile) != 0) {
        return StripQuotes(value);
    }
    return std::string(Trim(value));
}

}  // namespace

const SettingRow* FindOptionRow(std::string_view upperName) {
    for (const SettingRow& row : SettingRows()) {
        if (!row.option.empty() && EqualsNoCase(row.option, upperName)) {
            return &row;
        }
    }
    return nullptr;
}

const SettingRow* FindProfileRow(std::string_view upperKey) {
    for (const SettingRow& row : SettingRows()) {
        const std::string_view key = row.profileKey.empty() ? row.option : row.profileKey;
        if (!key.empty() && EqualsNoCase(key, upperKey)) {
            return &row;
        }
    }
    return nullptr;
}

bool IsFlagOption(const SettingRow& row) { return row.reader == Reader::Flag; }

void ApplyOptionValue(const SettingRow& row, std::string_view value, bool fromProfile) {
    if (HasSideEffect(row)) {
        SetFieldNumber(row.sideField, Settings, row.sideValue);
    }
    switch (row.reader) {
        case Reader::Keyword:
            SetFieldNumber(row.field, Settings, KeywordValue(row.keywordTable, value));
            break;
        case Reader::Integer:
            SetFieldNumber(row.field, Settings, ReadOptionInteger(value));
            break;
        case Reader::Float:
            SetFieldNumber(row.field, Settings, ReadFloat(value));
            break;
        case Reader::Text:
            SetFieldText(row.field, Settings,
                         fromProfile ? ProfileText(row, value) : std::string(value));
            break;
        case Reader::Flag:
            SetFieldNumber(row.field, Settings, row.flagValue);
            break;
        case Reader::None:
            break;
    }
}

}  // namespace tarvik
