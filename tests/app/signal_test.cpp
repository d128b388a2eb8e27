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

// Whether the process has a file of the folder open: the output being
// written, named or not (an unnamed one shows as "folder/#inode (deleted)").
bool WritesInto(pid_t pid, const std::string& folder) {
    const std::string fds = "/proc/" + std::to_string(pid) + "/fd/";
    for (const std::string& fd : ListFolder(fds)) {
        char target[4096];
        const ssize_t n = readlink((fds + fd).c_str(), target, sizeof target - 1);
        if (n > 0 && std::string(target, static_cast<std::size_t>(n)).rfind(folder, 0) == 0) {
            return true;
        }
    }
    return false;
}

TEST(Signals, AnInterruptedOrKilledSaveLeavesNothingPartial) {
    const std::string dir = MakeTempFolder("signal");
    ASSERT_TRUE(WriteJpeg(dir + "big.jpg", {.width = 6000, .height = 4000, .quality = 60}));
    // SIGKILL cannot be handled: only an unnamed temporary file keeps the
    // folder clean then.
    for (const int signal : {SIGTERM, SIGINT, SIGKILL}) {
        SCOPED_TRACE(signal);
        const std::string out = MakeTempFolder("signal-out");
        const pid_t pid = StartTarvik({"-q", "-i", dir + "big.jpg", "-o", out});
        ASSERT_GT(pid, 0);
        // Wait until the output is being written, then interrupt the save.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        bool caughtWhileWriting = false;
        while (!(caughtWhileWriting = WritesInto(pid, out)) &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        kill(pid, signal);
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(caughtWhileWriting) << "the save ended before it could be interrupted";
        if (caughtWhileWriting && signal != SIGKILL && WIFEXITED(status)) {
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

TEST(Signals, AnRleOutputCutShortByTheFileSizeLimitIsNotConverted) {
    // The last buffered write of an 8-bit RLE output is the one that fails.
    const std::string dir = MakeTempFolder("fsize-rle");
    ASSERT_TRUE(WriteJpeg(dir + "photo.jpg", {.width = 400, .height = 300}));
    const std::vector<std::string> args = {"-q", "-i", "photo.jpg", "--bmp-bpp=8",
                                           "--bmp-compression=rle"};
    RunResult r = RunTarvik(args, dir);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::size_t size = ReadFile(dir + "photo.bmp").size();
    ASSERT_TRUE(WriteFile(dir + "photo.bmp", "previous output"));
    const std::string blocks = std::to_string((size - 1) / 512);
    std::string command = "ulimit -f " + blocks + "; exec \"$0\"";
    for (const std::string& a : args) {
        command += " " + a;
    }
    r = RunProgram({"/bin/sh", "-c", command, TARVIK_BINARY}, dir);
    EXPECT_EQ(r.exitCode, 2) << r.out << r.err;
    EXPECT_EQ(r.err,
              "Not converted: " + dir + "photo.jpg (The output file could not be written)\n");
    EXPECT_EQ(ReadFile(dir + "photo.bmp"), "previous output");
    EXPECT_EQ(ListFolder(dir), (std::vector<std::string>{"photo.bmp", "photo.jpg"}));
}

}  // namespace
}  // namespace tarvik::test
