#include "gui/conversion_link.h"

#include <atomic>
#include <mutex>
#include <thread>

#include "cli/inputs.h"
#include "core/formats.h"
#include "core/job.h"
#include "core/settings.h"
#include "engine/drawing.h"
#include "engine/pause_gate.h"
#include "engine/worker.h"

namespace tarvik {
namespace {

std::thread g_worker;
std::atomic<bool> g_running{false};

}  // namespace

void FillJobOutputFields() {
    const FormatRecord* format = OutputFormatRecord(Job.OutputExtension);
    Job.OutputFormatId = format != nullptr ? format->FormatId : 0;
    Job.OutputBpp = OutputBppSetting(Job.OutputExtension);
    Job.SaveFlags = OutputSaveFlags(Job.OutputExtension);
    Job.AutoBpp = Job.OutputBpp == 0 ? 1 : 0;
}

WatermarkCheck PrepareWatermark() {
    const auto& w = Settings.Watermark;
    if (w.DoWatermark == 1) {
        return LoadWatermarkFont() ? WatermarkCheck::Ok : WatermarkCheck::InvalidFont;
    }
    if (w.DoWatermark == 2) {
        if (w.Image.empty()) {
            return WatermarkCheck::EmptyImage;
        }
        return IsNonEmptyFile(w.Image) ? WatermarkCheck::Ok : WatermarkCheck::InvalidImage;
    }
    return WatermarkCheck::Ok;
}

bool StartConversionWorker() {
    if (g_worker.joinable()) {
        return false;
    }
    PrepareProgress();
    OpenPauseGate();
    g_running = true;
    g_worker = std::thread([] {
        ConversionWorker();
        g_running = false;
    });
    return true;
}

bool ConversionWorkerRunning() {
    return g_running;
}

ProgressSnapshot ReadConversionProgress() {
    const std::lock_guard<std::mutex> guard(ProgressLock);
    return {ConversionProgress.Index, ConversionProgress.CurrentFile, ConversionProgress.Count};
}

void PauseConversionWorker() {
    ClosePauseGate();
}

void ResumeConversionWorker() {
    OpenPauseGate();
}

void StopConversionWorker() {
    {
        const std::lock_guard<std::mutex> guard(ProgressLock);
        ConversionProgress.Running = 0;
    }
    OpenPauseGate();
}

std::int32_t FinishConversionWorker() {
    if (g_worker.joinable()) {
        g_worker.join();
    }
    return ReadConversionProgress().Count;
}

}  // namespace tarvik
