#include "engine/worker.h"

#include "core/catalog.h"
#include "core/console.h"
#include "core/job.h"
#include "engine/naming.h"
#include "engine/pause_gate.h"
#include "engine/pipeline.h"

namespace tarvik {

namespace {

// The catalog key (group "Console") of each reason a file was not converted.
std::string_view FailureKey(ConvertFailure failure) {
    switch (failure) {
        case ConvertFailure::Load:
            return "Failed load";
        case ConvertFailure::NotJpeg:
            return "Failed not JPEG";
        case ConvertFailure::Truncated:
            return "Failed truncated";
        case ConvertFailure::TooLarge:
            return "Failed too large";
        case ConvertFailure::TooComplex:
            return "Failed too complex";
        case ConvertFailure::Operation:
            return "Failed operation";
        case ConvertFailure::DrawingMissing:
            return "Drawing missing";
        case ConvertFailure::Drawing:
            return "Failed drawing";
        case ConvertFailure::SameAsInput:
            return "Failed same as input";
        case ConvertFailure::Save:
        case ConvertFailure::None:
            break;
    }
    return "Failed save";
}

// Every file a command-line job does not convert is named on standard
// error with its reason, also when quiet: the count alone would hide which.
void ReportFailedFile() {
    ConsoleErrorLine(FillPlaceholders(CatalogText("Console", "File not converted"), Job.SourceFile,
                                      CatalogText("Console", FailureKey(Job.Failure))));
}

}  // namespace

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
        // A stop may come while the worker waits at the gate.
        PassPauseGate();
        if (ConversionProgress.Running == 0) {
            break;
        }
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
        if (!ok && Job.CommandLineJob != 0) {
            ReportFailedFile();
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

}  // namespace tarvik
