#include "gui/preferences/preferences_dialog.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "core/catalog.h"
#include "core/config_file.h"

namespace tarvik {

int PreferencesStartPage = kGeneralPage;

namespace {

constexpr std::array<std::string_view, kPreferencesPageCount> kCategories = {
    "General",    "Interface", "Input",     "Output",  "Transform",
    "Adjustment", "Frame",     "Watermark", "Advanced"};

constexpr int kMinimumWidth = 600;
constexpr int kMinimumHeight = 350;
constexpr int kCategoryWidth = 120;
constexpr int kPageWidth = 450;
constexpr int kPageHeight = 255;
constexpr int kMargin = 10;
constexpr int kHeaderHeight = 30;
constexpr int kHeaderPointSize = 10;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 25;

QString Text(std::string_view group, std::string_view key) {
    return QString::fromStdString(CatalogText(group, key));
}

QPushButton* DialogButton(std::string_view key) {
    auto* button = new QPushButton(Text("Dialog", key));
    button->setAutoDefault(false);  // Enter in a field must not close the dialog
    button->setDefault(false);
    button->setMinimumSize(kButtonWidth, kButtonHeight);
    return button;
}

// Return and Enter never press the button it watches, whatever the
// platform's keys for pressing a focused button are: Space does.
class ReturnDoesNotPress : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                event->accept();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

PreferencesDialog::PreferencesDialog(QWidget* mainWindow, Refresh refresh, Choosers choosers)
    : QDialog(mainWindow, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                              Qt::CustomizeWindowHint),
      choosers_(std::move(choosers)),
      refresh_(std::move(refresh)) {
    setObjectName(QStringLiteral("PreferencesDialog"));
    setWindowTitle(Text("Preferences", "Title"));
    setWindowModality(Qt::WindowModal);

    categories_ = new QListWidget();
    categories_->setFixedWidth(kCategoryWidth);
    categories_->setAccessibleName(Text("Dialog", "Categories"));
    stack_ = new QStackedWidget();
    stack_->setMinimumSize(kPageWidth, kPageHeight);
    pages_ = {
        new GeneralPage(&choosers_), new InterfacePage(&choosers_), new InputPage(&choosers_),
        new OutputPage(&choosers_),  new TransformPage(&choosers_), new AdjustmentPage(&choosers_),
        new FramePage(&choosers_),   new WatermarkPage(&choosers_), new AdvancedPage(&choosers_)};
    for (PreferencesPage* page : pages_) {
        stack_->addWidget(page);
    }

    auto* right = new QVBoxLayout();
    right->setSpacing(kMargin);
    right->addWidget(BuildHeader());
    right->addWidget(stack_, 1);
    auto* top = new QHBoxLayout();
    top->setSpacing(kMargin);
    top->addWidget(categories_);
    top->addLayout(right, 1);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    column->setSpacing(kMargin);
    column->addLayout(top, 1);
    column->addWidget(BuildButtons());

    connect(categories_, &QListWidget::currentRowChanged, this, &PreferencesDialog::ShowPage);
    Fill();
    const QSize hint = minimumSizeHint();
    setFixedSize(std::max(kMinimumWidth, hint.width()), std::max(kMinimumHeight, hint.height()));
}

QWidget* PreferencesDialog::BuildHeader() {
    auto* band = new QFrame();
    band->setObjectName(QStringLiteral("HeaderBand"));
    band->setFrameShape(QFrame::Box);
    band->setFrameShadow(QFrame::Plain);
    band->setAutoFillBackground(true);
    QPalette white = band->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    band->setPalette(white);
    band->setMinimumHeight(kHeaderHeight);
    header_ = new QLabel();
    QFont bold = header_->font();
    bold.setBold(true);
    bold.setPointSize(kHeaderPointSize);
    header_->setFont(bold);
    auto* line = new QHBoxLayout(band);
    line->setContentsMargins(kMargin, 0, kMargin, 0);
    line->addWidget(header_);
    return band;
}

QWidget* PreferencesDialog::BuildButtons() {
    defaults_ = DialogButton("Defaults");
    // Defaults throws away every setting: only a deliberate press resets.
    defaults_->installEventFilter(new ReturnDoesNotPress(defaults_));
    ok_ = DialogButton("OK");
    cancel_ = DialogButton("Cancel");
    auto* row = new QWidget();
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    line->addWidget(defaults_);
    line->addStretch(1);
    line->addWidget(ok_);
    line->addWidget(cancel_);
    connect(defaults_, &QPushButton::clicked, this, &PreferencesDialog::AskDefaults);
    connect(ok_, &QPushButton::clicked, this, &PreferencesDialog::Apply);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    return row;
}

void PreferencesDialog::Fill() {
    for (const std::string_view key : kCategories) {
        categories_->addItem(Text("Preferences", key));
    }
    const int start = PreferencesStartPage;
    for (PreferencesPage* page : pages_) {
        page->Fill(Settings);
    }
    categories_->setCurrentRow(start >= 0 && start < kPreferencesPageCount ? start : 0);
    ShowPage(start);
    PreferencesStartPage = kGeneralPage;
    categories_->setFocus();
}

void PreferencesDialog::ShowPage(int index) {
    if (index < 0 || index >= kPreferencesPageCount) {
        return;
    }
    header_->setText(Text("Preferences", kCategories[static_cast<std::size_t>(index)]));
    stack_->setCurrentIndex(index);
    if (categories_->currentRow() != index) {
        categories_->setCurrentRow(index);
    }
}

int PreferencesDialog::CurrentPage() const {
    return stack_->currentIndex();
}

// Every page writes its rows into a copy, in page order; the copy then
// becomes the settings, is saved, and the main window takes it over.
void PreferencesDialog::Apply() {
    SettingsRecord chosen = Settings;
    for (const PreferencesPage* page : pages_) {
        page->Store(chosen);
    }
    Settings = chosen;
    SaveSettings();
    if (refresh_) {
        refresh_(static_cast<OutputPage*>(pages_[kOutputPage])->SelectedFormat());
    }
    accept();
}

void PreferencesDialog::SetReloadFor(const SettingsRecord& s) {
    SettingsRecord chosen = s;
    pages_[1]->Store(chosen);  // sets the reload from the dialog's theme and size
}

void PreferencesDialog::AskDefaults() {
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, Text("Msg", "Reset to Defaults"), Text("Msg", "Ask reset to defaults"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes) {
        return;
    }
    ResetSettings(false);
    SetReloadFor(Settings);
    SaveSettings();
    if (refresh_) {
        refresh_(static_cast<OutputPage*>(pages_[kOutputPage])->SelectedFormat());
    }
    accept();
}

PreferencesDialog* OpenPreferences(QWidget* mainWindow, PreferencesDialog::Refresh refresh) {
    for (auto* open : mainWindow->findChildren<PreferencesDialog*>(Qt::FindDirectChildrenOnly)) {
        if (open->isVisible()) {
            open->raise();
            open->activateWindow();
            return open;
        }
        // A closed dialog whose deletion is still queued is no open one.
        delete open;
    }
    auto* dialog = new PreferencesDialog(mainWindow, std::move(refresh));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    return dialog;
}

}  // namespace tarvik
