#include "gui/screenshot_mode.h"

#include <sys/stat.h>

#include <QBuffer>
#include <QComboBox>
#include <QEvent>
#include <QEventLoop>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <array>
#include <cmath>
#include <span>

#include "core/atomic_file.h"
#include "core/formats.h"
#include "core/job.h"
#include "core/product.h"
#include "core/settings.h"
#include "gui/images.h"
#include "gui/main_window.h"

namespace tarvik {
namespace {

constexpr std::string_view kSampleFolder = "/images/";
constexpr std::array<std::string_view, 7> kSampleNames = {
    "pic0102", "picture_a", "picture_b", "quorvane", "layout-haus", "summer", "winter"};
constexpr std::size_t kShownSample = 3;
constexpr std::string_view kSampleOutputFolder = "/converted/";
// Where and how long the window is shown.
constexpr int kWindowX = 400;
constexpr int kWindowY = 400;
constexpr int kShowMilliseconds = 500;
// The address: 8 points at 96 pixels per inch, kept clear of the corner.
constexpr std::string_view kAddressFont = "Tahoma";
constexpr int kAddressPixelSize = 11;
constexpr int kAddressRightGap = 35;
constexpr int kAddressBottomGap = 26;

bool IsFolder(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool SaveJpeg(const QImage& picture, const std::string& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "JPG", kScreenshotQuality)) {
        return false;
    }
    const std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                             static_cast<std::size_t>(bytes.size()));
    return WriteFileAtomically(path, data, TempFile::Flush::kNone);
}

// The close box ends the wait instead of closing: the window must still be
// there to be captured, and closing it would store the settings.
class CloseEndsWait : public QObject {
  public:
    explicit CloseEndsWait(QEventLoop& loop) : loop_(loop) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close) {
            event->ignore();
            loop_.quit();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QEventLoop& loop_;
};

void ShowSampleValues(const MainWindow& window) {
    const MainControls& controls = window.Controls();
    controls.InputFileBox->setText(QString::fromStdString(ScreenshotSamplePaths()[kShownSample]));
    controls.OutputFolderBox->addItem(MenuIcon("FavFolder"),
                                      QString::fromStdString(std::string(kSampleOutputFolder)));
    controls.OutputFolderBox->setCurrentIndex(controls.OutputFolderBox->count() - 1);
    controls.OutputFormatBox->setFocus();
    controls.OutputFolderBox->setFocus();
    window.ConvertButton()->setFocus();
}

}  // namespace

std::string ScreenshotFolder(const std::string& argument) {
    std::string folder = argument.empty() ? Job.ProgramFolder : argument;
    if (folder.empty() || !IsFolder(folder)) {
        return {};
    }
    if (!folder.ends_with('/')) {
        folder.push_back('/');
    }
    return folder;
}

std::vector<std::string> ScreenshotSamplePaths() {
    std::vector<std::string> paths;
    for (const std::string_view name : kSampleNames) {
        const std::string& extension =
            InputFormats.empty()
                ? std::string()
                : InputFormats[static_cast<std::size_t>(NewRandomNumber()) % InputFormats.size()];
        paths.push_back(std::string(kSampleFolder) + std::string(name) + "." + extension);
    }
    return paths;
}

QSize ThumbnailSize(QSize full) {
    if (full.width() <= 0) {
        return {};
    }
    const double height = static_cast<double>(kThumbnailWidth) * full.height() / full.width();
    return {kThumbnailWidth, static_cast<int>(std::lround(height))};
}

QImage CaptureWindow(QWidget& window) {
    const QRect frame = window.frameGeometry();
    if (QScreen* screen = window.screen(); screen != nullptr) {
        const QPoint corner = frame.topLeft() - screen->geometry().topLeft();
        const QPixmap shot =
            screen->grabWindow(0, corner.x(), corner.y(), frame.width(), frame.height());
        if (!shot.isNull() && shot.size() == frame.size()) {
            return shot.toImage();
        }
    }
    return window.grab().toImage();  // the inside alone, when the screen cannot be read
}

void DrawHomePageAddress(QImage& picture) {
    QFont font(QString::fromStdString(std::string(kAddressFont)));
    font.setPixelSize(kAddressPixelSize);
    const QString address = QString::fromStdString(std::string(HomePageUrl));
    const QFontMetrics metrics(font);
    const int x = picture.width() - metrics.horizontalAdvance(address) - kAddressRightGap;
    const int top = picture.height() - kAddressBottomGap;

    QPainter painter(&picture);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPoint(x, top + metrics.ascent()), address);
}

bool SaveScreenshots(const QImage& picture, const std::string& folder) {
    const QImage full = picture.convertToFormat(QImage::Format_RGB32);
    const QImage thumbnail =
        full.scaled(ThumbnailSize(full.size()), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const bool fullSaved = SaveJpeg(full, folder + std::string(kScreenshotFileName));
    const bool thumbnailSaved = SaveJpeg(thumbnail, folder + std::string(kThumbnailFileName));
    return fullSaved && thumbnailSaved;
}

int RunScreenshotMode(const std::string& folder) {
    Job.RunMode = "T";
    Settings.Window.X = kWindowX;
    Settings.Window.Y = kWindowY;
    Settings.Window.Width = kMainWindowMinWidth;
    Settings.Window.Height = kMainWindowHeight;
    Settings.Window.IsMaximized = 0;

    MainWindow window;
    window.Finish();
    ShowSampleValues(window);

    QEventLoop loop;
    CloseEndsWait closeEndsWait(loop);
    window.installEventFilter(&closeEndsWait);
    QTimer::singleShot(kShowMilliseconds, &loop, &QEventLoop::quit);
    loop.exec();
    window.removeEventFilter(&closeEndsWait);

    QImage picture = CaptureWindow(window);
    DrawHomePageAddress(picture);
    return SaveScreenshots(picture, folder) ? 0 : 1;
}

}  // namespace tarvik
