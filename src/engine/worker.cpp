#include "engine/worker.h"

#include <thread>

#include "core/catalog.h"
#include "core/console.h"
#include "core/job.h"
#include "engine/naming.h"
#include "engine/pause_gate.h"
#include "engine/pipeline.h"

namespace tarvik {

ConversionProgressRecord ConversionProgress;
std::mutex ProgressLock;

void PrepareProgress() {
    const std::lock_guard<std::mutex> guard(ProgressLock);
    ConversionProgress.Index = 0;
    ConversionProgress.CurrentFile.clear();
    ConversionProgress.Count = 0;
    ConversionProgress.Running = 1;
}

void ConversionWorker() {
    const bool lines = Job.CommandLineJob != 0 && Job.RunMode == "DEBUG";
    std::int32_t processed = 0;
    std::int32_t converted = 0;
    for (auto it = InputList.begin(); ConversionProgress.Running != 0 && it != InputList.end();
         ++it) {
        PassPauseGate();
        ++processed;
        Job.SourceFile = it->first;
        Job.RelativeFolder = it->second.RelativeFolder;
        {
            const std::lock_guard<std::mutex> guard(ProgressLock);
            ConversionProgress.Index = processed;
            ConversionProgress.CurrentFile = Job.SourceFile;
        }
        if (lines) {
            ConsoleLine(CatalogText("Debug", "Processing") + Job.SourceFile);
        }
        const bool ok = ConvertFile();
        if (lines) {
            ConsoleLine(CatalogText("Debug", "Saving As") + Job.OutputFile);
            ConsoleLine(CatalogText("Debug", ok ? "OK" : "Not OK"));
        }
        if (ok) {
            ++converted;
            Job.RandomNumber = NewRandomNumber();
            ++Job.SequenceNumber;
            ApplyFileTimestamp();
        }
    }
    const std::lock_guard<std::mutex> guard(ProgressLock);
    ConversionProgress.Count = converted;
}

void RunWorkerAndWait() {
    std::thread worker(ConversionWorker);
    worker.join();
}

}  // namespace tarvik
