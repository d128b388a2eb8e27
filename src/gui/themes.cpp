#include "gui/themes.h"

#include <archive.h>
#include <archive_entry.h>

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QString>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <system_error>
#include <utility>
#include <vector>

#include "core/job.h"
#include "core/program_files.h"
#include "core/settings.h"

namespace tarvik {

ImageSet ButtonImages;
ImageSet MenuIcons;
ImageSet ToolbarIcons;
QImage AboutBanner;
std::map<std::string, std::string> ThemeNames;

namespace {

namespace fs = std::filesystem;

constexpr std::array<int, 5> kIconPixelSizes = {16, 24, 32, 48, 64};
constexpr std::string_view kThemeCfgMember = "theme.cfg";
constexpr char kThemesFolderVariable[] = "TARVIK_THEMES_DIR";
constexpr std::size_t kArchiveBlockBytes = 16384;

struct ArchiveFree {
    void operator()(archive* handle) const { archive_read_free(handle); }
};
using ArchiveHandle = std::unique_ptr<archive, ArchiveFree>;

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return LowerAscii(c); });
    return lower;
}

// Position of needle in text at or after from, ignoring letter case.
std::size_t FindNoCase(std::string_view text, std::string_view needle, std::size_t from) {
    if (from > text.size()) {
        return std::string_view::npos;
    }
    const auto same = [](char a, char b) { return LowerAscii(a) == LowerAscii(b); };
    const auto it = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(),
                                needle.begin(), needle.end(), same);
    return it == text.end() && !needle.empty() ? std::string_view::npos
                                               : static_cast<std::size_t>(it - text.begin());
}

void TrimChar(std::string_view& text, char c) {
    while (!text.empty() && text.front() == c) {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == c) {
        text.remove_suffix(1);
    }
}

std::string ArchivePath(const std::string& identifier) {
    return ThemesFolder() + identifier + ".zip";
}

// An archive is read only when it is a regular file of a size above 0 and
// within the limit.
bool ArchiveWithinLimits(const std::string& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) {
        return false;
    }
    const std::uintmax_t size = fs::file_size(path, error);
    return !error && size > 0 && size <= kMaxThemeArchiveBytes;
}

// Read through the central directory only: an archive cut short (no
// directory) is refused whole, and every member's size is declared up front.
ArchiveHandle OpenZip(const std::string& path) {
    if (!ArchiveWithinLimits(path)) {
        return {};
    }
    ArchiveHandle handle(archive_read_new());
    if (!handle || archive_read_support_format_zip_seekable(handle.get()) != ARCHIVE_OK ||
        archive_read_open_filename(handle.get(), path.c_str(), kArchiveBlockBytes) != ARCHIVE_OK) {
        return {};
    }
    return handle;
}

// The next member's header, or null at the end or on a damaged archive.
archive_entry* NextMember(archive* handle) {
    archive_entry* entry = nullptr;
    const int result = archive_read_next_header(handle, &entry);
    return (result == ARCHIVE_OK || result == ARCHIVE_WARN) ? entry : nullptr;
}

std::string MemberName(archive_entry* entry) {
    const char* name = archive_entry_pathname(entry);
    return name != nullptr ? std::string(name) : std::string();
}

// Unpacks the current member whole; nothing when its declared or actual
// size is above limit or above what is left of budget, or it cannot be read.
// What was unpacked counts against the budget either way.
std::optional<std::string> ReadMember(archive* handle, archive_entry* entry, std::uint64_t limit,
                                      std::uint64_t& budget) {
    const std::uint64_t cap = std::min(limit, budget);
    if (archive_entry_size_is_set(entry) != 0 && std::cmp_greater(archive_entry_size(entry), cap)) {
        return std::nullopt;
    }
    std::string data;
    std::array<char, kArchiveBlockBytes> block{};
    bool whole = false;
    for (;;) {
        const la_ssize_t count = archive_read_data(handle, block.data(), block.size());
        if (count <= 0 || std::cmp_greater(data.size() + static_cast<std::size_t>(count), cap)) {
            whole = count == 0;
            break;
        }
        data.append(block.data(), static_cast<std::size_t>(count));
    }
    budget -= data.size();
    return whole ? std::optional<std::string>(std::move(data)) : std::nullopt;
}

// Up to limit bytes of the current member, stopping quietly at the limit.
std::string ReadMemberStart(archive* handle, std::size_t limit) {
    std::string data(limit, '\0');
    std::size_t filled = 0;
    while (filled < limit) {
        const la_ssize_t count = archive_read_data(handle, data.data() + filled, limit - filled);
        if (count < 0) {
            return {};
        }
        if (count == 0) {
            break;
        }
        filled += static_cast<std::size_t>(count);
    }
    data.resize(filled);
    return data;
}

