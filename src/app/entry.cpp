#include "app/entry.h"

#include <cerrno>
#include <cstdlib>
#include <string>
#include <string_view>

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
#include "core/path_detail.h"
#include "core/product.h"
#include "core/settings.h"
#include "core/text.h"
#include "engine/conversion.h"

namespace tarvik {
namespace {

constexpr std::string_view kErrorParameters = "Incorrect number of parameters";
constexpr std::string_view kErrorProfile = "Invalid profile file";
constexpr std::string_view kDebugRunMode = "DEBUG";

enum class CoreKind { Input, Output, Conversion, Profile, Debug, Quiet, Pause };

// The core option words, upper-cased as OptionName gives them. --profile
// has no short form.
struct CoreOptionWord {
    std::string_view shortWord;
    std::string_view longWord;
    CoreKind kind;
};
constexpr CoreOptionWord kCoreOptions[] = {
    {"-I", "--INPUT", CoreKind::Input},           {"-O", "--OUTPUT", CoreKind::Output},
    {"-C", "--CONVERSION", CoreKind::Conversion}, {"", "--PROFILE", CoreKind::Profile},
    {"-D", "--DEBUG", CoreKind::Debug},           {"-Q", "--QUIET", CoreKind::Quiet},
    {"-P", "--PAUSE", CoreKind::Pause},
};

// Words recognised only as the first parameter.
constexpr std::string_view kVersionWords[] = {"-V", "--VERSION"};
constexpr std::string_view kHelpWords[] = {"-H", "-?", "--HELP"};
constexpr std::string_view kUninstallWord = "-U";
constexpr std::string_view kScreenshotWord = "-T";

template <std::size_t N>
bool IsOneOf(const std::string& word, const std::string_view (&words)[N]) {
    for (std::string_view w : words) {
        if (word == w) {
            return true;
        }
    }
    return false;
}

const CoreOptionWord* FindCoreOption(const std::string& name) {
    for (const CoreOptionWord& option : kCoreOptions) {
        if (name == option.longWord || (!option.shortWord.empty() && name == option.shortWord)) {
            return &option;
        }
    }
    return nullptr;
}

std::string ProgramName(const char* argv0) {
    std::string name = argv0 != nullptr ? argv0 : std::string(ProgramShortName);
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
        ConsoleLine(
            FillPlaceholders(help.substr(start, end - start), programName, ExampleExtension()));
        start = end + 1;
    }
}

void PrintBanner() {
    ConsoleLine(FullTitle());
    ConsoleLine(CopyrightNotice);
    ConsoleLine(HomePageUrl);
    ConsoleLine(" ");
}

// The value of a value-taking core option; the short form takes the next
// parameter. Short options refuse any value beginning with "-".
bool CoreValue(const std::string& name, const CoreOptionWord& option, std::size_t& i,
               std::string& value) {
    const bool isShort = name == option.shortWord;
    if (isShort) {
        ++i;
    }
    value = OptionValue(i);
    const std::string_view refused = option.kind == CoreKind::Profile ? "--" : "-";
    return !value.empty() && !StartsWith(value, refused);
}

// Why a profile did not load: what keeps it from being read, or else a
// failed read.
std::string ProfileCause(const std::string& path) {
    const std::string cause = ReadableFileCause(path);
    return cause.empty() ? ErrorCause(EIO) : cause;
}

// A thread count from the environment, for runs that must not depend on
// the machine (a test of both paths, a shared server).
void ApplyThreadsVariable() {
    const char* value = std::getenv(kThreadsVariable);
    const std::int32_t threads = value != nullptr ? ReadConfigInteger(value) : 0;
    SetConversionThreads(threads > 0 ? threads : 0);
}

class OptionLoop {
  public:
    OptionPass Run() {
        for (std::size_t i = 0; i < Parameters.size() && pass_.Error.empty(); ++i) {
            const std::string name = OptionName(i);
            if (name.empty()) {
                PlainWord(i);
            } else if (const CoreOptionWord* core = FindCoreOption(name); core != nullptr) {
                Core(name, *core, i);
            } else if (ApplyConversionOption(name, OptionValue(i)) == OptionStatus::BadValue) {
                pass_.Error = kErrorParameters;
            }
        }
        return pass_;
    }

  private:
    // Words after an input are further inputs (a shell's expansion of a pattern).
    void PlainWord(std::size_t i) {
        const std::string_view word = Trim(Parameters[i]);
        if (inputSeen_ && !word.empty()) {
            ExtraInputWords.emplace_back(word);
        }
    }

    void Core(const std::string& name, const CoreOptionWord& option, std::size_t& i) {
        std::string value;
        switch (option.kind) {
            case CoreKind::Debug:
                Job.RunMode = kDebugRunMode;
                return;
            case CoreKind::Quiet:
                pass_.Quiet = true;
                return;
            case CoreKind::Pause:
                pass_.Pause = true;
                return;
            default:
                break;
        }
        if (!CoreValue(name, option, i, value)) {
            pass_.Error = kErrorParameters;
            return;
        }
        switch (option.kind) {
            case CoreKind::Input:
                Input(value);
                break;
            case CoreKind::Output:
                Job.OutputFolder = value;
                break;
            case CoreKind::Conversion:
                Job.OutputExtension = value;
                break;
            case CoreKind::Profile:
                if (!LoadProfile(value)) {
                    pass_.Error = kErrorProfile;
                    pass_.ErrorDetail = PathDetailLine(value, ProfileCause(value));
                }
                break;
            default:
                break;
        }
    }

    // A second -i adds an input instead of replacing the first.
    void Input(const std::string& value) {
        Job.CommandLineJob = 1;
        if (inputSeen_) {
            ExtraInputWords.push_back(value);
        } else {
            Job.InputPath = value;
        }
        inputSeen_ = true;
    }

    OptionPass pass_;
    bool inputSeen_ = false;
};

int ConversionJob(const OptionPass& pass) {
    if (!pass.Quiet) {
        PrintBanner();
    }
    ApplyThreadsVariable();
    const int status = RunCommandLineConversion(pass.Quiet);
    if (pass.Pause) {
        ConsoleLine(CatalogText("Console", "Press any key"));
        WaitForKey();
    }
    return status;
}

int CommandLinePass(char** argv) {
    CreateFormatLists();
    ResetJob();
    ExtraInputWords.clear();
    ResetSettings(true);
    BuildCatalog();

    const std::string first = OptionName(0);
    if (IsOneOf(first, kVersionWords)) {
        ConsoleLine(VersionDisplay());
        return kRunAllConverted;
    }
    if (IsOneOf(first, kHelpWords)) {
        PrintHelp(ProgramName(argv[0]));
        return kRunAllConverted;
    }
    if (first == kUninstallWord || first == kScreenshotWord) {
        return EnterSpecialMode(first, OptionValue(1));
    }

    const OptionPass pass = ReadOptions();
    if (!pass.Error.empty()) {
        PrintErrorLine(pass.Error, pass.ErrorDetail);
        if (pass.Pause) {
            WaitForKey();  // no prompt after an error
        }
        return kRunError;
    }
    return Job.CommandLineJob != 0 ? ConversionJob(pass) : EnterWindowMode();
}

}  // namespace

OptionPass ReadOptions() {
    return OptionLoop().Run();
}

int RunProgram(int argc, char** argv) {
    InstallSignalHandlers();
    SetParameters(argc, argv);
    if (Parameters.empty()) {
        return EnterWindowMode();
    }
    return CommandLinePass(argv);
}

}  // namespace tarvik
