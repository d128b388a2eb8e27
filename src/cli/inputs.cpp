#include "cli/inputs.h"

#include <glob.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/files.h"
#include "core/job.h"
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

// Existing non-empty files matching the pattern, in name order.
std::vector<std::string> Matches(const std::string& pattern) {
    std::vector<std::string> out;
    glob_t g{};
    if (glob(pattern.c_str(), 0, nullptr, &g) == 0) {
        for (std::size_t i = 0; i < g.gl_pathc; ++i) {
            if (IsNonEmptyFile(g.gl_pathv[i])) {
                out.emplace_back(g.gl_pathv[i]);
            }
        }
    }
    globfree(&g);
    return out;
}

bool ResolveWord(const std::string& word, std::vector<std::string>& files) {
    if (PathExtension(word).empty()) {
        return false;
    }
    const std::string path = Absolute(word);
    // A name that exists as written is a file, even when it holds "[" or "?".
    if (IsNonEmptyFile(path)) {
        files.push_back(path);
        return true;
    }
    if (!HasWildcard(word)) {
        return false;
    }
    const std::vector<std::string> found = Matches(path);
    files.insert(files.end(), found.begin(), found.end());
    return !found.empty();
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

bool ResolveInputs(std::vector<std::string>& files) {
    files.clear();
    if (!ResolveWord(Job.InputPath, files)) {
        return false;
    }
    for (const std::string& word : ExtraInputWords) {
        if (!ResolveWord(word, files)) {
            return false;
        }
    }
    return true;
}

int AddInputs(const std::vector<std::string>& files) {
    int added = 0;
    for (const std::string& file : files) {
        const std::string ext = LowerAscii(PathExtension(file));
        if (ext == "txt" || ext == "lst" || !IsAcceptedExtension(ext) ||
            InputList.count(file) != 0) {
            continue;
        }
        InputList[file] = InputEntry{1, ""};
        ++added;
    }
    return added;
}

}  // namespace tarvik
