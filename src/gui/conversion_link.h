// The window run's link to the conversion engine: output fields, the
// watermark check and the worker on its own thread. Kept in one place so
// the progress window does not depend on how the engine runs the worker.
#pragma once

#include <cstdint>
#include <string>

#include "engine/drawing.h"  // ReleaseWatermarkFont

namespace tarvik {

// Job.OutputFormatId, OutputBpp, SaveFlags and AutoBpp from Job.OutputExtension.
void FillJobOutputFields();

enum class WatermarkCheck { Ok, DrawingMissing, InvalidFont, EmptyImage, InvalidImage };
// A text watermark loads its font (kept until ReleaseWatermarkFont); an
// image watermark checks its file.
WatermarkCheck PrepareWatermark();

struct ProgressSnapshot {
    std::int32_t Index = 0;
    std::string CurrentFile;
    std::int32_t Count = 0;
};

bool StartConversionWorker();
bool ConversionWorkerRunning();
ProgressSnapshot ReadConversionProgress();
// Holds the worker before its next file until resumed.
void PauseConversionWorker();
void ResumeConversionWorker();
// Stops after the current file; also releases a paused worker.
void StopConversionWorker();
// Waits for the worker; the number of converted files.
std::int32_t FinishConversionWorker();

}  // namespace tarvik
