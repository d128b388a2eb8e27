#include "gui/preferences/rows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>

#include <algorithm>
#include <cmath>

#include "core/catalog.h"
#include "core/color_text.h"
#include "core/formats.h"
#include "core/settings_table.h"
#include "core/text.h"
#include "gui/images.h"
#include "gui/mnemonics.h"
#include "gui/preferences/theme_list.h"

namespace tarvik {
namespace {

// Control widths of the page grid, in pixels.
constexpr int kLabelWidth = 160;
constexpr int kControlWidth = 240;
constexpr int kNumberWidth = 160;
constexpr int kUnitWidth = 70;
constexpr int kSliderWidth = 170;
constexpr int kColorButtonWidth = 44;
constexpr int kColorButtonHeight = 22;
constexpr int kHexFieldWidth = 190;
constexpr int kPickerListWidth = 214;
constexpr int kSmallButtonSide = 22;
constexpr QSize kColorPicture{34, 12};
constexpr QSize kSwatch{16, 16};
constexpr int kRowPitch = 30;  // rows lie 30 pixels apart
constexpr int kPanelMargin = 10;
constexpr int kScrollStep = 10;
constexpr int kHundred = 100;
constexpr std::string_view kDateTimeFormat = "yyyy/MM/dd HH:mm";

QString Text(std::string_view key) {
    return QString::fromStdString(CatalogText("Preferences", key));
}

QString DialogText(std::string_view key) {
    return QString::fromStdString(CatalogText("Dialog", key));
}

// A button that opens a chooser: it shows a picture or "...", so its tooltip
// and accessible name say what it does. Return never presses it (Space
// does): a Return held down as a chooser closes must not open it again.
QPushButton* ChooserButton(const QString& shown, const QString& does) {
    auto* button = new QPushButton(shown);
    button->setAutoDefault(false);
    button->setToolTip(does);
    button->setAccessibleName(does);
    return button;
}

// One chooser at a time per panel; the flag is cleared on every way out.
class ChooserOpen {
  public:
    explicit ChooserOpen(bool& flag) : flag_(flag), first_(!flag) { flag_ = true; }
    ~ChooserOpen() {
        if (first_) {
            flag_ = false;
        }
    }
    ChooserOpen(const ChooserOpen&) = delete;
    ChooserOpen& operator=(const ChooserOpen&) = delete;
    bool First() const { return first_; }