struct ThemeIndex {
    std::set<std::string, std::less<>> members;  // members whose size is above 0
    std::string cfg;
};

std::optional<ThemeIndex> ReadThemeIndex(const std::string& path, std::uint64_t& budget) {
    ArchiveHandle handle = OpenZip(path);
    if (!handle) {
        return std::nullopt;
    }
    ThemeIndex index;
    bool cfgSeen = false;
    for (int count = 0; count < kMaxThemeMembers; ++count) {
        archive_entry* entry = NextMember(handle.get());
        if (entry == nullptr) {
            break;
        }
        const bool sizeKnown = archive_entry_size_is_set(entry) != 0;
        if (sizeKnown && archive_entry_size(entry) <= 0) {
            continue;
        }
        std::string name = MemberName(entry);
        if (name == kThemeCfgMember && !cfgSeen) {
            cfgSeen = true;
            index.cfg = ReadMember(handle.get(), entry, kMaxThemeCfgBytes, budget).value_or("");
        }
        index.members.insert(std::move(name));
    }
    return index;
}

// Unpacks the wanted members in one pass over the archive.
std::map<std::string, std::string, std::less<>> ReadMembers(
    const std::string& path, const std::set<std::string, std::less<>>& wanted,
    std::uint64_t& budget) {
    std::map<std::string, std::string, std::less<>> data;
    ArchiveHandle handle = OpenZip(path);
    for (int count = 0; handle && count < kMaxThemeMembers && data.size() < wanted.size();
         ++count) {
        archive_entry* entry = NextMember(handle.get());
        if (entry == nullptr) {
            break;
        }
        std::string name = MemberName(entry);
        if (wanted.contains(name) && !data.contains(name)) {
            if (auto bytes = ReadMember(handle.get(), entry, kMaxThemePngBytes, budget)) {
                data.emplace(std::move(name), std::move(*bytes));
            }
        }
    }
    return data;
}

QImage DecodePng(const std::string& bytes) {
    QByteArray array = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&array);
    if (!buffer.open(QIODevice::ReadOnly)) {
        return {};
    }
    QImageReader reader(&buffer, "PNG");
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kMaxThemePictureSide ||
        size.height() > kMaxThemePictureSide) {
        return {};
    }
    QImage image;
    return reader.read(&image) ? image : QImage();
}

// The member that names one picture: a value without ".png" is a base name
// completed with the size.
std::string PictureMember(std::string_view cfg, std::string_view group, std::string_view name,
                          std::string_view sizeText) {
    std::string member = ReadThemeValue(cfg, group, name);
    if (LowerAscii(member).find(".png") == std::string::npos) {
        member += "_";
        member += sizeText;
        member += ".png";
    }
    return member;
}

struct PictureRequest {
    ImageSet* set;
    std::string name;
    std::string member;
};

template <std::size_t N>
void AddRequests(std::vector<PictureRequest>& requests, ImageSet& set,
                 const std::array<std::string_view, N>& names, std::string_view cfg,
                 std::string_view group, std::string_view sizeText) {
    for (const std::string_view name : names) {
        requests.push_back({&set, std::string(name), PictureMember(cfg, group, name, sizeText)});
    }
}

template <std::size_t N>
void LoadBuiltInSet(ImageSet& set, const std::array<std::string_view, N>& names,
                    const QString& folder) {
    for (const std::string_view name : names) {
        const QString file =
            folder + QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())) + ".png";
        set[std::string(name)] = QImage(file, "PNG");
    }
}

}  // namespace

int IconPixelSize(int sizeIndex) {
    if (sizeIndex < 0 || std::cmp_greater_equal(sizeIndex, kIconPixelSizes.size())) {
        return kIconPixelSizes.front();
    }
    return kIconPixelSizes[static_cast<std::size_t>(sizeIndex)];
}

void LoadBuiltInImages() {
    LoadBuiltInSet(ButtonImages, kButtonNames, QStringLiteral(":/tarvik/buttons/"));
    LoadBuiltInSet(MenuIcons, kIconNames, QStringLiteral(":/tarvik/icons/"));
    LoadBuiltInSet(ToolbarIcons, kIconNames, QStringLiteral(":/tarvik/icons/"));
    AboutBanner = QImage(QStringLiteral(":/tarvik/banner/About.png"), "PNG");
}

