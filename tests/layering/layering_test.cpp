// The folder rules of the source tree, checked on every source file's
// include lines: core and engine never reach a front end or the window
// toolkit, and core reaches no image or drawing library.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace tarvik {
namespace {

namespace fs = std::filesystem;

struct FolderRule {
    std::string folder;
    std::set<std::string> projectFolders;   // folders it may include from
    std::vector<std::regex> systemHeaders;  // headers it must not include
};

const std::regex kQt("^Q[A-Za-z]");
const std::regex kImage("^(FreeImage\\.h|cairo|pango|fontconfig|ft2build)");

const std::vector<FolderRule>& Rules() {
    static const std::vector<FolderRule> rules = {
        {"core", {"core"}, {kQt, kImage}},
        {"engine", {"core", "engine"}, {kQt}},
        {"net", {"core", "net"}, {kQt, kImage}},
        {"cli", {"core", "engine", "cli"}, {kQt}},
        {"app", {"core", "engine", "cli", "app"}, {kQt}},
        {"gui", {"core", "engine", "cli", "net", "gui"}, {}},
    };
    return rules;
}

struct Include {
    std::string header;
    bool project = false;  // written with quotes: one of the project's own
};

std::vector<Include> IncludesOf(const fs::path& file) {
    static const std::regex line(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::vector<Include> includes;
    std::ifstream in(file);
    for (std::string text; std::getline(in, text);) {
        std::smatch m;
        if (std::regex_search(text, m, line)) {
            includes.push_back({m[2].str(), m[1].str() == "\""});
        }
    }
    return includes;
}

// "Error" lines for every include of the file that its folder's rule
// forbids.
std::vector<std::string> Violations(const FolderRule& rule, const fs::path& file) {
    std::vector<std::string> found;
    for (const Include& inc : IncludesOf(file)) {
        const std::string top = inc.header.substr(0, inc.header.find('/'));
        bool bad = false;
        if (inc.project && inc.header.find('/') != std::string::npos) {
            bad = rule.projectFolders.count(top) == 0;
        }
        for (const std::regex& forbidden : rule.systemHeaders) {
            bad = bad || std::regex_search(inc.header, forbidden);
        }
        if (bad) {
            found.push_back(file.string() + " includes " + inc.header);
        }
    }
    return found;
}

std::vector<std::string> TreeViolations(const fs::path& src) {
    std::vector<std::string> found;
    for (const FolderRule& rule : Rules()) {
        const fs::path folder = src / rule.folder;
        if (!fs::exists(folder)) {
            continue;
        }
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            const std::string ext = entry.path().extension().string();
            if (entry.is_regular_file() && (ext == ".h" || ext == ".cpp")) {
                for (std::string& v : Violations(rule, entry.path())) {
                    found.push_back(std::move(v));
                }
            }
        }
    }
    return found;
}

TEST(Layering, EverySourceFileKeepsItsFoldersRules) {
    const fs::path src = fs::path(TARVIK_SOURCE_DIR) / "src";
    ASSERT_TRUE(fs::exists(src / "core" / "settings.h")) << src;
    const std::vector<std::string> found = TreeViolations(src);
    for (const std::string& v : found) {
        ADD_FAILURE() << v;
    }
}

// The checker itself, on files made for the purpose.
TEST(Layering, ForbiddenIncludesAreFound) {
    const fs::path dir = fs::temp_directory_path() / "tarvik-layering";
    fs::create_directories(dir);
    const struct {
        const char* folder;
        const char* line;
        bool allowed;
    } cases[] = {
        {"core", "#include \"core/text.h\"", true},
        {"core", "#include <string>", true},
        {"core", "#include \"engine/bitmap.h\"", false},
        {"core", "#include <FreeImage.h>", false},
        {"core", "#include <cairo.h>", false},
        {"core", "#include <pango/pango.h>", false},
        {"core", "#include <QString>", false},
        {"engine", "#include <FreeImage.h>", true},
        {"engine", "#include \"core/settings.h\"", true},
        {"engine", "#include <QtCore/QString>", false},
        {"engine", "#include \"cli/run.h\"", false},
        {"engine", "#include \"app/entry.h\"", false},
        {"engine", "#include \"gui/main_window.h\"", false},
        {"engine", "#include \"net/http_client.h\"", false},
        {"gui", "#include <QWidget>", true},
        {"gui", "#include \"app/entry.h\"", false},
    };
    for (const auto& c : cases) {
        const fs::path file = dir / "probe.cpp";
        std::ofstream(file) << c.line << "\n";
        const FolderRule* rule = nullptr;
        for (const FolderRule& r : Rules()) {
            rule = r.folder == c.folder ? &r : rule;
        }
        ASSERT_NE(rule, nullptr);
        EXPECT_EQ(Violations(*rule, file).empty(), c.allowed) << c.folder << ": " << c.line;
    }
    fs::remove_all(dir);
}

}  // namespace
}  // namespace tarvik