  private:
    bool& flag_;
    bool first_;
};

QPixmap Solid(QSize size, std::uint32_t color) {
    QPixmap picture(size);
    picture.fill(ToQColor(color));
    QPainter painter(&picture);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    return picture;
}

const std::vector<std::string>& FormatList(RowKind kind) {
    return kind == RowKind::InputFormat ? InputFormats : OutputFormats;
}

std::vector<std::string> DepthEntries(std::string_view format) {
    const FormatRecord* record = OutputFormatRecord(format);
    std::vector<std::string> entries;
    std::string_view list = record != nullptr ? record->BppList : std::string_view{};
    while (true) {
        const std::size_t comma = list.find(',');
        entries.emplace_back(list.substr(0, comma));
        if (comma == std::string_view::npos) {
            return entries;
        }
        list.remove_prefix(comma + 1);
    }
}

int Number(const BoundRow& row, const SettingsRecord& s) {
    return static_cast<int>(std::lround(FieldNumber(row.Setting->field, s)));
}

void SetNumber(const BoundRow& row, SettingsRecord& s, double value) {
    SetFieldNumber(row.Setting->field, s, value);
}

std::string FieldString(const SettingRow* row, const SettingsRecord& s) {
    return row != nullptr ? FieldText(*row, s) : std::string();
}

void AddColorEntry(QComboBox* combo, std::string_view hex, std::uint32_t color) {
    combo->addItem(QIcon(Solid(kSwatch, color)), ColorName(hex), QVariant::fromValue(color));
}

void SelectData(QComboBox* combo, int value) {
    const int index = combo->findData(value);
    if (index >= 0) {
        combo->setCurrentIndex(index);
    }
}

}  // namespace

void NumberSpin::Rewrite() {
    lineEdit()->setText(textFromValue(value()));
}

QValidator::State NumberSpin::validate(QString& /*input*/, int& /*pos*/) const {
    return QValidator::Acceptable;
}

int NumberSpin::valueFromText(const QString& text) const {
    return std::clamp(ReadConfigInteger(text.toStdString()), minimum(), maximum());
}

int GammaSpin::valueFromText(const QString& text) const {
    const double hundredths = std::round(ReadFloat(text.trimmed().toStdString()) * kHundred);
    if (!std::isfinite(hundredths)) {
        return minimum();
    }
    return static_cast<int>(std::clamp(hundredths, double(minimum()), double(maximum())));
}

QString GammaSpin::textFromValue(int value) const {
    return QString::number(value / double(kHundred), 'f', 2);
}

void SetRowEnabled(BoundRow& row, bool enabled) {
    for (QWidget* part : row.Parts) {
        part->setEnabled(enabled);
    }
}

void SetRowVisible(BoundRow& row, bool visible) {
    for (QWidget* part : row.Parts) {
        part->setVisible(visible);
    }
}

RowPanel::RowPanel(std::span<const RowSpec> plans, const Choosers* choosers, QWidget* parent)
    : QWidget(parent), choosers_(choosers) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(kPanelMargin, kPanelMargin / 2, kPanelMargin, kPanelMargin / 2);
    grid->setVerticalSpacing(0);
    grid->setColumnMinimumWidth(0, kLabelWidth);
    grid->setColumnStretch(2, 1);
    rows_.reserve(plans.size());
    for (const RowSpec& plan : plans) {
        BoundRow& row = rows_.emplace_back();
        row.Plan = &plan;
        row.Setting = plan.Key.empty() ? nullptr : FindSetting(plan.Group, plan.Key);
        row.Label = new QLabel(Text(plan.Label));
        row.Parts.push_back(row.Label);
        Build(row);
        NameRow(row);
        auto* line = new QHBoxLayout();
        line->setSpacing(0);
        for (std::size_t i = 1; i < row.Parts.size(); ++i) {
            line->addWidget(row.Parts[i]);
        }
        line->addStretch(1);
        const int at = grid->rowCount();
        grid->addWidget(row.Label, at, 0);
        grid->addLayout(line, at, 1);
        grid->setRowMinimumHeight(at, kRowPitch);
    }
    grid->setRowStretch(grid->rowCount(), 1);
}

// The label names the row's first control (and a screen reader the
// others, which have no text of their own); the spacers are skipped.
void RowPanel::NameRow(BoundRow& row) {
    const QString name = PlainText(row.Label->text());
    for (std::size_t i = 1; i < row.Parts.size(); ++i) {
        QWidget* part = row.Parts[i];
        if (part->focusPolicy() == Qt::NoFocus) {
            continue;
        }
        if (row.Label->buddy() == nullptr) {
            row.Label->setBuddy(part);
        }
        if (part->accessibleName().isEmpty()) {
            part->setAccessibleName(name);
        } else {
            part->setAccessibleDescription(name);
        }
    }
}

void RowPanel::Build(BoundRow& row) {
    const RowSpec& plan = *row.Plan;
    switch (plan.Kind) {
        case RowKind::Check:
            row.Check = new QCheckBox();
            row.Check->setFixedWidth(kControlWidth);
            row.Parts.push_back(row.Check);
            return;
        case RowKind::Number: {
            row.Edit = new QLineEdit();
            row.Edit->setFixedWidth(kNumberWidth);
            row.Edit->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("[0-9]*")), row.Edit));
            row.Unit = new QComboBox();
            row.Unit->setFixedWidth(kUnitWidth);
            for (const std::string_view unit : plan.Choices) {
                row.Unit->addItem(Text(unit));
            }
            auto* gap = new QWidget();
            gap->setFixedWidth(kControlWidth - kNumberWidth - kUnitWidth);
            row.Parts.insert(row.Parts.end(), {row.Edit, gap, row.Unit});
            return;
        }
        case RowKind::Slider:
        case RowKind::Gamma:
            BuildSlider(row, plan.Kind == RowKind::Gamma);
            return;
        case RowKind::ColorButton:
            BuildColorButton(row);
            return;
        case RowKind::ColorList:
            BuildColorList(row);
            return;
        case RowKind::FontList:
            BuildFontList(row);
            return;
        case RowKind::ImagePath:
            BuildImagePath(row);
            return;
        case RowKind::Text:
            row.Edit = new QLineEdit();
            row.Edit->setFixedWidth(kControlWidth);
            row.Parts.push_back(row.Edit);
            return;
        case RowKind::DateTime:
            row.DateTime = new QDateTimeEdit();
            row.DateTime->setTimeSpec(Qt::UTC);
            row.DateTime->setDisplayFormat(QString::fromUtf8(kDateTimeFormat));
            row.DateTime->setFixedWidth(kControlWidth);
            row.Parts.push_back(row.DateTime);
            return;
        default:
            row.Combo = new QComboBox();
            row.Combo->setFixedWidth(kControlWidth);
            row.Parts.push_back(row.Combo);
            return;
    }
}