std::string ThemesFolder() {
    if (const char* redirect = std::getenv(kThemesFolderVariable);
        redirect != nullptr && *redirect != '\0') {
        std::string folder(redirect);
        return folder.back() == '/' ? folder : folder + "/";
    }
    return ThemesFolderOf(ExecutableFolder());
}

// Themes are read in name order, so the last one read is the last in the list.
void ScanThemes() {
    ThemeNames.clear();
    std::vector<std::string> identifiers;
    std::error_code error;
    for (fs::directory_iterator it(ThemesFolder(), error), end; !error && it != end;
         it.increment(error)) {
        const fs::path& path = it->path();
        std::error_code typeError;
        if (path.extension() == ".zip" && !path.stem().empty() && it->is_regular_file(typeError)) {
            identifiers.push_back(path.stem().string());
        }
    }
    std::sort(identifiers.begin(), identifiers.end());
    for (const std::string& identifier : identifiers) {
        ThemeNames[identifier] = ReadThemeName(identifier);
    }
}

std::string ReadThemeName(const std::string& identifier) {
    ArchiveHandle handle = OpenZip(ArchivePath(identifier));
    if (!handle) {
        return {};
    }
    for (int count = 0; count < kMaxThemeMembers; ++count) {
        archive_entry* entry = NextMember(handle.get());
        if (entry == nullptr) {
            break;
        }
        if (MemberName(entry) == kThemeCfgMember) {
            const std::string buffer = ReadMemberStart(handle.get(), kThemeNameBufferBytes);
            return ReadThemeValue(std::string_view(buffer.c_str()), "Theme", "Name");
        }
    }
    return {};
}

std::string ReadThemeValue(std::string_view text, std::string_view group, std::string_view key) {
    const std::string groupLine = "[" + std::string(group) + "]";
    const std::size_t start = FindNoCase(text, groupLine, 0);
    if (start == std::string_view::npos) {
        return {};
    }
    std::size_t end = text.find('[', start + 1);
    if (end == std::string_view::npos) {
        end = text.size();
    }
    // The key must begin a line, so it is sought after a line break: a key
    // on the first line of the text is never found.
    const std::size_t p = FindNoCase(text, "\r\n" + std::string(key), start);
    if (p == std::string_view::npos || p <= start || p >= end) {
        return {};
    }
    const std::size_t q = text.find("\r\n", p + 2);
    const std::string_view line =
        q == std::string_view::npos ? std::string_view() : text.substr(p, q - p);
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return {};
    }
    std::string_view value = line.substr(equals + 1);
    value = value.substr(0, value.find('='));
    return TrimValue(value);
}

std::string TrimValue(std::string_view text) {
    for (const char c : {' ', '\t', '\r', '\n'}) {
        TrimChar(text, c);
    }
    return std::string(text);
}

void LoadThemeImages(bool buttons, bool menuIcons, bool toolbarIcons) {
    std::string path = ArchivePath(Settings.Interface.UiTheme);
    std::error_code error;
    if (!fs::exists(path, error) && !ThemeNames.empty()) {
        Settings.Interface.UiTheme = ThemeNames.rbegin()->first;
        path = ArchivePath(Settings.Interface.UiTheme);
    }
    std::uint64_t budget = kMaxThemeLoadBytes;
    const std::optional<ThemeIndex> index = ReadThemeIndex(path, budget);
    if (!index || index->cfg.empty()) {
        return;
    }
    std::vector<PictureRequest> requests;
    const std::string toolbarSize = std::to_string(IconPixelSize(Settings.Interface.UiSize));
    if (buttons) {
        AddRequests(requests, ButtonImages, kButtonNames, index->cfg, "Buttons", "16");
    }
    if (menuIcons) {
        AddRequests(requests, MenuIcons, kIconNames, index->cfg, "Icons", "16");
    }
    if (toolbarIcons) {
        AddRequests(requests, ToolbarIcons, kIconNames, index->cfg, "Icons", toolbarSize);
    }
    std::set<std::string, std::less<>> wanted;
    for (const PictureRequest& request : requests) {
        if (index->members.contains(request.member)) {
            wanted.insert(request.member);
        }
    }
    if (wanted.empty()) {
        return;
    }
    const auto data = ReadMembers(path, wanted, budget);
    std::map<std::string, QImage, std::less<>> decoded;
    for (const auto& [member, bytes] : data) {
        decoded.emplace(member, DecodePng(bytes));
    }
    for (const PictureRequest& request : requests) {
        const auto found = decoded.find(request.member);
        if (found != decoded.end() && !found->second.isNull()) {
            (*request.set)[request.name] = found->second;
        }
    }
}

}  // namespace tarvik
