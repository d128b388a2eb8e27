#include "gui/desktop_links.h"

#include <QDesktopServices>
#include <QUrl>

#include "core/job.h"
#include "core/product.h"
#include "core/program_files.h"

namespace tarvik {

void OpenWithShell(const std::string& target) {
    const QString text = QString::fromStdString(target);
    QDesktopServices::openUrl(target.starts_with('/') ? QUrl::fromLocalFile(text) : QUrl(text));
}

std::string ManualPath() {
    return ManualPathOf(Job.ProgramFolder);
}

std::string FeedbackLink() {
    return "mailto:" + std::string(SupportMailAddress) + "?subject=" + FullTitle() + " Feedback";
}

}  // namespace tarvik
