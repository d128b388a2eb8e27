#include "engine/worker.h"

#include <algorithm>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "core/catalog.h"
#include "core/console.h"
#include "core/job.h"
#include "core/settings.h"
#include "engine/limits.h"
#include "engine/naming.h"
#include "engine/pause_gate.h"
#include "engine/pipeline.h"

namespace tarvik {

namespace {

std::atomic<int> g_threadSetting{0};

std::string FolderOf(const std::string& path) {
    return path.substr(0, path.rfind('/') + 1);
}

// How to keep both files whose outputs would share a name: a mask with
// %n% always does; so does keeping the sub-folders they came from, or,
// for files of different folders sent to one output folder, leaving each
// output beside its input.
std::string_view NameTakenKey(const FileRun& file) {
    const RunNames::Owner& other = file.NameHolder;
    if (Settings.Advanced.KeepSubfolders == 0 && other.RelativeFolder != file.RelativeFolder) {
        return "Failed name taken, sub-folders";
    }
    if (!Job.OutputFolder.empty() && FolderOf(other.SourceFile) != FolderOf(file.SourceFile)) {
        return "Failed name taken, beside inputs";
    }
    return "Failed name taken";
}

// The catalog key (group "Console") of each reason a file was not converted.
std::string_view FailureKey(ConvertFailure failure, const FileRun& file) {
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
        case ConvertFailure::NamesAnInput:
            return "Failed names an input";
        case ConvertFailure::NameTaken:
            return NameTakenKey(file);
        case ConvertFailure::Save:
        case ConvertFailure::None:
            break;
    }
    return "Failed save";
}

// Every file a command-line job does not convert is named on standard
// error with its reason, also when quiet: the count alone would hide which.
// A reason that names another file names the file and, for a name taken
// earlier in the run, the output as well.
void ReportFailedFile(const FileRun& file) {
    const std::string& holder = file.NameHolder.SourceFile;
    const bool taken = Job.Failure == ConvertFailure::NameTaken;
    const std::string reason =
        FillPlaceholdersOnce(CatalogText("Console", FailureKey(Job.Failure, file)),
                             taken ? Job.OutputFile : holder, holder);
    ConsoleErrorLine(
        FillPlaceholdersOnce(CatalogText("Console", "File not converted"), Job.SourceFile, reason));
}

// What the threads of one run share. Files are taken in the list's order
// under ProgressLock; the turn to finish one passes from file to file at
// the pause gate, so a thread waiting for it holds when the run is paused.
struct Run {
    std::vector<std::pair<std::string, std::string>> files;  // path, sub-folder
    bool lines = false;
    std::size_t next = 0;        // guarded by ProgressLock
    std::size_t turn = 0;        // changed at the pause gate
    std::int32_t converted = 0;  // written in turn
    RunNames names;              // read and written in turn
};

// The next file's number, or none once the list is done or the run was
// stopped. A stop and a start are never both half-way: Running is cleared
// under the same lock.
bool TakeNextFile(Run& run, std::size_t& index) {
    const std::lock_guard<std::mutex> guard(ProgressLock);
    if (ConversionProgress.Running == 0 || run.next >= run.files.size()) {
        return false;
    }
    index = run.next++;
    ConversionProgress.Index = static_cast<std::int32_t>(run.next);
    ConversionProgress.CurrentFile = run.files[index].first;
    return true;
}

// The file's turn: the job's per-file fields, the output and its lines,
// exactly as one file after the other.
void FinishInTurn(Run& run, FileRun& file) {
    if (run.lines) {
        ConsoleLine(CatalogText("Debug", "Processing") + file.SourceFile);
    }
    const bool ok = FinishFileInOrder(file, run.names);
    if (run.lines) {
        ConsoleLine(CatalogText("Debug", "Saving As") + Job.OutputFile);
        ConsoleLine(CatalogText("Debug", ok ? "OK" : "Not OK"));
    }
    if (!ok && Job.CommandLineJob != 0) {
        ReportFailedFile(file);
    }
    if (ok) {
        ++run.converted;
        Job.RandomNumber = NewRandomNumber();
        ++Job.SequenceNumber;
        ApplyFileTimestamp();
    }
}

void ConvertFiles(Run& run) {
    std::size_t index = 0;
    // A stop may come while the thread waits at the gate.
    for (PassPauseGate(); TakeNextFile(run, index); PassPauseGate()) {
        FileRun file;
        file.SourceFile = run.files[index].first;
        file.RelativeFolder = run.files[index].second;
        RunIndependentSteps(file);
        PassPauseGateWhen([&run, index] { return run.turn == index; });
        FinishInTurn(run, file);
        ChangeAtPauseGate([&run] { ++run.turn; });
    }
    LeavePauseGate();
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

int WorkerThreadsFor(std::size_t files) {
    int threads = std::min(g_threadSetting.load(), kMaxWorkerThreads);
    if (threads <= 0) {
        threads = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    }
    return static_cast<int>(std::clamp<std::size_t>(files, 1, static_cast<std::size_t>(threads)));
}

void SetWorkerThreads(int threads) {
    g_threadSetting = threads;
}

void ConversionWorker() {
    Run run;
    run.lines = Job.CommandLineJob != 0 && Job.RunMode == "DEBUG";
    for (const auto& [path, entry] : InputList) {
        run.files.emplace_back(path, entry.RelativeFolder);
        NoteRunInput(run.names, path, entry.RelativeFolder);
    }
    const int threads = WorkerThreadsFor(run.files.size());
    JoinPauseGate(threads);
    std::vector<std::thread> helpers;
    for (int i = 1; i < threads; ++i) {
        try {
            helpers.emplace_back(ConvertFiles, std::ref(run));
        } catch (const std::system_error&) {
            // Fewer threads convert the same files.
            LeavePauseGate();
        }
    }
    ConvertFiles(run);
    for (std::thread& helper : helpers) {
        helper.join();
    }
    const std::lock_guard<std::mutex> guard(ProgressLock);
    ConversionProgress.Count = run.converted;
}

}  // namespace tarvik
