#include "gui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

#include "core/catalog.h"
#include "core/formats.h"
#include "core/job.h"
#include "core/product.h"
#include "core/settings.h"
#include "core/text.h"
#include "gui/about_window.h"
#include "gui/commands.h"
#include "gui/conversion_run.h"
#include "gui/desktop_links.h"
#include "gui/finder_window.h"
#include "gui/images.h"
#include "gui/input_folders.h"
#include "gui/mnemonics.h"
#include "gui/preferences/preferences_dialog.h"
#include "gui/shutdown.h"
#include "gui/themes.h"
#include "gui/update_prompts.h"
#include "gui/window_geometry.h"

namespace tarvik {
namespace {

// Panel geometry in pixels: margins, the gaps beside the small buttons,
// the small buttons and the Convert button.
constexpr int kPanelMargin = 10;
constexpr int kPanelTop = 5;
constexpr int kBoxButtonGap = 4;
constexpr int kButtonConvertGap = 12;
constexpr int kFieldButtonSize = 24;
constexpr int kFieldIconSize = 16;
constexpr int kConvertButtonSize = 100;
constexpr int kConvertPictureSize = 64;
constexpr int kNoticeBottom = 8;
constexpr int kStatusMargin = 4;
// Alt+X is the Exit command's shortcut, never a mnemonic.
constexpr QStringView kExitLetter = u"x";
// Pending events get this long after a dropped file.
constexpr int kSettleMilliseconds = 2;

enum PanelColumn {
    kBoxColumn = 0,
    kGapColumn = 1,
    kButtonColumn = 2,
    kWideGapColumn = 3,
    kConvertColumn = 4
};

QString Text(std::string_view group, std::string_view key) {
    return QString::fromStdString(CatalogText(group, key));
}

}  // namespace

MainWindow::MainWindow() {
    setWindowTitle(QString::fromStdString(FullTitle()));
    setAcceptDrops(true);
    BuildActions();
    BuildMainMenu();
    BuildMainToolbar();

    auto* statusText = new QLabel(this);
    statusText->setContentsMargins(kStatusMargin, 0, kStatusMargin, 0);
    statusBar()->addWidget(statusText, 1);
    controls_.StatusText = statusText;
    controls_.Window = this;

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, kNoticeBottom);
    column->setSpacing(0);
    column->addWidget(BuildPanel());
    column->addStretch(1);
    auto* notice = new QLabel(Text("General", "Notice"), central);
    notice->setObjectName(QStringLiteral("NoticeLabel"));
    notice->setContentsMargins(kPanelMargin, 0, kPanelMargin, 0);
    column->addWidget(notice);
    setCentralWidget(central);
    FitHeight();
}

void MainWindow::BuildActions() {
    for (const CommandRecord& command : CommandTable()) {
        auto* action = new QAction(CommandIcon(command.Icon), Text("Menu", command.MenuKey), this);
        action->setToolTip(action->text());
        action->setData(command.Number);
        action->setEnabled(command.Available);
        if (command.Shortcut != QKeyCombination()) {
            action->setShortcut(QKeySequence(command.Shortcut));
            action->setShortcutContext(Qt::WindowShortcut);
        }
        const int number = command.Number;
        connect(action, &QAction::triggered, this, [this, number] { RunCommand(number); });
        addAction(action);  // shortcuts work whether or not a menu shows the action
        actions_[number] = action;
    }
}

QAction* MainWindow::CommandAction(int number) const {
    const auto it = actions_.find(number);
    return it != actions_.end() ? it->second : nullptr;
}

// Titles and items get mnemonics of their own (Alt+X stays Exit's).
void MainWindow::BuildMainMenu() {
    menuBar()->clear();
    MnemonicSet titles(kExitLetter);
    for (const MenuRecord& menu : MenuLayout()) {
        QMenu* items = menuBar()->addMenu(titles.Mark(Text("Menu", menu.TitleKey)));
        MnemonicSet letters;
        for (const int number : menu.Items) {
            if (number == kSeparator) {
                items->addSeparator();
                continue;
            }
            QAction* action = CommandAction(number);
            action->setText(letters.Mark(Text("Menu", FindCommand(number)->MenuKey)));
            items->addAction(action);
        }
    }
    menuLetters_ = titles.Taken();
}

