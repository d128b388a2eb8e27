// The names one run's outputs may not take: any input of the run, and any
// output the run has already written. Files left by an earlier run are
// replaced as before. Only the in-order stage asks and records, so a run
// decides the same on one thread or on many.
#pragma once

#include <map>
#include <string>

#include "core/files.h"
#include "core/job.h"

namespace tarvik {

struct RunNames {
    struct Owner {
        std::string SourceFile;  // the input as listed
        std::string RelativeFolder;
    };
    // Paths compare in their normal form; identities catch what a path
    // cannot (hard links, a file system that ignores letter case).
    std::map<std::string, Owner> Inputs;
    std::map<FileId, Owner> InputIds;
    std::map<std::string, Owner> Outputs;
    std::map<FileId, Owner> OutputIds;
};

// Why an output path may not be written, and the file that holds it.
struct NameClash {
    ConvertFailure Failure = ConvertFailure::None;  // SameAsInput, NamesAnInput, NameTaken
    RunNames::Owner Other;  // the input it would replace, or the file whose output took it
};

void NoteRunInput(RunNames& names, const std::string& source, const std::string& relativeFolder);

NameClash CheckOutputName(const RunNames& names, const std::string& output,
                          const std::string& source);

// After a successful save.
void NoteWrittenOutput(RunNames& names, const std::string& output, const std::string& source,
                       const std::string& relativeFolder);

}  // namespace tarvik
