#include "gui_test_support.h"

#include <sys/stat.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>

#include <fstream>
#include <sstream>

#include "core/config_file.h"
#include "core/settings.h"
#include "fixtures/jpeg_writer.h"
#include "gui/themes.h"
#include "gui/window_start.h"

namespace tarvik::test {
namespace {

constexpr int kAnswerPollMilliseconds = 10;
std::string g_root;

std::string OutputFolder() {
    return std::string(TARVIK_TEST_OUTPUT_DIR) + "/";
}

}  // namespace

std::string MakeFolder(const std::string& name) {
    const QString path = QString::fromStdString(g_root + name);
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    return path.toStdString() + "/";
}

void PrepareWindowTest(const std::string& name) {
    g_root = OutputFolder() + "gui-" + name + "/";
    QDir(QString::fromStdString(g_root)).removeRecursively();
    QDir().mkpath(QString::fromStdString(g_root));
    const std::string runtime = MakeFolder("runtime");
    chmod(runtime.c_str(), 0700);
    qputenv("HOME", QByteArray::fromStdString(MakeFolder("home")));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(MakeFolder("config")));
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime));
    PrepareProcess();
    Settings.ConfigFilePath = ConfigFilePath();
    LoadBuiltInImages();
    LoadThemeImages(true, true, true);
}

bool WritePhoto(const std::string& path, unsigned width, unsigned height) {
    return fixtures::WriteJpeg(path, fixtures::JpegSpec{.width = width, .height = height});
}

bool WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out);
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool Exists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

QString SaveScreenshot(QWidget* widget, const QString& name) {
    QDir().mkpath(QString::fromStdString(OutputFolder()));
    const QString path = QString::fromStdString(OutputFolder()) + name + ".png";
    widget->grab().save(path);
    return path;
}

ModalAnswerer::ModalAnswerer(std::deque<Step> steps) : steps_(std::move(steps)) {
    connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::Poll);
    timer_.start(kAnswerPollMilliseconds);
}

void ModalAnswerer::Poll() {
    if (!steps_.empty() && steps_.front()()) {
        steps_.pop_front();
    }
    if (steps_.empty()) {
        timer_.stop();
    }
}

QMessageBox* VisibleMessageBox() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget); box != nullptr && box->isVisible()) {
            return box;
        }
    }
    return nullptr;
}

ModalAnswerer::Step AnswerMessageBox(QMessageBox::StandardButton button, QStringList* texts) {
    return [button, texts] {
        QMessageBox* box = VisibleMessageBox();
        if (box == nullptr) {
            return false;
        }
        texts->append(box->text());
        QAbstractButton* press = box->button(button);
        QTimer::singleShot(0, press, [press] { press->click(); });
        return true;
    };
}

}  // namespace tarvik::test