void MainWindow::BuildMainToolbar() {
    if (toolbar_ == nullptr) {
        toolbar_ = addToolBar(QStringLiteral("MainToolbar"));
        toolbar_->setObjectName(QStringLiteral("MainToolbar"));
        toolbar_->setMovable(false);
        toolbar_->setFloatable(false);
        toolbar_->setContextMenuPolicy(Qt::PreventContextMenu);
    }
    toolbar_->clear();
    for (const CommandRecord& command : CommandTable()) {
        CommandAction(command.Number)->setIcon(CommandIcon(command.Icon));
    }
    for (const int number : ToolbarLayout()) {
        if (number == kSeparator) {
            toolbar_->addSeparator();
        } else {
            toolbar_->addAction(CommandAction(number));
        }
    }
    const int pixels = IconPixelSize(Settings.Interface.UiSize);
    toolbar_->setIconSize(QSize(pixels, pixels));
    if (controls_.Window != nullptr) {
        FitHeight();
    }
}

QToolButton* MainWindow::BuildFieldButton(int command) {
    auto* button = new QToolButton();
    button->setDefaultAction(CommandAction(command));
    button->setAutoRaise(true);
    button->setIconSize(QSize(kFieldIconSize, kFieldIconSize));
    button->setFixedSize(kFieldButtonSize, kFieldButtonSize);
    return button;
}

QWidget* MainWindow::BuildPanel() {
    auto* panel = new QWidget();
    panel->setObjectName(QStringLiteral("MainPanel"));
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(kPanelMargin, kPanelTop, kPanelMargin, 0);
    grid->setHorizontalSpacing(0);
    grid->setVerticalSpacing(0);
    grid->setColumnStretch(kBoxColumn, 1);
    grid->setColumnMinimumWidth(kGapColumn, kBoxButtonGap);
    grid->setColumnMinimumWidth(kWideGapColumn, kButtonConvertGap);

    controls_.InputFileBox = new QLineEdit();
    controls_.InputFileBox->setAcceptDrops(false);  // a dropped file goes to the window
    controls_.OutputFolderBox = new QComboBox();
    controls_.OutputFormatBox = new QComboBox();
    const std::array<std::pair<std::string_view, QWidget*>, 3> rows = {{
        {"Input File", controls_.InputFileBox},
        {"Output Folder", controls_.OutputFolderBox},
        {"Output Format", controls_.OutputFormatBox},
    }};
    const std::array<int, 3> commands = {kCommandAddInputFile, kCommandSelectOutputFolder,
                                         kCommandFormatOptions};
    // The labels' mnemonics reach their boxes; the menu bar's stay free.
    MnemonicSet letters(menuLetters_);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int row = static_cast<int>(2 * i);
        auto* label = new QLabel(letters.Mark(Text("General", rows[i].first)));
        label->setBuddy(rows[i].second);
        rows[i].second->setAccessibleName(PlainText(label->text()));
        grid->addWidget(label, row, kBoxColumn);
        grid->addWidget(rows[i].second, row + 1, kBoxColumn);
        fieldButtons_[i] = BuildFieldButton(commands[i]);
        grid->addWidget(fieldButtons_[i], row + 1, kButtonColumn);
    }

    convertButton_ = new QPushButton();
    convertButton_->setObjectName(QStringLiteral("ConvertButton"));
    convertButton_->setIcon(QIcon(ButtonPicture("Convert")));
    convertButton_->setIconSize(QSize(kConvertPictureSize, kConvertPictureSize));
    convertButton_->setFixedSize(kConvertButtonSize, kConvertButtonSize);
    convertButton_->setAccessibleName(Text("General", "Convert"));
    convertButton_->setToolTip(Text("General", "Convert"));
    grid->addWidget(convertButton_, 1, kConvertColumn, 5, 1, Qt::AlignTop);

    connect(convertButton_, &QPushButton::clicked, this, [this] { StartConversion(controls_); });
    connect(controls_.OutputFolderBox, &QComboBox::activated, this,
            [this] { Job.OutputFolder = controls_.OutputFolderBox->currentText().toStdString(); });
    connect(controls_.OutputFormatBox, &QComboBox::activated, this, [this] {
        const int index = controls_.OutputFormatBox->currentData().toInt();
        if (index >= 0 && index < static_cast<int>(OutputFormats.size())) {
            Settings.Output.Format = OutputFormats[static_cast<std::size_t>(index)];
        }
    });
    return panel;
}

