#include "gui/update_prompts.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QMetaObject>

#include <thread>

#include "core/catalog.h"
#include "core/product.h"
#include "core/settings.h"
#include "gui/desktop_links.h"

namespace tarvik {
namespace {

// Catalog texts break lines with CR LF; a label wants LF alone.
QString BoxText(std::string_view group, std::string_view key) {
    return QString::fromStdString(CatalogText(group, key))
        .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QMessageBox::Icon BoxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::kQuestion:
            return QMessageBox::Question;
        case MessageIcon::kError:
            return QMessageBox::Critical;
        case MessageIcon::kInformation:
            break;
    }
    return QMessageBox::Information;
}

// The busy cursor for as long as the request waits.
class BusyCursor {
  public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

bool ShowMessageBox(QWidget* parent, const MessageBoxTexts& texts) {
    const QMessageBox::StandardButtons buttons =
        texts.yesNo ? QMessageBox::Yes | QMessageBox::No
                    : QMessageBox::StandardButtons(QMessageBox::Ok);
    QMessageBox box(BoxIcon(texts.icon), BoxText(texts.group, texts.titleKey),
                    BoxText(texts.group, texts.textKey), buttons, parent);
    return box.exec() == QMessageBox::Yes;
}

UpdateOutcome FetchUpdateOutcomeAside(const HttpTimeouts& timeouts) {
    const BusyCursor busy;
    QEventLoop loop;
    UpdateOutcome outcome = UpdateOutcome::kCheckFailed;
    // The quit is queued to the loop, so it takes effect even when the
    // request ends before the loop has started.
    std::thread request([&outcome, &loop, timeouts] {
        outcome = FetchUpdateOutcome(timeouts);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    request.join();
    return outcome;
}

void CheckForUpdates(QWidget* parent, const HttpTimeouts& timeouts) {
    const UpdateOutcome outcome = FetchUpdateOutcomeAside(timeouts);
    if (ShowMessageBox(parent, UpdateOutcomeBox(outcome)) &&
        outcome == UpdateOutcome::kNewerVersion) {
        OpenWithShell(parent, std::string(HomePageUrl));
    }
}

void ScheduledUpdateCheck(QWidget* parent, WindowStart start, const LocalClock& now,
                          const HttpTimeouts& timeouts) {
    if (!ScheduledQuestionDue(Settings.General.UpdateRange, Settings.General.UpdateDate, now(),
                              start)) {
        return;
    }
    if (ShowMessageBox(parent, ScheduledQuestionBox())) {
        CheckForUpdates(parent, timeouts);
    }
    Settings.General.UpdateDate = UpdateDateAfterQuestion(now());
}

}  // namespace tarvik
