#include "core/job.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <random>

#include "core/formats.h"

namespace tarvik {

JobRecord Job;
InputListType InputList;
std::vector<std::string> AcceptedInputExtensions;

int NewRandomNumber() {
    static std::mt19937 engine{std::random_device{}()};
    return std::uniform_int_distribution<int>(1, 99999)(engine);
}

std::string ExecutableFolder() {
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) {
        return {};
    }
    std::string folder(path, static_cast<std::size_t>(n));
    folder.resize(folder.rfind('/') + 1);
    return folder;
}

void BuildAccepted() {
    AcceptedInputExtensions = BuildAcceptedExtensions();
}

bool IsAcceptedExtension(const std::string& lowerExtension) {
    return std::find(AcceptedInputExtensions.begin(), AcceptedInputExtensions.end(),
                     lowerExtension) != AcceptedInputExtensions.end();
}

void ResetJob() {
    JobRecord fresh;
    fresh.ProgramFolder = ExecutableFolder();
    fresh.RunMode = Job.RunMode;
    fresh.FinderFrom = Job.FinderFrom;
    fresh.FinderTo = Job.FinderTo;
    fresh.RandomNumber = NewRandomNumber();
    fresh.SequenceNumber = 1;
    // The image size of the previous file lives on: a watermark's %width%
    // reads it before the current file is measured.
    fresh.ImageWidth = Job.ImageWidth;
    fresh.ImageHeight = Job.ImageHeight;
    Job = std::move(fresh);
    InputList.clear();
    BuildAccepted();
}

}  // namespace tarvik