// The height is fixed at 260 unless large toolbar icons need more.
void MainWindow::FitHeight() {
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (layout() != nullptr) {
        layout()->activate();
    }
    const int height = std::max(kMainWindowHeight, minimumSizeHint().height());
    setFixedHeight(height);
    setMinimumWidth(std::max(kMainWindowMinWidth, ToolbarWidth()));
}

// The width that shows every toolbar button: large icons need more than
// 510 pixels, and a narrower window would hide some in an overflow menu.
int MainWindow::ToolbarWidth() const {
    if (toolbar_ == nullptr) {
        return 0;
    }
    const QMargins margins = toolbar_->contentsMargins();
    int width = margins.left() + margins.right();
    int shown = 0;
    for (QAction* action : toolbar_->actions()) {
        if (const QWidget* item = toolbar_->widgetForAction(action); item != nullptr) {
            width += item->sizeHint().width();
            ++shown;
        }
    }
    const int spacing = toolbar_->layout() != nullptr ? toolbar_->layout()->spacing() : 0;
    const int frame =
        toolbar_->style()->pixelMetric(QStyle::PM_ToolBarFrameWidth, nullptr, toolbar_);
    const int handle =
        toolbar_->style()->pixelMetric(QStyle::PM_ToolBarItemMargin, nullptr, toolbar_);
    return width + spacing * std::max(0, shown - 1) + 2 * (frame + handle);
}

void MainWindow::FillOutputFormatBox() {
    QComboBox* box = controls_.OutputFormatBox;
    box->clear();
    int selected = 0;
    const QIcon icon = MenuIcon("New");
    for (std::size_t i = 0; i < OutputFormats.size(); ++i) {
        const std::string& key = OutputFormats[i];
        if (key.empty()) {
            continue;
        }
        const FormatRecord* format = OutputFormatRecord(key);
        const std::string description = format != nullptr ? std::string(format->Description) : "";
        if (key == Settings.Output.Format) {
            selected = box->count();
        }
        box->addItem(icon, QString::fromStdString(UpperAscii(key) + " (" + description + ")"),
                     static_cast<int>(i));
    }
    box->setCurrentIndex(box->count() > 0 ? selected : -1);
}

void MainWindow::Finish() {
    const QRect fitted = FitToScreens(
        {Settings.Window.X, Settings.Window.Y, Settings.Window.Width, Settings.Window.Height},
        AvailableScreenAreas(), minimumSize(), maximumSize());
    move(fitted.topLeft());
    resize(fitted.size());
    if (Settings.File.RecentOutFolders.empty()) {
        controls_.OutputFolderBox->addItem(QString());
    }
    FillOutputFormatBox();
    NewInput(controls_);
    if (Settings.Window.IsMaximized == 1) {
        showMaximized();
    } else {
        show();
        KeepFrameOnScreen();
    }
}

// Once shown, the frame is known (under a window manager once it has
// framed the window, which it has by the first activation): the frame too
// stays inside the screen.
void MainWindow::KeepFrameOnScreen() {
    if (isMaximized() || isMinimized() || isFullScreen()) {
        return;
    }
    const QRect client(pos(), size());
    const QRect fitted = FitFrameToScreens(frameGeometry(), client, AvailableScreenAreas(),
                                           minimumSize(), maximumSize());
    if (fitted != client) {
        resize(fitted.size());
        move(fitted.topLeft());
    }
}

