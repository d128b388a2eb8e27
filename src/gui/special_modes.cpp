#include "gui/special_modes.h"

#include <sys/stat.h>

#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <array>
#include <cmath>

#include "core/catalog.h"
#include "core/formats.h"
#include "core/job.h"
#include "core/product.h"
#include "gui/desktop_links.h"
#include "gui/images.h"
#include "gui/main_window.h"

namespace tarvik {
namespace {

constexpr int kUninstallWidth = 300;
constexpr int kUninstallHeight = 100;

constexpr std::array<std::string_view, 7> kSampleNames = {
    "pic0102", "picture_a", "picture_b", "quorvane", "layout-haus", "summer", "winter"};
constexpr std::string_view kSampleFolder = "/images/";
constexpr std::string_view kSampleOutputFolder = "/converted/";
constexpr std::size_t kShownSample = 3;
constexpr int kShotX = 400;
constexpr int kShotY = 400;
constexpr int kSettleMilliseconds = 500;
constexpr int kThumbnailWidth = 180;
constexpr int kJpegQuality = 90;  // 9 on a scale of 0 to 10
constexpr int kCaptionPoints = 8;
constexpr int kCaptionRight = 35;
constexpr int kCaptionBottom = 26;

QString Text(std::string_view group, std::string_view key) {
    return QString::fromStdString(CatalogText(group, key));
}

bool IsFolder(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string SamplePath(std::string_view name) {
    const std::string extension =
        InputFormats.empty()
            ? std::string("jpg")
            : InputFormats[static_cast<std::size_t>(NewRandomNumber()) % InputFormats.size()];
    return std::string(kSampleFolder) + std::string(name) + "." + extension;
}

void FillSamples(MainWindow& window) {
    std::vector<std::string> samples;
    for (std::string_view name : kSampleNames) {
        samples.push_back(SamplePath(name));
    }
    const MainControls& c = window.Controls();
    c.InputFileBox->setText(QString::fromStdString(samples[kShownSample]));
    c.OutputFolderBox->addItem(MenuIcon("FavFolder"),
                               QString::fromStdString(std::string(kSampleOutputFolder)));
    c.OutputFolderBox->setCurrentIndex(c.OutputFolderBox->count() - 1);
    c.OutputFormatBox->setFocus();
    c.OutputFolderBox->setFocus();
    window.ConvertButton()->setFocus();
}

// The window with its frame where the screen can be read, else its inside.
QImage Capture(QWidget& window) {
    QScreen* screen = window.screen();
    if (screen != nullptr) {
        const QRect frame = window.frameGeometry();
        const QPixmap shot =
            screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
        if (!shot.isNull() && shot.size() == frame.size()) {
            return shot.toImage();
        }
    }
    return window.grab().toImage();
}

void DrawCaption(QImage& picture) {
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(kCaptionPoints);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QString caption = QString::fromStdString(std::string(HomePageUrl));
    const QFontMetrics metrics(font);
    const int x = picture.width() - metrics.horizontalAdvance(caption) - kCaptionRight;
    const int y = picture.height() - kCaptionBottom;
    painter.drawText(x, y + metrics.ascent(), caption);
}

}  // namespace

UninstallWindow::UninstallWindow() {
    setWindowTitle(Text("Uninstall", "Title"));
    setFixedSize(kUninstallWidth, kUninstallHeight);
    visit_ = new QCheckBox(Text("Uninstall", "Uninstall Text"), this);
    visit_->setChecked(true);
    auto* next = new QPushButton(Text("Uninstall", "Next"), this);
    next->setDefault(true);
    connect(next, &QPushButton::clicked, this, &UninstallWindow::Next);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(30, 16, 20, 12);
    layout->addWidget(visit_);
    layout->addStretch(1);
    layout->addWidget(next, 0, Qt::AlignRight);
}

void UninstallWindow::Next() {
    if (visit_->isChecked()) {
        OpenWithShell(std::string(UninstallPageUrl));
    }
    accept();
}

int RunUninstallWindow() {
    UninstallWindow window;
    window.exec();
    return 0;
}

int RunScreenshotMode(const std::string& folder) {
    std::string target = folder.empty() ? Job.ProgramFolder : folder;
    if (!target.ends_with('/')) {
        target += '/';
    }
    if (!IsFolder(target)) {
        return 0;
    }
    Job.RunMode = "T";
    MainWindow window;
    window.move(kShotX, kShotY);
    window.resize(kMainWindowMinWidth, kMainWindowHeight);
    window.Finish();
    FillSamples(window);

    QEventLoop settle;
    QTimer::singleShot(kSettleMilliseconds, &settle, &QEventLoop::quit);
    settle.exec();

    QImage picture = Capture(window).convertToFormat(QImage::Format_RGB32);
    DrawCaption(picture);
    picture.save(QString::fromStdString(target + "tarvik1.jpg"), "JPEG", kJpegQuality);
    const int height = static_cast<int>(
        std::lround(static_cast<double>(kThumbnailWidth) * picture.height() / picture.width()));
    picture.scaled(kThumbnailWidth, height, Qt::IgnoreAspectRatio, Qt::FastTransformation)
        .save(QString::fromStdString(target + "tarvik1x.jpg"), "JPEG", kJpegQuality);
    return 1;
}

}  // namespace tarvik
