#include "core/console.h"

#include <cstdio>
#include <mutex>

namespace tarvik {
namespace {

// The worker prints from its own thread; lines must not interleave.
std::mutex g_consoleLock;

void WriteLine(std::FILE* stream, std::string_view line) {
    const std::lock_guard<std::mutex> guard(g_consoleLock);
    std::fwrite(line.data(), 1, line.size(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

}  // namespace

void ConsoleLine(std::string_view line) {
    WriteLine(stdout, line);
}
void ConsoleErrorLine(std::string_view line) {
    WriteLine(stderr, line);
}

}  // namespace tarvik
