// Test helpers that need no image library: fresh folders, files, and
// running a program with its output captured.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tarvik::test {

// A new empty folder under the build's test-output folder, ending in "/".
std::string MakeTempFolder(const std::string& name);

// The folder where tests leave pictures for a person to look at.
std::string TestOutputFolder();

bool WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);
// Names in a folder (no "." and ".."), sorted.
std::vector<std::string> ListFolder(const std::string& folder);

struct RunResult {
    int exitCode = -1;  // -1 when killed by a signal or timed out
    int signal = 0;
    bool timedOut = false;
    std::string out;
    std::string err;
};

// Runs a program with arguments in a folder, capturing both streams, with
// stdin closed. Kills it after timeoutSeconds.
RunResult RunProgram(const std::vector<std::string>& argv, const std::string& cwd = {},
                     int timeoutSeconds = 60);

// Polls every millisecond until the condition holds; false after a
// generous deadline.
bool WaitUntil(const std::function<bool()>& condition);

// The lines of a text, split at LF.
std::vector<std::string> Lines(const std::string& text);

}  // namespace tarvik::test
