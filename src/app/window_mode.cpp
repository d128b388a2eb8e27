#include "app/window_mode.h"

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "core/catalog.h"
#include "core/console.h"
#include "core/job.h"
#include "core/program_files.h"

namespace tarvik {
namespace {

// The window front end, when it is there to run.
std::string FrontEndPath() {
    std::string path = FrontEndPathOf(ExecutableFolder());
    return access(path.c_str(), X_OK) == 0 ? path : std::string();
}

// The process's own arguments exactly as it was started.
std::vector<std::string> OwnArguments() {
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> arguments;
    std::size_t start = 0;
    while (start < all.size()) {
        const std::size_t end = all.find('\0', start);
        arguments.push_back(all.substr(start, end - start));
        start = end == std::string::npos ? all.size() : end + 1;
    }
    return arguments;
}

// Runs the front end in this process's place with the same arguments;
// returns only when that fails.
int HandOver() {
    const std::string path = FrontEndPath();
    if (!path.empty()) {
        std::vector<std::string> arguments = OwnArguments();
        if (arguments.empty()) {
            arguments.emplace_back();
        }
        arguments.front() = path;
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        execv(path.c_str(), argv.data());
    }
    BuildCatalog();
    ConsoleErrorLine(CatalogText("Console", "Window unavailable"));
    return 1;
}

}  // namespace

int EnterWindowMode() {
    return HandOver();
}

int EnterSpecialMode(const std::string&, const std::string&) {
    return HandOver();
}

}  // namespace tarvik
