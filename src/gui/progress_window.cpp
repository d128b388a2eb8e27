#include "gui/progress_window.h"

#include <algorithm>
#include <climits>
#include <vector>

#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "core/catalog.h"
#include "engine/conversion.h"
#include "gui/message_boxes.h"

namespace tarvik {
namespace {

constexpr int kPollMilliseconds = 15;
constexpr int kTextWidth = 280;
constexpr int kFallbackCharWidth = 7;
constexpr std::string_view kMeasureText = "abc123:\\-";
constexpr int kWindowWidth = 300;
constexpr int kWindowHeight = 110;
constexpr int kOkWidth = 80;
constexpr int kOkHeight = 25;
// "..." and a character on each side.
constexpr int kShortestShortened = 5;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// The byte offsets where the UTF-8 text's characters begin.
std::vector<std::size_t> CharacterStarts(const std::string& text) {
    constexpr unsigned char kContinuationMask = 0xC0;
    constexpr unsigned char kContinuation = 0x80;
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & kContinuationMask) != kContinuation) {
            starts.push_back(i);
        }
    }
    return starts;
}

}  // namespace

// Counted in characters, so that a name in any script is cut between two.
std::string ShortenPath(const std::string& text, int maxChars) {
    const std::vector<std::size_t> starts = CharacterStarts(text);
    if (text.empty() || static_cast<int>(starts.size()) <= maxChars) {
        return text;
    }
    const auto keep = static_cast<std::size_t>(std::max(0, (maxChars - 3) / 2));
    const std::size_t headEnd = keep < starts.size() ? starts[keep] : text.size();
    const std::size_t tailStart = keep == 0 ? text.size() : starts[starts.size() - keep];
    return text.substr(0, headEnd) + "..." + text.substr(tailStart);
}

std::string FitPathToWidth(const std::string& file, int maxChars, const QFontMetrics& metrics,
                           int width) {
    const auto fits = [&metrics, width](const std::string& text) {
        return metrics.horizontalAdvance(Q(text)) <= width;
    };
    std::string shown = ShortenPath(file, maxChars);
    int chars = std::min(maxChars, static_cast<int>(CharacterStarts(file).size()));
    while (!fits(shown) && chars > kShortestShortened) {
        --chars;
        shown = ShortenPath(file, chars);
    }
    return shown;
}

ProgressWindow::ProgressWindow(const MainControls& controls, int fileCount)
    : QDialog(controls.Window), controls_(controls), count_(fileCount) {
    setWindowTitle(Q(CatalogText("Dialog", "Convert Progress")));
    setWindowModality(Qt::WindowModal);
    setFixedSize(kWindowWidth, kWindowHeight);

    text_ = new QLabel(this);
    text_->setFixedWidth(kTextWidth);
    bar_ = new QProgressBar(this);
    bar_->setRange(0, count_ + 1);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    bar_->setFixedWidth(kTextWidth);
    ok_ = new QPushButton(Q(CatalogText("Dialog", "OK")), this);
    ok_->setFixedSize(kOkWidth, kOkHeight);
    ok_->setEnabled(false);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->addWidget(text_);
    layout->addWidget(bar_);
    layout->addWidget(ok_, 0, Qt::AlignHCenter);

    const int measured = QFontMetrics(font()).horizontalAdvance(Q(std::string(kMeasureText))) /
                         static_cast<int>(kMeasureText.size());
    charWidth_ = measured > 0 ? measured : kFallbackCharWidth;
    maxChars_ = kTextWidth / charWidth_;

    timer_ = new QTimer(this);
    timer_->setInterval(kPollMilliseconds);
    connect(timer_, &QTimer::timeout, this, &ProgressWindow::Poll);
}

void ProgressWindow::Run() {
    if (!StartConversionWorker()) {
        ShowEnd();
    } else {
        timer_->start();
    }
    exec();
}

std::string ProgressWindow::Counter(std::int32_t index) const {
    return FillPlaceholders(CatalogText("Msg", "Progress"), std::to_string(index),
                            std::to_string(count_));
}

void ProgressWindow::Poll() {
    if (ConversionWorkerRunning()) {
        const ProgressSnapshot now = ReadConversionProgress();
        if (now.Index > shownIndex_) {
            ShowIndex(now.Index, now.CurrentFile);
        }
        return;
    }
    ShowEnd();
}

void ProgressWindow::ShowIndex(std::int32_t index, const std::string& file) {
    shownIndex_ = index;
    setWindowTitle(Q(CatalogText("Dialog", "Convert Progress") + " " + Counter(index)));
    const bool tooWide =
        static_cast<long long>(CharacterStarts(file).size()) * charWidth_ > kTextWidth;
    // The average width is an estimate: the shortened path is cut further
    // until it fits, or its last characters would be cut off at the edge.
    text_->setText(Q(FitPathToWidth(file, tooWide ? maxChars_ : INT_MAX,
                                    QFontMetrics(text_->font()), kTextWidth)));
    bar_->setValue(index);
}

void ProgressWindow::ShowEnd() {
    timer_->stop();
    // The last file the worker reached, even when it ended between two polls.
    shownIndex_ = std::max(shownIndex_, ReadConversionProgress().Index);
    const std::int32_t converted = FinishConversionWorker();
    ended_ = true;
    if (stopRequested_) {
        const std::string stopped = CatalogText("Msg", "Conversion is not complete");
        SetStatusText(controls_, stopped);
        setWindowTitle(Q(stopped + " " + Counter(shownIndex_)));
        text_->setText(Q(stopped));
    } else {
        SetStatusText(controls_, CatalogText("Msg", "Conversion complete"));
        setWindowTitle(Q(CatalogText("Msg", "Conversion complete") + " " + Counter(shownIndex_)));
        text_->setText(Q(FillPlaceholders(CatalogText("Msg", "Files converted"),
                                          std::to_string(converted), std::to_string(count_))));
        bar_->setValue(count_ + 1);
    }
    ok_->setEnabled(true);
    ok_->setDefault(true);
    ok_->setFocus();
}

void ProgressWindow::AskToStop() {
    // No polling while the question is open: the worker is held anyway.
    timer_->stop();
    PauseConversionWorker();
    if (AskBreakConversion(this)) {
        stopRequested_ = true;
        StopConversionWorker();
    } else {
        ResumeConversionWorker();
    }
    timer_->start();
}

void ProgressWindow::reject() {
    if (ended_) {
        QDialog::reject();
    } else {
        AskToStop();
    }
}

}  // namespace tarvik
