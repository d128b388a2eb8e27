// Helpers shared by the tests: fresh folders, generated JPEG files, running
// the real binary, and reading back what it wrote.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/bitmap.h"
#include "fixtures/jpeg_writer.h"

namespace tarvik::test {

using fixtures::JpegSpec;
using fixtures::Pattern;

// A new empty folder under the build's test-output folder, ending in "/".
std::string MakeTempFolder(const std::string& name);

// The folder where tests leave pictures for a person to look at.
std::string TestOutputFolder();
// Saves a bitmap there as NAME.png.
void SaveForViewing(const Bitmap& bitmap, const std::string& name);

using fixtures::WriteJpeg;
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
// Runs the tarvik binary of this build.
RunResult RunTarvik(const std::vector<std::string>& args, const std::string& cwd = {},
                    int timeoutSeconds = 60);

// The lines of a text, split at LF.
std::vector<std::string> Lines(const std::string& text);

struct BmpHeader {
    bool valid = false;
    std::uint32_t fileSize = 0;
    std::uint32_t pixelOffset = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bpp = 0;
    std::uint32_t compression = 0;
    std::uint32_t imageSize = 0;
    std::uint32_t colorsUsed = 0;
    std::uint32_t colorsImportant = 0;
};
BmpHeader ParseBmpHeader(const std::string& bytes);

// The pixel data of a BMP file (from its pixel offset to the end).
std::string BmpPixelData(const std::string& bytes);

}  // namespace tarvik::test
