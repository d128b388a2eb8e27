#include "gui_test_support.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QMainWindow>
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

bool IsPlainMainWindow(const QWidget* widget) {
    return qobject_cast<const QMainWindow*>(widget) != nullptr;
}

QString Describe(const QWidget* widget) {
    return QStringLiteral("'%1' (%2)")
        .arg(widget->windowTitle(), widget->metaObject()->className());
}

bool IsControl(QAccessible::Role role) {
    switch (role) {
        case QAccessible::PushButton:
        case QAccessible::CheckBox:
        case QAccessible::RadioButton:
        case QAccessible::ComboBox:
        case QAccessible::EditableText:
        case QAccessible::SpinBox:
        case QAccessible::Slider:
        case QAccessible::List:
        case QAccessible::ButtonMenu:
        case QAccessible::ButtonDropDown:
        case QAccessible::MenuItem:
        case QAccessible::PageTab:
            return true;
        default:
            return false;
    }
}

void CollectUnnamed(QAccessibleInterface* node, QStringList& unnamed) {
    if (node == nullptr || !node->isValid()) {
        return;
    }
    const QAccessible::Role role = node->role();
    // Closed menus are hidden, yet their items are what the menu bar offers.
    const bool menu = role == QAccessible::MenuItem || role == QAccessible::PopupMenu;
    if (node->state().invisible && !menu) {
        return;
    }
    if (IsControl(role) && node->text(QAccessible::Name).trimmed().isEmpty()) {
        QObject* object = node->object();
        unnamed << QStringLiteral("%1 '%2' (%3)")
                       .arg(QAccessible::staticMetaObject
                                .enumerator(QAccessible::staticMetaObject.indexOfEnumerator("Role"))
                                .valueToKey(role))
                       .arg(object != nullptr ? object->objectName() : QString())
                       .arg(object != nullptr ? object->metaObject()->className() : "?");
    }
    if (role == QAccessible::ComboBox) {
        return;  // its entries are its content, not controls
    }
    for (int i = 0; i < node->childCount(); ++i) {
        CollectUnnamed(node->child(i), unnamed);
    }
}

}  // namespace

QStringList UnnamedControls(QWidget* root) {
    QStringList unnamed;
    CollectUnnamed(QAccessible::queryAccessibleInterface(root), unnamed);
    return unnamed;
}

std::string MakeFolder(const std::string& name) {
    const QString path = QString::fromStdString(g_root + name);
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    return path.toStdString() + "/";
}

void UsePrivateUserFolders(const std::string& name) {
    // Unique per process, so that a program run beside another run of
    // itself (each case alone, repeated runs) never shares its folders.
    QDir().mkpath(QString::fromStdString(OutputFolder()));
    std::string pattern = OutputFolder() + "gui-" + name + ".XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        qFatal("cannot make a folder under %s", OutputFolder().c_str());
    }
    g_root = pattern + "/";
    const std::string runtime = MakeFolder("runtime");
    chmod(runtime.c_str(), 0700);
    qputenv("HOME", QByteArray::fromStdString(MakeFolder("home")));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(MakeFolder("config")));
    qputenv("XDG_CACHE_HOME", QByteArray::fromStdString(MakeFolder("cache")));
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(MakeFolder("data")));
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime));
    // No desktop's platform theme: its file dialogs and remembered state
    // differ from machine to machine.
    qunsetenv("QT_QPA_PLATFORMTHEME");
    qunsetenv("XDG_CURRENT_DESKTOP");
    qunsetenv("DESKTOP_SESSION");
}

int EndPrivateUserFolders(int status) {
    if (status == 0) {
        QDir(QString::fromStdString(g_root)).removeRecursively();
    }
    return status;
}

void PrepareWindowTest() {
    PrepareProcess();
    Settings.ConfigFilePath = ConfigFilePath();
    LoadBuiltInImages();
    ScanThemes();
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

QString OpenDialogs() {
    QStringList open;
    for (const QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && !IsPlainMainWindow(widget)) {
            open << Describe(widget);
        }
    }
    return open.isEmpty() ? QStringLiteral("none") : open.join(QStringLiteral(", "));
}

ModalAnswerer::ModalAnswerer(std::deque<Step> steps, std::chrono::milliseconds bound)
    : steps_(std::move(steps)), bound_(bound), deadline_(bound) {
    connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::Poll);
    timer_.start(kAnswerPollMilliseconds);
}

void ModalAnswerer::Poll() {
    if (!failure_.isEmpty()) {
        GiveUp();  // keeps closing what the command opens after the failure
        return;
    }
    if (!steps_.empty() && steps_.front().Act()) {
        steps_.pop_front();
        deadline_.setRemainingTime(bound_);
    }
    if (steps_.empty()) {
        timer_.stop();
    } else if (deadline_.hasExpired()) {
        failure_ = QStringLiteral("waited %1 s for %2; open dialogs: %3")
                       .arg(std::chrono::duration<double>(bound_).count())
                       .arg(steps_.front().What, OpenDialogs());
        GiveUp();
    }
}

void ModalAnswerer::GiveUp() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (!widget->isVisible() || IsPlainMainWindow(widget)) {
            continue;
        }
        if (auto* dialog = qobject_cast<QDialog*>(widget)) {
            QTimer::singleShot(0, dialog, [dialog] { dialog->done(QDialog::Rejected); });
        } else {
            QTimer::singleShot(0, widget, [widget] { widget->close(); });
        }
    }
}

bool ModalAnswerer::Finish() {
    while (!Done() && failure_.isEmpty()) {
        QTest::qWait(kAnswerPollMilliseconds);
    }
    return Done();
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
    return {QStringLiteral("a message box to answer"), [button, texts] {
                QMessageBox* box = VisibleMessageBox();
                if (box == nullptr) {
                    return false;
                }
                texts->append(box->text());
                QAbstractButton* press = box->button(button);
                QTimer::singleShot(0, press, [press] { press->click(); });
                return true;
            }};
}

}  // namespace tarvik::test
