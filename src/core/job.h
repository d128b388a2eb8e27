// The record of the current conversion job, shared by both front ends and
// the engine, and the input list the worker walks.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tarvik {

// Why the current file was not converted.
enum class ConvertFailure : std::uint8_t {
    None,
    Load,            // unreadable, or no image in it, or the decoder failed
    NotJpeg,         // does not begin like a JPEG file
    Truncated,       // cut short: no end marker or too little image data
    TooLarge,        // the image, or what the operations make of it, is over the limit
    TooComplex,      // more scans or metadata segments than allowed
    Operation,       // a transform, colour or depth step yielded no image
    DrawingMissing,  // a frame or watermark was asked for without the drawing module
    Drawing,         // the frame or watermark could not be drawn
    SameAsInput,     // the output path names the input itself
    NamesAnInput,    // the output path names another input of the run
    NameTaken,       // an earlier file of the run has written that output
    Save,            // the output could not be written
};

struct JobRecord {
    std::string InputPath;
    // Ends in "/" once the front end has checked it; "" puts each output
    // beside its own input.
    std::string OutputFolder;
    std::string OutputExtension;
    std::uint8_t CommandLineJob = 0;
    std::string RunMode;        // "DEBUG", "T" or empty
    std::string ProgramFolder;  // folder of the executable, ending in "/"
    std::string SourceFile;
    std::string RelativeFolder;  // "" or ending in "/"
    std::string OutputFile;
    std::string InputExtension;
    int OutputFormatId = 0;
    int OutputBpp = 0;
    std::uint8_t AutoBpp = 0;
    int SaveFlags = 0;
    int SourceBpp = 0;
    int ImageWidth = 0;
    int ImageHeight = 0;
    ConvertFailure Failure = ConvertFailure::None;
    int RandomNumber = 1;
    int SequenceNumber = 1;
    std::string FinderFrom;
    std::string FinderTo;
};

extern JobRecord Job;

struct InputEntry {
    std::int32_t Flag = 1;
    std::string RelativeFolder;
};

// Keyed by the full path; any order that visits each file once will do.
using InputListType = std::map<std::string, InputEntry>;
extern InputListType InputList;

extern std::vector<std::string> AcceptedInputExtensions;

void ResetJob();
void BuildAccepted();
bool IsAcceptedExtension(const std::string& lowerExtension);

// A fresh %rnd% value, 1..99999.
int NewRandomNumber();

// The folder of the running executable, ending in "/".
std::string ExecutableFolder();

}  // namespace tarvik
