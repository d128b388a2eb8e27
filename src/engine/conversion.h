// The engine's interface for both front ends: the job's output fields, the
// watermark checks, and a run of the conversion worker on its own thread
// that the front end can watch, pause, resume and stop.
#pragma once

#include <cstdint>
#include <string>

namespace tarvik {

// Job.OutputFormatId, Job.OutputBpp, Job.SaveFlags and Job.AutoBpp for
// Job.OutputExtension, from the output format table and Settings.
void FillJobOutputFields();

enum class WatermarkCheck {
    Ok,
    DrawingMissing,  // the drawing module is not installed
    InvalidFont,     // a text watermark whose font does not load
    EmptyImage,      // a picture watermark without a picture path
    InvalidImage,    // a picture path that is not a non-empty file
};

// The checks of [Watermark] Do Watermark before a run. A text watermark
// loads its font, which stays loaded until ReleaseWatermarkFont.
WatermarkCheck PrepareWatermark();
// Releases the font of a text watermark; harmless when none is loaded.
void ReleaseWatermarkFont();

struct ProgressSnapshot {
    std::int32_t Index = 0;
    std::string CurrentFile;
    std::int32_t Count = 0;
};

// Resets ConversionProgress and starts ConversionWorker on its own thread;
// false when a run is already going.
bool StartConversionWorker();
// True from the start until the worker has finished its last file.
bool ConversionWorkerRunning();
// Index, CurrentFile and Count, read under ProgressLock.
ProgressSnapshot ReadConversionProgress();
// Every thread of the worker stops at its next gate (before a file,
// between the steps of one, or before its file's turn to be saved) and
// waits there, holding no lock, until resumed or stopped.
void PauseConversionWorker();
void ResumeConversionWorker();
// Whether every thread of a paused worker has reached a gate and waits
// there.
bool ConversionWorkerHeld();
// Lets the files already started (those up to ConversionProgress.Index)
// finish and starts no other; releases a paused worker so that it can end.
void StopConversionWorker();
// Waits for the worker to end and returns the number of files converted.
std::int32_t FinishConversionWorker();
// Start and finish in one call: the command-line run.
std::int32_t RunConversionWorker();

// How many threads the runs use: a whole number, or 0 for one per
// hardware thread (never more than a run has files).
void SetConversionThreads(int threads);

}  // namespace tarvik
