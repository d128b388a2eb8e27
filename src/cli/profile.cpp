#include "cli/profile.h"

#include "cli/options.h"
#include "core/ini_text.h"

namespace tarvik {

bool LoadProfile(const std::string& path) {
    IniText ini;
    if (!ReadIniFile(path, ini)) {
        return false;
    }
    for (const IniEntry* entry : IniGroupEntries(ini, kProfileGroup)) {
        if (const SettingRow* row = FindProfileRow(entry->Key); row != nullptr) {
            ApplyOptionValue(*row, entry->Value, true);
        }
    }
    return true;
}

}  // namespace tarvik
