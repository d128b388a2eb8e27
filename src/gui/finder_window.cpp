#include "gui/finder_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/catalog.h"
#include "core/job.h"
#include "core/product.h"
#include "gui/desktop_links.h"
#include "gui/message_boxes.h"
#include "gui/mnemonics.h"

namespace tarvik {
namespace {

// Pixels: the inner size, the two fields and the button.
constexpr int kFinderWidth = 370;
constexpr int kFinderHeight = 60;
constexpr int kFromLabelWidth = 40;
constexpr int kToLabelWidth = 30;
constexpr int kFieldWidth = 80;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 25;
constexpr int kMargin = 10;
constexpr int kFieldGap = 20;

QString Text(std::string_view key) {
    return QString::fromStdString(CatalogText("Custom-Converter", key));
}

bool IsLetterOrDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string CleanField(const QString& text) {
    return KeepLettersAndDigits(text.left(kFinderFieldLimit).toLower().toStdString());
}

}  // namespace

std::string KeepLettersAndDigits(std::string_view text) {
    std::string kept;
    for (const char c : text) {
        if (IsLetterOrDigit(c)) {
            kept.push_back(c);
        }
    }
    return kept;
}

bool CleanFinderInput(const QString& from, const QString& to) {
    Job.FinderFrom = CleanField(from);
    Job.FinderTo = CleanField(to);
    return !Job.FinderFrom.empty() && !Job.FinderTo.empty();
}

std::string FinderSearchUrl() {
    return std::string(WebServerUrl) + std::string(FinderSearchPath) + Job.FinderFrom + "-" +
           Job.FinderTo + "/";
}

FinderWindow::FinderWindow(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("FinderWindow"));
    setWindowTitle(Text("Title"));
    setFixedSize(kFinderWidth, kFinderHeight);

    fromBox_ = new QLineEdit(this);
    fromBox_->setFixedWidth(kFieldWidth);
    toBox_ = new QLineEdit(this);
    toBox_->setFixedWidth(kFieldWidth);
    searchButton_ = new QPushButton(Text("Search"), this);
    searchButton_->setFixedSize(kButtonWidth, kButtonHeight);
    searchButton_->setDefault(true);
    connect(searchButton_, &QPushButton::clicked, this, &FinderWindow::Search);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(kMargin, 0, kMargin, 0);
    row->setSpacing(0);
    MnemonicSet letters;
    auto* fromLabel = new QLabel(letters.Mark(Text("From")), this);
    fromLabel->setFixedWidth(kFromLabelWidth);
    fromLabel->setBuddy(fromBox_);
    fromBox_->setAccessibleName(PlainText(fromLabel->text()));
    auto* toLabel = new QLabel(letters.Mark(Text("To")), this);
    toLabel->setFixedWidth(kToLabelWidth);
    toLabel->setBuddy(toBox_);
    toBox_->setAccessibleName(PlainText(toLabel->text()));
    row->addWidget(fromLabel);
    row->addWidget(fromBox_);
    row->addSpacing(kFieldGap);
    row->addWidget(toLabel);
    row->addWidget(toBox_);
    row->addStretch(1);
    row->addWidget(searchButton_);
}

// A search closes the finder before the browser is asked to open the page.
void FinderWindow::Search() {
    if (!CleanFinderInput(fromBox_->text(), toBox_->text())) {
        ShowWarning(this, CatalogText("Msg", "Empty extensions"));
        return;
    }
    accept();
    OpenWithShell(parentWidget(), FinderSearchUrl());
}

FinderWindow* OpenFinderWindow(QWidget* owner) {
    auto* finder = new FinderWindow(owner);
    finder->setAttribute(Qt::WA_DeleteOnClose);
    finder->FromBox()->setFocus();
    finder->open();
    finder->activateWindow();
    return finder;
}

}  // namespace tarvik
