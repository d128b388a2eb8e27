#include "gui/uninstall_window.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/catalog.h"
#include "core/product.h"
#include "gui/desktop_links.h"

namespace tarvik {
namespace {

// Pixels: the inner size, the margins and the Next button.
constexpr int kUninstallWidth = 300;
constexpr int kUninstallHeight = 100;
constexpr int kMarginX = 30;
constexpr int kMarginTop = 20;
constexpr int kMarginRight = 20;
constexpr int kMarginBottom = 15;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 25;

QString Text(std::string_view key) {
    return QString::fromStdString(CatalogText("Uninstall", key));
}

}  // namespace

std::string UninstallPageUrl() {
    return std::string(WebServerUrl) + std::string(UninstallPagePath);
}

UninstallWindow::UninstallWindow() {
    setObjectName(QStringLiteral("UninstallWindow"));
    setWindowTitle(Text("Title"));
    setFixedSize(kUninstallWidth, kUninstallHeight);

    visitCheck_ = new QCheckBox(Text("Uninstall Text"), this);
    visitCheck_->setChecked(true);
    nextButton_ = new QPushButton(Text("Next"), this);
    nextButton_->setFixedSize(kButtonWidth, kButtonHeight);
    nextButton_->setDefault(true);
    connect(nextButton_, &QPushButton::clicked, this, &UninstallWindow::Next);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kMarginX, kMarginTop, kMarginRight, kMarginBottom);
    column->setSpacing(0);
    column->addWidget(visitCheck_);
    column->addStretch(1);
    column->addWidget(nextButton_, 0, Qt::AlignRight);
}

void UninstallWindow::Next() {
    if (visitCheck_->isChecked()) {
        OpenWithShell(this, UninstallPageUrl());
    }
    accept();
}

int RunUninstallWindow() {
    UninstallWindow window;
    window.exec();
    return 0;
}

}  // namespace tarvik
