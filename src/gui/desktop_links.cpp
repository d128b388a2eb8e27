#include "gui/desktop_links.h"

#include <sys/stat.h>

#include <QDesktopServices>
#include <QUrl>

#include "core/job.h"
#include "core/product.h"

namespace tarvik {
namespace {

constexpr std::string_view kManualInBuildTree = "manual/index.html";
// tarvik-gui is installed in <prefix>/lib/tarvik/.
constexpr std::string_view kManualInstalled = "../../share/doc/tarvik/manual/index.html";

bool Exists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

}  // namespace

void OpenWithShell(const std::string& target) {
    const QString text = QString::fromStdString(target);
    QDesktopServices::openUrl(target.starts_with('/') ? QUrl::fromLocalFile(text) : QUrl(text));
}

std::string ManualPath() {
    const std::string beside = Job.ProgramFolder + std::string(kManualInBuildTree);
    const std::string installed = Job.ProgramFolder + std::string(kManualInstalled);
    return !Exists(beside) && Exists(installed) ? installed : beside;
}

std::string FeedbackLink() {
    return "mailto:" + std::string(SupportMailAddress) + "?subject=" + FullTitle() + " Feedback";
}

}  // namespace tarvik
