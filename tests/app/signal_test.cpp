// A run ended by SIGTERM or SIGINT while it writes leaves neither a
// temporary file nor a partial output behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "support/fixtures.h"

namespace tarvik::test {
namespace {

pid_t StartTarvik(const std::vector<std::string>& args) {
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> argv = {const_cast<char*>(TARVIK_BINARY)};
        for (const std::string& a : args) {
            argv.push_back(const_cast<char*>(a.c_str()));
        }
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

bool HasHiddenFile(const std::string& folder) {
    for (const std::string& name : ListFolder(folder)) {
        if (name.front() == '.') {
            return true;
        }
    }
    return false;
}

TEST(Signals, AnInterruptedSaveLeavesNothingPartial) {
    const std::string dir = MakeTempFolder("signal");
    ASSERT_TRUE(WriteJpeg(dir + "big.jpg", {.width = 6000, .height = 4000, .quality = 60}));
    for (const int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        const std::string out = MakeTempFolder("signal-out");
        const pid_t pid = StartTarvik({"-q", "-i", dir + "big.jpg", "-o", out});
        ASSERT_GT(pid, 0);
        // Wait until the temporary output exists, then interrupt the save.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!HasHiddenFile(out) && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        const bool caughtWhileWriting = HasHiddenFile(out);
        kill(pid, signal);
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(caughtWhileWriting) << "the save ended before it could be interrupted";
        if (caughtWhileWriting && WIFEXITED(status)) {
            EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
        }
        // Either the finished file (the rename won the race) or nothing.
        const std::vector<std::string> left = ListFolder(out);
        EXPECT_TRUE(left.empty() || left == std::vector<std::string>{"big.bmp"})
            << (left.empty() ? "" : left.front());
    }
}

TEST(Signals, AFileSizeLimitFailsTheSaveAndKeepsTheOldOutput) {
    const std::string dir = MakeTempFolder("fsize");
    ASSERT_TRUE(WriteJpeg(dir + "photo.jpg", {.width = 400, .height = 300}));
    ASSERT_TRUE(WriteFile(dir + "photo.bmp", "previous output"));
    // 64 blocks of 512 bytes: far less than the 360 KB the BMP needs.
    const RunResult r = RunProgram(
        {"/bin/sh", "-c", "ulimit -f 64; exec \"$0\" -q -i photo.jpg", TARVIK_BINARY}, dir);
    EXPECT_EQ(r.signal, 0);
    EXPECT_EQ(r.exitCode, 2) << r.out << r.err;
    EXPECT_EQ(ReadFile(dir + "photo.bmp"), "previous output");
    EXPECT_EQ(ListFolder(dir), (std::vector<std::string>{"photo.bmp", "photo.jpg"}));
}

}  // namespace
}  // namespace tarvik::test
