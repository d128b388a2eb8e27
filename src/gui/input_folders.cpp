#include "gui/input_folders.h"

#include <sys/stat.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>

#include "cli/inputs.h"
#include "core/catalog.h"
#include "core/job.h"
#include "core/settings.h"
#include "core/text.h"
#include "gui/folder_history.h"
#include "gui/images.h"

namespace tarvik {
namespace {

// Pending events get this long after each added file.
constexpr int kSettleMilliseconds = 2;

bool IsFolder(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string BoxText(const QComboBox* box) {
    return box->currentText().toStdString();
}

}  // namespace

void SetStatusText(const MainControls& controls, const std::string& text) {
    controls.StatusText->setText(QString::fromStdString(text));
}

int AddInputFile(const MainControls& controls, const std::string& path) {
    if (!IsAcceptedInputFile(path)) {
        return 0;
    }
    InputList.clear();
    InputList[path] = InputEntry{1, RelativeFolder(path, Job.InputPath)};
    if (Job.CommandLineJob != 0) {
        return 1;
    }
    controls.InputFileBox->setText(QString::fromStdString(path));
    if (BoxText(controls.OutputFolderBox).empty()) {
        const std::string folder = Job.InputPath.empty() ? FolderPart(path) : Job.InputPath;
        RememberOutputFolder(folder);
        Job.OutputFolder = folder;
        RefreshOutputFolderBox(controls);
    }
    return 1;
}

int SelectInputFile(const MainControls& controls) {
    const QString path = QFileDialog::getOpenFileName(
        controls.Window, QString::fromStdString(CatalogText("Dialog", "Select Input Files")),
        QString::fromStdString(Job.SourceFile),
        DialogFilters(InputFileFilter()).join(QStringLiteral(";;")));
    int added = 0;
    if (!path.isEmpty()) {
        added = AddInputFile(controls, path.toStdString());
        QCoreApplication::processEvents(QEventLoop::AllEvents, kSettleMilliseconds);
    }
    Job.SourceFile.clear();
    return added;
}

void SelectOutputFolder(const MainControls& controls) {
    const std::string shown = BoxText(controls.OutputFolderBox);
    const std::string start = !shown.empty() ? FolderPart(shown) : Job.OutputFolder;
    std::string folder =
        QFileDialog::getExistingDirectory(
            controls.Window, QString::fromStdString(CatalogText("Dialog", "Select Output Folder")),
            QString::fromStdString(start))
            .toStdString();
    if (folder.empty()) {
        return;
    }
    if (!EndsWith(folder, "/")) {
        folder += '/';  // chosen folders end with the separator
    }
    if (IsFolder(folder)) {
        RememberOutputFolder(folder);
        Job.OutputFolder = folder;
        RefreshOutputFolderBox(controls);
    }
}

void RefreshOutputFolderBox(const MainControls& controls) {
    if (Settings.File.RecentOutFolders.empty()) {
        return;
    }
    QComboBox* box = controls.OutputFolderBox;
    box->clear();
    int selection = 0;
    const QIcon icon = MenuIcon("FavFolder");
    for (int i = 0; i < Settings.Advanced.OutFoldersNumber; ++i) {
        const std::string folder = RecentOutputFolder(i);
        if (folder.empty()) {
            continue;
        }
        if (folder == Job.OutputFolder) {
            selection = box->count();
        }
        box->addItem(icon, QString::fromStdString(folder));
    }
    box->setCurrentIndex(box->count() > 0 ? selection : -1);
}

void NewInput(const MainControls& controls) {
    RefreshOutputFolderBox(controls);
    ResetJob();
    controls.InputFileBox->clear();
    controls.OutputFolderBox->setCurrentIndex(-1);
}

}  // namespace tarvik
