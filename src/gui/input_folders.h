// The input file and the output folder of the main window: the commands
// New, Add input file and Select output folder, dropped files, and the
// output-folder box filled from the history.
#pragma once

#include <string>

#include "gui/main_controls.h"

namespace tarvik {

// Makes path the one input file: 1 when accepted, 0 otherwise. When the
// output-folder box shows nothing, the file's folder becomes the output
// folder.
int AddInputFile(const MainControls& controls, const std::string& path);

// The open-file dialog; 1 when a file was added.
int SelectInputFile(const MainControls& controls);

// The folder dialog; an existing folder becomes the output folder.
void SelectOutputFolder(const MainControls& controls);

// Refills the output-folder box from the history, selecting
// Job.OutputFolder or else the newest folder. An empty history changes
// nothing.
void RefreshOutputFolderBox(const MainControls& controls);

// The New command: a fresh job, no input file and no folder shown.
void NewInput(const MainControls& controls);

}  // namespace tarvik
