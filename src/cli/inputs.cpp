#include "cli/inputs.h"

#include <glob.h>
#include <sys/stat.h>
#include <unistd.h>

#include <set>

#include "core/catalog.h"
#include "core/files.h"
#include "core/job.h"
#include "core/path_detail.h"
#include "core/text.h"

namespace tarvik {

std::vector<std::string> ExtraInputWords;

namespace {

bool HasWildcard(const std::string& word) {
    return word.find_first_of("*?[") != std::string::npos;
}

std::string Absolute(const std::string& path) {
    if (StartsWith(path, "/")) {
        return path;
    }
    char buf[4096];
    if (getcwd(buf, sizeof buf) == nullptr) {
        return path;
    }
    std::string base(buf);
    if (!EndsWith(base, "/")) {
        base += "/";
    }
    return base + (StartsWith(path, "./") ? path.substr(2) : path);
}

// What a pattern matches, and which of the matches are existing non-empty
// files (in name order).
struct PatternMatches {
    std::size_t all = 0;
    std::vector<std::string> files;
};

PatternMatches Matches(const std::string& pattern) {
    PatternMatches out;
    glob_t g{};
    if (glob(pattern.c_str(), 0, nullptr, &g) == 0) {
        out.all = g.gl_pathc;
        for (std::size_t i = 0; i < g.gl_pathc; ++i) {
            if (IsNonEmptyFile(g.gl_pathv[i])) {
                out.files.emplace_back(g.gl_pathv[i]);
            }
        }
    }
    globfree(&g);
    return out;
}

std::string NoExtensionCause() {
    return FillPlaceholdersOnce(CatalogText("Msg", "Path without extension"),
                                AcceptedExtensionsText());
}

// Why a word that names no file of its own gives no input. A folder is
// answered with the pattern that takes its photos.
std::string WordCause(const std::string& word, const std::string& path) {
    if (IsFolder(path)) {
        const std::string pattern =
            word + (EndsWith(word, "/") ? "*." : "/*.") + AcceptedInputExtensions.front();
        return FillPlaceholdersOnce(CatalogText("Msg", "Path is a folder, give a pattern"),
                                    pattern);
    }
    const std::string cause = FileCause(path);
    return cause.empty() ? NoExtensionCause() : cause;
}

// Adds the files the word names; the detail line when it names none.
std::string ResolveWord(const std::string& word, std::vector<std::string>& files) {
    const std::string path = Absolute(word);
    const bool hasExtension = !PathExtension(word).empty();
    // A name that exists as written is a file, even when it holds "[" or "?".
    if (hasExtension && IsNonEmptyFile(path)) {
        files.push_back(path);
        return {};
    }
    if (FileIdOf(path) || !HasWildcard(word)) {
        return PathDetailLine(word, WordCause(word, path));
    }
    if (!hasExtension) {
        return PathDetailLine(QuotedPattern(word), NoExtensionCause());
    }
    const PatternMatches found = Matches(path);
    files.insert(files.end(), found.files.begin(), found.files.end());
    if (!found.files.empty()) {
        return {};
    }
    const char* cause = found.all == 0 ? "Pattern matches nothing" : "Pattern matches no photo";
    return PathDetailLine(QuotedPattern(word), CatalogText("Msg", cause));
}

}  // namespace

std::string FolderPart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string PathExtension(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot == 0 || path[dot - 1] == '/' || path[dot - 1] == '\\') {
        return {};
    }
    std::string ext = path.substr(dot + 1);
    if (ext.find_first_of(" /\\") != std::string::npos) {
        return {};
    }
    return ext.substr(0, ext.find('"'));
}

std::string ResolveInputs(std::vector<std::string>& files) {
    files.clear();
    if (std::string detail = ResolveWord(Job.InputPath, files); !detail.empty()) {
        return detail;
    }
    for (const std::string& word : ExtraInputWords) {
        if (std::string detail = ResolveWord(word, files); !detail.empty()) {
            return detail;
        }
    }
    return {};
}

int AddInputs(const std::vector<std::string>& files) {
    int added = 0;
    std::set<std::string> listed;
    for (const auto& [path, entry] : InputList) {
        listed.insert(NormalPath(path));
    }
    for (const std::string& file : files) {
        const std::string ext = LowerAscii(PathExtension(file));
        if (ext == "txt" || ext == "lst" || !IsAcceptedExtension(ext) ||
            !listed.insert(NormalPath(file)).second) {
            continue;
        }
        InputList[file] = InputEntry{1, ""};
        ++added;
    }
    return added;
}

}  // namespace tarvik
