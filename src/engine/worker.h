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
void ConversionWorker();

}  // namespace tarvik