void MainWindow::RunCommand(int number) {
    switch (number) {
        case kCommandNew:
            NewInput(controls_);
            break;
        case kCommandExit:
            close();
            break;
        case kCommandAddInputFile:
            SelectInputFile(controls_);
            break;
        case kCommandSelectOutputFolder:
            SelectOutputFolder(controls_);
            break;
        case kCommandConvert:
            StartConversion(controls_);
            break;
        case kCommandPreferences:
            OpenPreferencesDialog(kGeneralPage);
            break;
        case kCommandFormatOptions:
            OpenPreferencesDialog(kOutputPage);
            break;
        case kCommandManual:
            OpenWithShell(this, ManualPath());
            break;
        case kCommandFeedback:
            OpenWithShell(this, FeedbackLink());
            break;
        case kCommandHomepage:
            OpenWithShell(this, std::string(HomePageUrl));
            break;
        // The small dialogs and the update check.
        case kCommandFindConverter:
            OpenFinderWindow(this);
            break;
        case kCommandCheckUpdates:
            CheckForUpdates(this);
            break;
        case kCommandAbout:
            OpenAboutWindow(this);
            break;
        default:
            break;  // commands whose windows are not part of this build
    }
}

// The Preferences dialog and the refresh that takes over its changes.
void MainWindow::OpenPreferencesDialog(int startPage) {
    PreferencesStartPage = startPage;
    OpenPreferences(this, [this](int entry) { RefreshMainWindow(entry); });
}

void MainWindow::RefreshMainWindow(int outputFormatEntry) {
    if (InterfaceReload == kReloadIcons) {
        LoadThemeImages(false, false, true);
        BuildMainToolbar();
    } else if (InterfaceReload == kReloadTheme) {
        LoadBuiltInImages();
        LoadThemeImages(true, true, true);
        BuildMainMenu();
        BuildMainToolbar();
        convertButton_->setIcon(QIcon(ButtonPicture("Convert")));
    }
    InterfaceReload = 0;
    if (outputFormatEntry >= 0 && outputFormatEntry < controls_.OutputFormatBox->count()) {
        controls_.OutputFormatBox->setCurrentIndex(outputFormatEntry);
    }
    if (controls_.OutputFolderBox->count() != Settings.Advanced.OutFoldersNumber) {
        RefreshOutputFolderBox(controls_);
    }
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
}

// Only the first dropped name is taken: the window holds one input file.
void MainWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty()) {
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    const QString path = urls.front().toLocalFile();
    if (!path.isEmpty()) {
        TakeDroppedFile(path.toStdString());
    }
}

void MainWindow::TakeDroppedFile(const std::string& path) {
    AddInputFile(controls_, path);
    QCoreApplication::processEvents(QEventLoop::AllEvents, kSettleMilliseconds);
}

void MainWindow::TakeHandOver(const std::string& file) {
    if (!file.empty()) {
        pendingFile_ = file;
        TakePendingFile();
    }
    ComeToFront();
}

// A dialog (a run's progress among them) holds the window: the file waits
// until it closes, as a drop would have to.
void MainWindow::TakePendingFile() {
    if (pendingFile_.empty() || QApplication::activeModalWidget() != nullptr) {
        return;
    }
    TakeDroppedFile(std::exchange(pendingFile_, {}));
}

// A window manager hands the keyboard back when a dialog closes; without
// one it stays with nobody, and the next box would open without it and
// not hear Return.
void MainWindow::TakeBackKeyboard() {
    if (QApplication::activeWindow() == nullptr && QApplication::activeModalWidget() == nullptr &&
        isVisible()) {
        activateWindow();
    }
}

void MainWindow::ComeToFront() {
    if (isMinimized()) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
    }
    show();
    raise();
    activateWindow();
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && !frameChecked_) {
        frameChecked_ = true;
        KeepFrameOnScreen();
    }
    if (event->type() == QEvent::WindowUnblocked) {
        // Once the dialog that blocked the window is gone for good.
        QTimer::singleShot(0, this, [this] {
            TakePendingFile();
            TakeBackKeyboard();
        });
    }
    return QMainWindow::event(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    SaveWindowSettings(*this);
    event->accept();
}

}  // namespace tarvik
