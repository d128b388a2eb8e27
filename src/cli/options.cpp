#include "cli/options.h"

#include "core/keywords.h"
#include "core/settings.h"
#include "core/text.h"

namespace tarvik {
namespace {

constexpr std::string_view kLongOptionPrefix = "--";

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

const SettingRow* FindOptionRow(std::string_view name) {
    for (const SettingRow& row : SettingRows()) {
        if (!row.option.empty() && EqualsNoCase(row.option, name)) {
            return &row;
        }
    }
    return nullptr;
}

const SettingRow* FindProfileRow(std::string_view key) {
    for (const SettingRow& row : SettingRows()) {
        const std::string_view word = row.profileKey.empty() ? row.option : row.profileKey;
        if (!word.empty() && EqualsNoCase(word, key)) {
            return &row;
        }
    }
    return nullptr;
}

bool IsFlagOption(const SettingRow& row) {
    return row.reader == Reader::Switch;
}

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
        case Reader::Switch:
            SetFieldNumber(row.field, Settings, row.flagValue);
            break;
        case Reader::None:
            break;
    }
}

OptionStatus ApplyConversionOption(std::string_view name, std::string_view value) {
    const SettingRow* row = FindOptionRow(name);
    if (row == nullptr) {
        return OptionStatus::Unknown;
    }
    if (!IsFlagOption(*row) && (value.empty() || StartsWith(value, kLongOptionPrefix))) {
        return OptionStatus::BadValue;
    }
    ApplyOptionValue(*row, value, false);
    return OptionStatus::Applied;
}

}  // namespace tarvik