void RowPanel::BuildSlider(BoundRow& row, bool gamma) {
    const ValueRange range = row.Setting->range;
    const int scale = gamma ? kHundred : 1;
    const int low = static_cast<int>(std::lround(range.low * scale));
    const int high = static_cast<int>(std::lround(range.high * scale));
    row.Offset = low < 0 ? -low : 0;
    row.Slider = new QSlider(Qt::Horizontal);
    row.Slider->setFixedWidth(kSliderWidth);
    row.Slider->setRange(low + row.Offset, high + row.Offset);
    row.Spin = gamma ? new GammaSpin() : new NumberSpin();
    row.Spin->setFixedWidth(kUnitWidth);
    row.Spin->setRange(low, high);
    row.Spin->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    row.Parts.insert(row.Parts.end(), {row.Slider, row.Spin});
    QSlider* slider = row.Slider;
    NumberSpin* spin = row.Spin;
    const int offset = row.Offset;
    connect(slider, &QSlider::valueChanged, spin,
            [spin, offset](int v) { spin->setValue(v - offset); });
    connect(spin, &QSpinBox::valueChanged, slider,
            [slider, offset](int v) { slider->setValue(v + offset); });
    // The field shows the clamped value once the typing is done.
    connect(spin, &QSpinBox::editingFinished, spin, [spin] { spin->Rewrite(); });
}

void RowPanel::BuildColorButton(BoundRow& row) {
    row.Button = ChooserButton({}, DialogText("Choose Color"));
    row.Button->setFixedSize(kColorButtonWidth, kColorButtonHeight);
    row.Button->setIconSize(kColorPicture);
    row.Edit = new QLineEdit();
    row.Edit->setReadOnly(true);
    row.Edit->setFixedWidth(kHexFieldWidth);
    auto* gap = new QWidget();
    gap->setFixedWidth(kControlWidth - kColorButtonWidth - kHexFieldWidth);
    row.Parts.insert(row.Parts.end(), {row.Button, gap, row.Edit});
    const std::size_t index = static_cast<std::size_t>(&row - rows_.data());
    connect(row.Button, &QPushButton::clicked, this, [this, index] { ChooseColor(rows_[index]); });
}

void RowPanel::BuildColorList(BoundRow& row) {
    row.Combo = new QComboBox();
    row.Combo->setFixedWidth(kPickerListWidth);
    row.Combo->setIconSize(kSwatch);
    row.Button = ChooserButton(QStringLiteral("..."), DialogText("Choose Color"));
    row.Button->setFixedSize(kSmallButtonSide, kSmallButtonSide);
    auto* gap = new QWidget();
    gap->setFixedWidth(kControlWidth - kPickerListWidth - kSmallButtonSide);
    row.Parts.insert(row.Parts.end(), {row.Combo, gap, row.Button});
    const std::size_t index = static_cast<std::size_t>(&row - rows_.data());
    connect(row.Button, &QPushButton::clicked, this,
            [this, index] { ChooseListColor(rows_[index]); });
}

void RowPanel::BuildFontList(BoundRow& row) {
    BuildColorList(row);
    row.Combo->setIconSize(QSize());
    row.Button->setToolTip(DialogText("Choose Font"));
    row.Button->setAccessibleName(row.Button->toolTip());
    disconnect(row.Button, nullptr, this, nullptr);
    const std::size_t index = static_cast<std::size_t>(&row - rows_.data());
    connect(row.Button, &QPushButton::clicked, this, [this, index] { ChooseFont(rows_[index]); });
}

