#include "engine/conversion.h"

#include <atomic>
#include <mutex>
#include <thread>

#include "core/files.h"
#include "core/formats.h"
#include "core/job.h"
#include "core/setting_values.h"
#include "core/settings.h"
#include "engine/drawing.h"
#include "engine/pause_gate.h"
#include "engine/worker.h"

namespace tarvik {
namespace {

std::thread g_worker;
std::atomic<bool> g_finished{true};

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
    switch (ValueOf<WatermarkType>(w.DoWatermark)) {
        case WatermarkType::Text:
            if (!DrawingAvailable()) {
                return WatermarkCheck::DrawingMissing;
            }
            return LoadWatermarkFont() ? WatermarkCheck::Ok : WatermarkCheck::InvalidFont;
        case WatermarkType::Image:
            if (w.Image.empty()) {
                return WatermarkCheck::EmptyImage;
            }
            return IsNonEmptyFile(w.Image) ? WatermarkCheck::Ok : WatermarkCheck::InvalidImage;
        default:
            return WatermarkCheck::Ok;
    }
}

bool StartConversionWorker() {
    if (g_worker.joinable()) {
        return false;
    }
    PrepareProgress();
    g_finished = false;
    g_worker = std::thread([] {
        ConversionWorker();
        g_finished = true;
    });
    return true;
}

bool ConversionWorkerRunning() {
    return !g_finished.load();
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

bool ConversionWorkerHeld() {
    return PauseGateHolds();
}

void StopConversionWorker() {
    // Running is cleared before the gate opens, so a held worker cannot
    // slip into another file in between.
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
    // A gate left closed would hold the next run before its first file.
    OpenPauseGate();
    return ReadConversionProgress().Count;
}

std::int32_t RunConversionWorker() {
    StartConversionWorker();
    return FinishConversionWorker();
}

void SetConversionThreads(int threads) {
    SetWorkerThreads(threads);
}

}  // namespace tarvik
