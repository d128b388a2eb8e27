#include "core/config_file.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <span>
#include <vector>

#include "core/atomic_file.h"
#include "core/formats.h"
#include "core/product.h"
#include "core/settings_table.h"
#include "core/text.h"

namespace tarvik {
namespace {

// Versions of the file format that changed a stored meaning.
constexpr int kCfgMaskGotExtension = 11;
constexpr int kCfgRawLoadAsShifted = 14;
constexpr int kRawLoadAsShift = 2;
constexpr std::string_view kExtToken = "%ext%";
constexpr mode_t kFolderMode = 0700;

std::string WithSlash(std::string folder) {
    if (!EndsWith(folder, "/")) {
        folder += "/";
    }
    return folder;
}

std::string UserConfigBase() {
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the base-dir rules say.
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/') {
        return xdg;
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') {
        const passwd* pw = getpwuid(getuid());
        home = pw != nullptr ? pw->pw_dir : nullptr;
    }
    return home != nullptr ? WithSlash(home) + ".config" : std::string();
}

void MakeFolder(const std::string& folder) {
    struct stat st {};
    if (stat(folder.c_str(), &st) != 0) {
        mkdir(folder.c_str(), kFolderMode);
    }
}

const std::vector<std::string>& FormatsOfGroup(std::string_view group) {
    return group == "Input" ? InputFormats : OutputFormats;
}

void AppendLine(std::string& out, std::string_view line) {
    out.append(line);
    out.append(kIniLineEnd);
}

void AppendKey(std::string& out, const SettingRow& row, const SettingsRecord& s) {
    const std::string value =
        (row.traits & kWriteDefault) != 0 ? DefaultText(row, false) : FieldText(row, s);
    AppendLine(out, std::string(row.key) + " = " + value);
}

// The rows of one group, from first to one past the last.
std::span<const SettingRow> GroupAt(std::span<const SettingRow> rows, std::size_t first) {
    std::size_t last = first;
    while (last < rows.size() && rows[last].group == rows[first].group) {
        ++last;
    }
    return rows.subspan(first, last - first);
}

// Per-format keys in the order of the format list, each format's keys in
// table order; formats not listed are left out.
void AppendFormatKeys(std::string& out, std::span<const SettingRow> group,
                      const SettingsRecord& s) {
    for (const std::string& format : FormatsOfGroup(group.front().group)) {
        for (const SettingRow& row : group) {
            if (!row.format.empty() && EqualsNoCase(row.format, format)) {
                AppendKey(out, row, s);
            }
        }
    }
}

void AppendGroup(std::string& out, std::span<const SettingRow> group, const SettingsRecord& s) {
    AppendLine(out, "[" + std::string(group.front().group) + "]");
    bool formatsWritten = false;
    for (const SettingRow& row : group) {
        if (!row.format.empty()) {
            if (!formatsWritten) {
                AppendFormatKeys(out, group, s);
                formatsWritten = true;
            }
            continue;
        }
        if ((row.traits & kWindowGeometry) != 0 && s.General.SaveWindowPosition != 1) {
            continue;
        }
        AppendKey(out, row, s);
    }
    AppendLine(out, "; ");
}

std::string MissingKeyDefault(const SettingRow& row) {
    return row.readDef.empty() ? DefaultText(row, false) : std::string(row.readDef);
}

void ReadRow(const SettingRow& row, const IniText& ini, SettingsRecord& s) {
    const std::string* value = FindIniValue(ini, row.group, row.key);
    if (value == nullptr) {
        SetFieldText(row.field, s, MissingKeyDefault(row));
        return;
    }
    const bool trim = IsTextField(row.field) && (row.traits & kKeepBlanks) == 0;
    SetFieldText(row.field, s, trim ? std::string(Trim(*value)) : *value);
}

void Upgrade(SettingsRecord& s) {
    if (s.General.Cfg < kCfgMaskGotExtension &&
        FindNoCase(s.Advanced.FilenameMask, kExtToken) == std::string::npos) {
        s.Advanced.FilenameMask += ".";
        s.Advanced.FilenameMask += kExtToken;
    }
    if (s.General.Cfg < kCfgRawLoadAsShifted && s.Input.RawLoadAs != 0) {
        s.Input.RawLoadAs += kRawLoadAsShift;
    }
}

}  // namespace

std::string ConfigFolder(std::string_view brand, std::string_view shortName) {
    const std::string base = UserConfigBase();
    if (!base.empty()) {
        MakeFolder(base);
    }
    std::string folder = WithSlash(base) + std::string(brand);
    MakeFolder(folder);
    folder = WithSlash(folder) + std::string(shortName);
    MakeFolder(folder);
    return WithSlash(folder);
}

std::string ConfigFilePath() {
    return ConfigFolder(BrandWord(), ProgramShortName) + std::string(kConfigFileName);
}

std::string SettingsFileText(const SettingsRecord& s) {
    std::string out(kUtf8Bom);
    out.append(kIniLineEnd);
    const std::span<const SettingRow> rows = SettingRows();
    for (std::size_t first = 0; first < rows.size();) {
        const std::span<const SettingRow> group = GroupAt(rows, first);
        AppendGroup(out, group, s);
        first += group.size();
    }
    return out;
}

void ReadSettingsFrom(const IniText& ini, SettingsRecord& s) {
    for (const SettingRow& row : SettingRows()) {
        ReadRow(row, ini, s);
    }
    Upgrade(s);
}

void LoadSettings() {
    IniText ini;
    if (!ReadIniFile(Settings.ConfigFilePath, ini)) {
        ResetSettings(false);  // keeps ConfigFilePath
        Upgrade(Settings);
        return;
    }
    ReadSettingsFrom(ini, Settings);
}

bool SaveSettings() {
    if (Settings.ConfigFilePath.empty()) {
        return false;
    }
    const std::string text = SettingsFileText(Settings);
    return WriteFileAtomically(
        Settings.ConfigFilePath,
        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

}  // namespace tarvik
