// The per-file pipeline, in two stages so that several files can be
// converted at once: the steps that need nothing of the files before (load,
// transforms, colours, frame, and mostly the watermark and the depth) run
// on any worker thread; naming, saving and whatever reads the job's running
// state (%n%, %rnd%, the previous file's size) run in the input list's
// order, on Job.
#pragma once

#include <optional>
#include <string>

#include "core/job.h"
#include "engine/bitmap.h"
#include "engine/output_names.h"

namespace tarvik {

// One file on its way through the pipeline: what the steps record for it
// before it is its turn to be named and saved.
struct FileRun {
    std::string SourceFile;
    std::string RelativeFolder;
    Bitmap Image;
    int SourceBpp = 0;
    // The image size after rotation and resizing; frame and watermark keep it.
    int ImageWidth = 0;
    int ImageHeight = 0;
    bool Loaded = false;
    // Whether the watermark step has run (it waits for the file's turn when
    // its text may read the running state).
    bool WatermarkDone = false;
    // The depth chosen, once the depth step has run on a bitmap.
    std::optional<int> OutputBpp;
    ConvertFailure Failure = ConvertFailure::None;
    // The file a refused output name belongs to: the input it would
    // replace, or the file of the run whose output took it.
    RunNames::Owner NameHolder;
};

// The first stage: reads Settings and the run's fixed Job fields only.
void RunIndependentSteps(FileRun& file);
// The second stage, in order: sets the job's per-file fields from the
// record, runs the remaining steps, names the file and saves it unless the
// name is one the run may not take (names), which records what it writes;
// true when the output was written.
bool FinishFileInOrder(FileRun& file, RunNames& names);

// Both stages on Job.SourceFile, Job.RelativeFolder: true when the output
// was written.
bool ConvertFile();

}  // namespace tarvik