void RowPanel::BuildImagePath(BoundRow& row) {
    row.Edit = new QLineEdit();
    row.Edit->setFixedWidth(kPickerListWidth);
    row.Button = ChooserButton(QStringLiteral("..."), DialogText("Select Watermark Image"));
    row.Button->setFixedSize(kSmallButtonSide, kSmallButtonSide);
    auto* gap = new QWidget();
    gap->setFixedWidth(kControlWidth - kPickerListWidth - kSmallButtonSide);
    row.Parts.insert(row.Parts.end(), {row.Edit, gap, row.Button});
    const std::size_t index = static_cast<std::size_t>(&row - rows_.data());
    connect(row.Button, &QPushButton::clicked, this, [this, index] { ChooseImage(rows_[index]); });
}

BoundRow* RowPanel::Find(std::string_view key) {
    for (BoundRow& row : rows_) {
        if (row.Plan->Key == key || (row.Plan->Key.empty() && row.Plan->Label == key)) {
            return &row;
        }
    }
    return nullptr;
}

void RowPanel::Fill(const SettingsRecord& s) {
    for (BoundRow& row : rows_) {
        FillRow(row, s);
    }
}

void RowPanel::Store(SettingsRecord& s) const {
    for (const BoundRow& row : rows_) {
        if (row.Setting != nullptr) {
            StoreRow(row, s);
        }
    }
}

void RowPanel::FillRow(BoundRow& row, const SettingsRecord& s) {
    const RowSpec& plan = *row.Plan;
    switch (plan.Kind) {
        case RowKind::List:
            row.Combo->clear();
            for (std::size_t i = 0; i < plan.Choices.size(); ++i) {
                row.Combo->addItem(Text(plan.Choices[i]),
                                   i < plan.Values.size() ? plan.Values[i] : static_cast<int>(i));
            }
            row.Combo->setCurrentIndex(row.Setting != nullptr ? Number(row, s) : 0);
            return;
        case RowKind::Check:
            row.Check->setChecked(Number(row, s) != 0);
            return;
        case RowKind::Number: {
            row.Edit->setText(QString::number(Number(row, s)));
            const SettingRow* unit =
                plan.UnitKey.empty() ? nullptr : FindSetting(plan.Group, plan.UnitKey);
            row.Unit->setCurrentIndex(
                unit != nullptr ? static_cast<int>(std::lround(FieldNumber(unit->field, s))) : 0);
            return;
        }
        case RowKind::Slider:
            row.Spin->setValue(Number(row, s));
            row.Slider->setValue(row.Spin->value() + row.Offset);
            return;
        case RowKind::Gamma:
            row.Spin->setValue(
                static_cast<int>(std::lround(FieldNumber(row.Setting->field, s) * kHundred)));
            row.Slider->setValue(row.Spin->value());
            return;
        case RowKind::ColorButton: {
            const std::uint32_t color = ParseColor(FieldString(row.Setting, s));
            row.Button->setIcon(QIcon(Solid(kColorPicture, color)));
            row.Edit->setText(QString::fromStdString(ColorToHex(color)));
            return;
        }
        case RowKind::ColorList: {
            row.Combo->clear();
            const SettingRow* list = FindSetting(plan.Group, plan.Extra);
            for (const std::string& entry : RememberedEntries(FieldString(list, s))) {
                AddColorEntry(row.Combo, entry, ParseColor(entry));
            }
            row.Combo->setCurrentIndex(0);
            const int found =
                row.Combo->findData(QVariant::fromValue(ParseColor(FieldString(row.Setting, s))));
            if (found >= 0) {
                row.Combo->setCurrentIndex(found);
            }
            return;
        }
        case RowKind::FontList: {
            if (Trim(Settings.Watermark.Fonts).empty()) {
                Settings.Watermark.Fonts = s.Watermark.Font;
            }
            row.Combo->clear();
            const std::string fonts =
                Trim(s.Watermark.Fonts).empty() ? s.Watermark.Font : s.Watermark.Fonts;
            for (const std::string& name : RememberedEntries(fonts)) {
                row.Combo->addItem(QString::fromStdString(name));
            }
            row.Combo->setCurrentIndex(0);
            for (int i = 0; i < row.Combo->count(); ++i) {
                if (EqualsNoCase(row.Combo->itemText(i).toStdString(), s.Watermark.Font)) {
                    row.Combo->setCurrentIndex(i);
                    break;
                }
            }
            return;
        }
        case RowKind::Text:
        case RowKind::ImagePath:
            row.Edit->setText(QString::fromStdString(FieldString(row.Setting, s)));
            return;
        case RowKind::DateTime:
            row.DateTime->setDateTime(QDateTime::fromSecsSinceEpoch(Number(row, s), Qt::UTC));
            return;
        case RowKind::Language:
            row.Combo->clear();
            row.Combo->addItem(QStringLiteral("English"));
            row.Combo->setCurrentIndex(0);
            return;
        case RowKind::Theme:
            FillThemeList(row.Combo, s.Interface.UiTheme);
            return;
        case RowKind::BitDepth: {
            row.Combo->clear();
            row.Combo->addItem(Text("Auto"));
            for (const std::string& depth : DepthEntries(plan.Extra)) {
                row.Combo->addItem(QString::fromStdString(depth));
            }
            const int value = Number(row, s);
            row.Combo->setCurrentIndex(value == 0 ? 0
                                                  : row.Combo->findText(QString::number(value)));
            return;
        }
        case RowKind::InputFormat:
        case RowKind::OutputFormat: {
            row.Combo->clear();
            const std::vector<std::string>& formats = FormatList(plan.Kind);
            const std::string current = FieldString(row.Setting, s);
            int selected = 0;
            for (std::size_t i = 0; i < formats.size(); ++i) {
                if (formats[i].empty()) {
                    continue;
                }
                if (formats[i] == current) {
                    selected = row.Combo->count();
                }
                row.Combo->addItem(MenuIcon("New"), QString::fromStdString(UpperAscii(formats[i])),
                                   static_cast<int>(i));
            }
            row.Combo->setCurrentIndex(row.Combo->count() > 0 ? selected : -1);
            return;
        }
    }
}

