// The settings table: every INI-backed setting bound exactly once, with its
// group and key, field, default, per-format scope, command-line option,
// value reader, keyword table, profile key and switch side effect. The
// defaults, the config file, the option parser, the profile reader and the
// debug printer are all driven by it: adding a setting is adding one row.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "core/settings.h"

namespace tarvik {

using FlagRef = Flag& (*)(SettingsRecord&);
using ByteRef = Byte& (*)(SettingsRecord&);
using IntRef = std::int32_t& (*)(SettingsRecord&);
using FloatRef = float& (*)(SettingsRecord&);
using TextRef = std::string& (*)(SettingsRecord&);
using FieldRef = std::variant<FlagRef, ByteRef, IntRef, FloatRef, TextRef>;

// A field of the record as a typed accessor, usable in a constant table.
#define TARVIK_FIELD(path) \
    ::tarvik::FieldRef(+[](::tarvik::SettingsRecord& s) -> decltype(auto) { return (s.path); })

// How an option (and the same profile key) reads its value.
// Switch: an option without a value that stores the row's flag value.
enum class Reader : std::uint8_t { None, Keyword, Integer, Float, Text, Switch };

// Row traits.
enum SettingTrait : unsigned {
    kKeepBlanks = 1u << 0,        // text kept as read, not trimmed, when loading
    kWindowGeometry = 1u << 1,    // written only when [General] Save Window Position is 1
    kUnquoteInProfile = 1u << 2,  // profile value loses surrounding double quotes, keeps blanks
    kWriteDefault = 1u << 3,      // the config file always gets the built-in default
};

// Defaults that are not constants.
inline constexpr std::string_view kDefaultNow = "@now";
inline constexpr std::string_view kDefaultCentreX = "@centre-x";
inline constexpr std::string_view kDefaultCentreY = "@centre-y";
inline constexpr std::string_view kDefaultFirstInputFormat = "@input-format";
inline constexpr std::string_view kDefaultFirstOutputFormat = "@output-format";

// The values a setting may take where they are bounded: the checks of the
// command line and the controls of the preferences read them from here.
struct ValueRange {
    double low = 0;
    double high = 0;

    bool Bounded() const { return low < high; }
};

struct SettingRow {
    std::string_view group;
    std::string_view key;
    FieldRef field;
    std::string_view def;          // built-in default (stored text form or a @ token)
    std::string_view cliDef = {};  // command-line default where it differs
    std::string_view readDef =
        {};  // default of a key missing from the config file, where it differs
    std::string_view format = {};  // per-format key: written only for a listed format
    std::string_view option = {};  // command-line option word, lower case
    Reader reader = Reader::None;
    int keywordTable = -1;             // for Reader::Keyword and for printing
    int flagValue = 1;                 // the value a flag option stores
    std::string_view profileKey = {};  // profile key where it differs from the option
    FieldRef sideField = FlagRef{};    // switch set before the value is stored
    int sideValue = 0;
    unsigned traits = 0;
    std::string_view debug = {};  // catalog key (group "Debug") of its debug line
    ValueRange range = {};        // bounded values, where there are bounds
};

std::span<const SettingRow> SettingRows();

// The row of [group] key (exact spelling), or null.
const SettingRow* FindSetting(std::string_view group, std::string_view key);

bool HasSideEffect(const SettingRow& row);

// The built-in default of a row in stored text form, with the @ tokens
// resolved (the centred window position excepted: ResetSettings computes it).
std::string DefaultText(const SettingRow& row, bool forCommandLine);

// A field's value in the config file's text form (signed decimal, gamma
// with six decimals, text as it is).
std::string FieldText(const SettingRow& row, const SettingsRecord& s);
std::string FieldText(const FieldRef& field, const SettingsRecord& s);

// Stores a number in any numeric field (truncated to its width) and a text
// in a text field.
void SetFieldNumber(const FieldRef& field, SettingsRecord& s, double value);
void SetFieldText(const FieldRef& field, SettingsRecord& s, const std::string& value);

// The field's value as a number (text fields give 0).
double FieldNumber(const FieldRef& field, const SettingsRecord& s);

// Whether the field's value lies within the row's range (always for an
// unbounded row); a float field is compared in single precision, so NaN
// lies outside every range.
bool InRange(const SettingRow& row, const SettingsRecord& s);

bool IsTextField(const FieldRef& field);
bool IsFloatField(const FieldRef& field);

}  // namespace tarvik
