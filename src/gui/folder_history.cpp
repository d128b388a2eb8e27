#include "gui/folder_history.h"

#include <sys/stat.h>
#include <zlib.h>

#include <QString>

#include <utility>
#include <vector>

#include "cli/inputs.h"
#include "core/catalog.h"
#include "core/formats.h"
#include "core/job.h"
#include "core/settings.h"
#include "core/text.h"

namespace tarvik {
namespace {

constexpr char kHistorySeparator = '\t';
constexpr char kFilterSeparator = '|';

// Two history entries name the same folder when their upper-cased texts
// have the same CRC-32.
std::uint32_t FolderKey(const std::string& folder) {
    const QByteArray upper = QString::fromStdString(folder).toUpper().toUtf8();
    return static_cast<std::uint32_t>(crc32(0L, reinterpret_cast<const Bytef*>(upper.constData()),
                                            static_cast<uInt>(upper.size())));
}

int HistoryLength() {
    return Settings.Advanced.OutFoldersNumber;
}

// The extension of the file name (after its last dot), lower-cased.
std::string NameExtension(const std::string& path) {
    const std::string name = path.substr(path.rfind('/') + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : LowerAscii(name.substr(dot + 1));
}

bool IsEmptyFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size == 0;
}

// "*.jpg;*.jpeg" -> "*.jpg *.jpeg"; "*.*" matches every name here.
QString DialogPatterns(const std::string& patterns) {
    QString result = QString::fromStdString(patterns).replace(';', ' ');
    return result == "*.*" ? QStringLiteral("*") : result;
}

}  // namespace

std::string RelativeFolder(const std::string& path, const std::string& base) {
    if (path.empty() || base.empty()) {
        return {};
    }
    std::string folder = FolderPart(path);
    if (folder.find(base) == std::string::npos) {
        return {};
    }
    for (std::size_t at = folder.find(base); at != std::string::npos; at = folder.find(base, at)) {
        folder.erase(at, base.size());
    }
    return folder;
}

std::string RecentOutputFolder(int i) {
    const std::string& history = Settings.File.RecentOutFolders;
    std::size_t start = 0;
    for (int field = 0; field < i; ++field) {
        start = history.find(kHistorySeparator, start);
        if (start == std::string::npos) {
            return {};
        }
        ++start;
    }
    const std::size_t end = history.find(kHistorySeparator, start);
    return std::string(Trim(std::string_view(history).substr(
        start, end == std::string::npos ? std::string::npos : end - start)));
}

int RememberOutputFolder(const std::string& folder) {
    if (folder.empty()) {
        return 0;
    }
    const int limit = HistoryLength();
    const std::uint32_t key = FolderKey(folder);
    std::string history = folder;
    int count = 1;
    for (int i = 0; i < limit; ++i) {
        const std::string entry = RecentOutputFolder(i);
        if (!entry.empty() && count <= limit - 1 && FolderKey(entry) != key) {
            history += kHistorySeparator;
            history += entry;
            ++count;
        }
    }
    Settings.File.RecentOutFolders = history;
    return 1;
}

bool IsAcceptedInputFile(const std::string& path) {
    return !IsEmptyFile(path) && IsAcceptedExtension(NameExtension(path));
}

std::string InputFileFilter() {
    std::string all;
    std::vector<std::pair<std::string, std::string>> byDescription;
    for (const std::string& extension : AcceptedInputExtensions) {
        const FormatRecord* format = InputFormatRecord(extension);
        const std::string description = format != nullptr ? std::string(format->Description) : "";
        const std::string pattern = "*." + extension;
        all += pattern + ";";
        auto it = byDescription.begin();
        while (it != byDescription.end() && it->first != description) {
            ++it;
        }
        if (it == byDescription.end()) {
            byDescription.emplace_back(description, pattern);
        } else {
            it->second = pattern + ";" + it->second;  // the later extension comes first
        }
    }
    if (!all.empty()) {
        all.pop_back();
    }
    std::string filter = CatalogText("Dialog", "All Supported Files") + kFilterSeparator + all;
    for (const auto& [description, patterns] : byDescription) {
        filter += kFilterSeparator + description + kFilterSeparator + patterns;
    }
    filter +=
        kFilterSeparator + CatalogText("Dialog", "All Files") + " (*.*)" + kFilterSeparator + "*.*";
    return filter;
}

QStringList DialogFilters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(kFilterSeparator);
    QStringList choices;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i];
        if (const qsizetype open = name.indexOf(QStringLiteral(" (")); open >= 0) {
            name.truncate(open);
        }
        choices << name + " (" + DialogPatterns(parts[i + 1].toStdString()) + ")";
    }
    return choices;
}

}  // namespace tarvik