void RowPanel::StoreRow(const BoundRow& row, SettingsRecord& s) const {
    const RowSpec& plan = *row.Plan;
    switch (plan.Kind) {
        case RowKind::List:
            SetNumber(row, s, row.Combo->currentIndex());
            return;
        case RowKind::Check:
            SetNumber(row, s, row.Check->isChecked() ? 1 : 0);
            return;
        case RowKind::Number:
            SetNumber(row, s, ReadConfigInteger(row.Edit->text().toStdString()));
            if (const SettingRow* unit =
                    plan.UnitKey.empty() ? nullptr : FindSetting(plan.Group, plan.UnitKey)) {
                SetFieldNumber(unit->field, s, row.Unit->currentIndex());
            }
            return;
        case RowKind::Slider:
            SetNumber(row, s, row.Spin->value());
            return;
        case RowKind::Gamma:
            SetNumber(row, s,
                      static_cast<double>(static_cast<float>(row.Spin->value()) / kHundred));
            return;
        case RowKind::ColorButton:
            SetFieldText(row.Setting->field, s,
                         ColorToHex(ParseColor(row.Edit->text().toStdString())));
            return;
        case RowKind::ColorList:
            SetFieldText(row.Setting->field, s, ColorToHex(row.Combo->currentData().toUInt()));
            return;
        case RowKind::FontList:
            SetFieldText(row.Setting->field, s, row.Combo->currentText().toStdString());
            return;
        case RowKind::Text:
        case RowKind::ImagePath:
            SetFieldText(row.Setting->field, s, CleanText(row.Edit->text().toStdString()));
            return;
        case RowKind::DateTime:
            SetNumber(row, s, static_cast<double>(row.DateTime->dateTime().toSecsSinceEpoch()));
            return;
        case RowKind::Language:
            SetFieldText(row.Setting->field, s, "en");
            return;
        case RowKind::Theme:
            SetFieldText(row.Setting->field, s, ThemeAt(row.Combo->currentIndex()));
            return;
        case RowKind::BitDepth:
            SetNumber(row, s,
                      row.Combo->currentIndex() > 0
                          ? ReadConfigInteger(row.Combo->currentText().toStdString())
                          : 0);
            return;
        case RowKind::InputFormat:
        case RowKind::OutputFormat: {
            const std::vector<std::string>& formats = FormatList(plan.Kind);
            const int index = row.Combo->currentData().toInt();
            if (row.Combo->currentIndex() >= 0 && index >= 0 &&
                index < static_cast<int>(formats.size())) {
                SetFieldText(row.Setting->field, s, formats[static_cast<std::size_t>(index)]);
            }
            return;
        }
    }
}

