#include "gui/about_window.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/catalog.h"
#include "core/product.h"
#include "gui/desktop_links.h"
#include "gui/themes.h"

namespace tarvik {
namespace {

// Pixels: the banner and the frame below it span the width; the texts in
// the frame keep kTextMargin from its sides; the two link rows are centred
// as a block, kLabelGap between label and link, so a long address in a wide
// font still shows whole; kGap separates the blocks.
constexpr int kBannerHeight = 40;
constexpr int kFrameHeight = 150;
constexpr int kTextMargin = 20;
constexpr int kLabelGap = 8;
constexpr int kRowHeight = 20;
constexpr int kGap = 10;
constexpr int kOkWidth = 80;
constexpr int kOkHeight = 25;

QString Text(std::string_view group, std::string_view key) {
    return QString::fromStdString(CatalogText(group, key));
}

QLabel* CentredText(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    label->setFixedHeight(kRowHeight);
    return label;
}

// A link shows the address; a click hands target to the desktop.
QLabel* LinkText(const QString& shown, const std::string& target, QWidget* parent) {
    auto* link =
        new QLabel(QStringLiteral("<a href=\"link\">%1</a>").arg(shown.toHtmlEscaped()), parent);
    link->setTextFormat(Qt::RichText);
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    link->setOpenExternalLinks(false);
    link->setCursor(Qt::PointingHandCursor);
    link->setFixedHeight(kRowHeight);
    QObject::connect(link, &QLabel::linkActivated, link,
                     [link, target] { OpenWithShell(link->window(), target); });
    return link;
}

}  // namespace

AboutWindow::AboutWindow(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("AboutWindow"));
    setWindowTitle(Text("About", "Title"));
    setFixedSize(kAboutWidth, kAboutHeight);

    auto* banner = new QLabel(this);
    banner->setObjectName(QStringLiteral("AboutBanner"));
    banner->setPixmap(QPixmap::fromImage(AboutBanner));
    banner->setFixedSize(kAboutWidth, kBannerHeight);

    okButton_ = new QPushButton(Text("Dialog", "OK"), this);
    okButton_->setFixedSize(kOkWidth, kOkHeight);
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(banner);
    column->addWidget(BuildFrame());
    column->addSpacing(kGap);
    column->addWidget(okButton_, 0, Qt::AlignHCenter);
    column->addStretch(1);
}

QWidget* AboutWindow::BuildFrame() {
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("AboutFrame"));
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setFixedSize(kAboutWidth, kFrameHeight);

    webLink_ =
        LinkText(QString::fromStdString(std::string(HomePageUrl)), std::string(HomePageUrl), frame);
    webLink_->setObjectName(QStringLiteral("AboutWebLink"));
    mailLink_ = LinkText(QString::fromStdString(std::string(SupportMailAddress)),
                         "mailto:" + std::string(SupportMailAddress), frame);
    mailLink_->setObjectName(QStringLiteral("AboutMailLink"));

    // Columns: stretch, label, link, stretch.
    auto* links = new QGridLayout();
    links->setContentsMargins(0, 0, 0, 0);
    links->setHorizontalSpacing(kLabelGap);
    links->setVerticalSpacing(0);
    links->addWidget(new QLabel(Text("About", "Website"), frame), 0, 1);
    links->addWidget(webLink_, 0, 2);
    links->addWidget(new QLabel(Text("About", "Email"), frame), 1, 1);
    links->addWidget(mailLink_, 1, 2);
    links->setColumnStretch(0, 1);
    links->setColumnStretch(3, 1);

    auto* column = new QVBoxLayout(frame);
    column->setContentsMargins(kTextMargin, kGap, kTextMargin, 0);
    column->setSpacing(0);
    column->addWidget(CentredText(QString::fromStdString(FullTitle()), frame));
    column->addWidget(CentredText(QString::fromStdString(std::string(CopyrightNotice)), frame));
    column->addSpacing(kGap);
    column->addLayout(links);
    column->addStretch(1);
    return frame;
}

AboutWindow* OpenAboutWindow(QWidget* owner) {
    auto* about = new AboutWindow(owner);
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->open();  // window-modal: the main window takes no input meanwhile
    about->activateWindow();
    return about;
}

}  // namespace tarvik
