#include "gui/desktop_links.h"

#include <QDesktopServices>
#include <QUrl>

#include "core/catalog.h"
#include "core/job.h"
#include "core/product.h"
#include "core/program_files.h"
#include "gui/message_boxes.h"

namespace tarvik {

bool OpenWithShell(QWidget* parent, const std::string& target) {
    const QString text = QString::fromStdString(target);
    if (QDesktopServices::openUrl(target.starts_with('/') ? QUrl::fromLocalFile(text)
                                                          : QUrl(text))) {
        return true;
    }
    ShowWarning(parent, FillPlaceholders(CatalogText("Msg", "No opener"), target));
    return false;
}

std::string ManualPath() {
    return ManualPathOf(Job.ProgramFolder);
}

std::string FeedbackLink() {
    return "mailto:" + std::string(SupportMailAddress) + "?subject=" + FullTitle() + " Feedback";
}

}  // namespace tarvik