void RowPanel::ChooseColor(BoundRow& row) {
    const ChooserOpen open(choosing_);
    if (!open.First()) {
        return;
    }
    const std::uint32_t current = ParseColor(row.Edit->text().toStdString());
    const std::int64_t chosen = choosers_->Color(window(), current);
    if (chosen < 0 || static_cast<std::uint32_t>(chosen) == current) {
        return;
    }
    const auto color = static_cast<std::uint32_t>(chosen);
    row.Button->setIcon(QIcon(Solid(kColorPicture, color)));
    row.Edit->setText(QString::fromStdString(ColorToHex(color)));
}

// A new colour joins the remembered list at once, even if the dialog is
// then cancelled.
void RowPanel::ChooseListColor(BoundRow& row) {
    const ChooserOpen open(choosing_);
    if (!open.First()) {
        return;
    }
    const std::int64_t chosen = choosers_->Color(window(), row.Combo->currentData().toUInt());
    if (chosen < 0) {
        return;
    }
    const auto color = static_cast<std::uint32_t>(chosen);
    const SettingRow* list = FindSetting(row.Plan->Group, row.Plan->Extra);
    const std::string remembered = FieldText(*list, Settings);
    const std::vector<std::string> entries = RememberedEntries(remembered);
    const bool known = std::any_of(entries.begin(), entries.end(), [color](const std::string& e) {
        return ParseColor(e) == color;
    });
    if (!known) {
        const std::string hex = ColorToHex(color);
        AddColorEntry(row.Combo, hex, color);
        SetFieldText(list->field, Settings, remembered + "," + hex);
    }
    row.Combo->setCurrentIndex(row.Combo->findData(QVariant::fromValue(color)));
}

void RowPanel::ChooseFont(BoundRow& row) {
    const ChooserOpen open(choosing_);
    if (!open.First()) {
        return;
    }
    BoundRow* size = Find("Font Size");
    BoundRow* style = Find("Font Style");
    const int points = ReadConfigInteger(size->Edit->text().toStdString());
    const std::optional<FontChoice> chosen =
        choosers_->Font(window(), row.Combo->currentText(), points);
    if (!chosen) {
        return;
    }
    const QString name = QString(chosen->Family).remove(',');
    const std::vector<std::string> names = RememberedEntries(Settings.Watermark.Fonts);
    if (std::find(names.begin(), names.end(), name.toStdString()) == names.end()) {
        row.Combo->addItem(name);
        Settings.Watermark.Fonts += "," + name.toStdString();
    }
    row.Combo->setCurrentIndex(row.Combo->findText(name, Qt::MatchExactly));
    size->Edit->setText(QString::number(chosen->Points));
    SelectData(style->Combo, chosen->Style);
}

void RowPanel::ChooseImage(BoundRow& row) {
    const ChooserOpen open(choosing_);
    if (!open.First()) {
        return;
    }
    const QString path = choosers_->OpenFile(
        window(), QString::fromStdString(CatalogText("Dialog", "Select Watermark Image")),
        row.Edit->text().trimmed(), FileDialogFilter(WatermarkImageFilters()));
    if (!path.isEmpty()) {
        row.Edit->setText(path);
    }
}

QWidget* Scrolled(RowPanel* panel, int innerHeight) {
    auto* area = new QScrollArea();
    area->setFrameShape(QFrame::NoFrame);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    panel->setMinimumHeight(innerHeight);
    area->setWidget(panel);
    area->setWidgetResizable(true);
    area->verticalScrollBar()->setSingleStep(kScrollStep);
    return area;
}

}  // namespace tarvik
