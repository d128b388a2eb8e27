// The conversion worker and the progress record it shares with its front
// end.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

namespace tarvik {

struct ConversionProgressRecord {
    std::int32_t Index = 0;                // guarded by ProgressLock
    std::string CurrentFile;               // guarded by ProgressLock
    std::int32_t Count = 0;                // guarded by ProgressLock
    std::atomic<std::uint8_t> Running{0};  // cleared by the front end to stop
};

extern ConversionProgressRecord ConversionProgress;
extern std::mutex ProgressLock;

// Resets the progress record for a new run (Running = 1).
void PrepareProgress();

// Converts every entry of InputList; the number converted ends up in
// ConversionProgress.Count. Front ends run it through engine/conversion.h.
//
// Several files are converted at once, one per thread and at most one
// bitmap per thread; each file is named, saved and reported in the list's
// order, after the file before it has ended, so that everything a user
// sees is what a one-at-a-time run gives.
void ConversionWorker();

// How many threads a run of this many files uses: one per hardware thread
// (or the count set below), never more than there are files.
int WorkerThreadsFor(std::size_t files);
// Sets the number of threads per run; 0 goes back to one per hardware
// thread.
void SetWorkerThreads(int threads);

}  // namespace tarvik
