#include "app/entry.h"

#include <string>

#include "app/parameters.h"
#include "app/terminal.h"
#include "app/window_mode.h"
#include "cli/inputs.h"
#include "cli/options.h"
#include "cli/profile.h"
#include "cli/run.h"
#include "core/catalog.h"
#include "core/console.h"
#include "core/formats.h"
#include "core/job.h"
#include "core/product.h"
#include "core/settings.h"
#include "core/text.h"

namespace tarvik {
namespace {

struct PassState {
    bool quiet = false;
    bool pause = false;
    std::string error;  // catalog key of group "Console"
};

std::string ProgramName(const char* argv0) {
    std::string name = argv0 != nullptr ? argv0 : "tarvik";
    name = name.substr(name.rfind('/') + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

// An input format for an example line, picked afresh for each line.
std::string ExampleExtension() {
    if (InputFormats.empty()) {
        return {};
    }
    return InputFormats[static_cast<std::size_t>(NewRandomNumber()) % InputFormats.size()];
}

void PrintHelp(const std::string& programName) {
    const std::string help = CatalogText("Console", "Help");
    std::size_t start = 0;
    while (start <= help.size()) {
        std::size_t end = help.find('\n', start);
        if (end == std::string::npos) {
            end = help.size();
        }
        const std::string line = help.substr(start, end - start);
        ConsoleLine(FillPlaceholders(line, programName, ExampleExtension()));
        start = end + 1;
    }
}

void PrintBanner() {
    ConsoleLine(FullTitle());
    ConsoleLine(CopyrightNotice);
    ConsoleLine(HomePageUrl);
    ConsoleLine(" ");
}

bool IsUsableValue(const std::string& value, std::string_view forbiddenPrefix) {
    return !value.empty() && !StartsWith(value, forbiddenPrefix);
}

// A core option at i; returns false when the name is not one. Advances i
// past a consumed value.
bool CoreOption(const std::string& name, std::size_t& i, PassState& s, bool& inputSeen) {
    const bool shortValue = name == "-I" || name == "-O" || name == "-C";
    if (shortValue || name == "--INPUT" || name == "--OUTPUT" || name == "--CONVERSION") {
        if (shortValue) {
            ++i;
        }
        const std::string value = OptionValue(i);
        if (!IsUsableValue(value, "-")) {
            s.error = "Incorrect number of parameters";
            return true;
        }
        if (name == "-I" || name == "--INPUT") {
            Job.CommandLineJob = 1;
            if (inputSeen) {
                ExtraInputWords.push_back(value);
            } else {
                Job.InputPath = value;
            }
            inputSeen = true;
        } else if (name == "-O" || name == "--OUTPUT") {
            Job.OutputFolder = value;
        } else {
            Job.OutputExtension = value;
        }
        return true;
    }
    if (name == "--PROFILE") {
        const std::string value = OptionValue(i);
        if (!IsUsableValue(value, "--")) {
            s.error = "Incorrect number of parameters";
        } else if (!LoadProfile(value)) {
            s.error = "Invalid profile file";
        }
        return true;
    }
    if (name == "-D" || name == "--DEBUG") {
        Job.RunMode = "DEBUG";
    } else if (name == "-Q" || name == "--QUIET") {
        s.quiet = true;
    } else if (name == "-P" || name == "--PAUSE") {
        s.pause = true;
    } else {
        return false;
    }
    return true;
}

void ConversionOption(const std::string& name, std::size_t i, PassState& s) {
    const SettingRow* row = FindOptionRow(name);
    if (row == nullptr) {
        return;  // unknown words are ignored
    }
    if (IsFlagOption(*row)) {
        ApplyOptionValue(*row, {}, false);
        return;
    }
    const std::string value = OptionValue(i);
    if (!IsUsableValue(value, "--")) {
        s.error = "Incorrect number of parameters";
        return;
    }
    ApplyOptionValue(*row, value, false);
}

void OptionLoop(PassState& s) {
    bool inputSeen = false;
    for (std::size_t i = 0; i < Parameters.size() && s.error.empty(); ++i) {
        const std::string name = OptionName(i);
        if (name.empty()) {
            // Plain words after an input are further inputs.
            if (inputSeen && !Trim(Parameters[i]).empty()) {
                ExtraInputWords.push_back(std::string(Trim(Parameters[i])));
            }
            continue;
        }
        if (!CoreOption(name, i, s, inputSeen)) {
            ConversionOption(name, i, s);
        }
    }
}

int CommandLinePass(char** argv) {
    CreateFormatLists();
    ResetJob();
    ExtraInputWords.clear();
    ResetSettings(true);
    BuildCatalog();

    const std::string first = OptionName(0);
    if (first == "-V" || first == "--VERSION") {
        ConsoleLine(VersionDisplay());
        return 0;
    }
    if (first == "-H" || first == "-?" || first == "--HELP") {
        PrintHelp(ProgramName(argv[0]));
        return 0;
    }
    if (first == "-U" || first == "-T") {
        return EnterSpecialMode(first, OptionValue(1));
    }

    PassState s;
    OptionLoop(s);
    if (!s.error.empty()) {
        ConsoleErrorLine(CatalogText("Msg", "Error") + ": " + CatalogText("Console", s.error));
        if (s.pause) {
            WaitForKey();
        }
        return kRunError;
    }
    if (Job.CommandLineJob == 0) {
        return EnterWindowMode();
    }
    if (!s.quiet) {
        PrintBanner();
    }
    const int status = RunCommandLineConversion(s.quiet);
    if (s.pause) {
        ConsoleLine(CatalogText("Console", "Press any key"));
        WaitForKey();
    }
    return status;
}

}  // namespace

int RunProgram(int argc, char** argv) {
    InstallSignalHandlers();
    SetParameters(argc, argv);
    if (Parameters.empty()) {
        return EnterWindowMode();
    }
    return CommandLinePass(argv);
}

}  // namespace tarvik
