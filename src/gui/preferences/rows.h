// The rows of a preferences page: a label key, a control kind, the setting
// it edits and its choices. A panel builds its controls from its rows, and
// filling, the dependencies and OK all read the same rows, so a setting
// joins a page by adding one row.
#pragma once

#include <QSpinBox>
#include <QWidget>

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "core/settings.h"
#include "gui/preferences/pickers.h"

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace tarvik {

struct SettingRow;

enum class RowKind : std::uint8_t {
    List,          // choices are catalog keys; the index is the value
    Check,         // a check box named by its label
    Number,        // digits only, with a unit list (choices are the units)
    Slider,        // slider and number over the setting's range
    Gamma,         // slider and number in hundredths
    ColorButton,   // colour button with its hexadecimal field
    ColorList,     // remembered colours, Extra names the remembered list
    FontList,      // remembered fonts with the font chooser
    Text,          // one line, cleaned on OK
    ImagePath,     // a path with the picture chooser, cleaned on OK
    DateTime,      // seconds since 1970 on the wall clock
    Language,      // the single entry "English"
    Theme,         // the installed themes by display name
    BitDepth,      // "Auto" and the depths of the format named by Extra
    InputFormat,   // the build's input formats
    OutputFormat,  // the build's output formats
};

struct RowSpec {
    std::string_view Label;  // catalog key, group "Preferences"
    RowKind Kind = RowKind::List;
    std::string_view Group = {};  // the setting; empty for a row that stores nothing
    std::string_view Key = {};
    std::vector<std::string_view> Choices = {};
    std::vector<int> Values = {};   // values carried by the list entries, where they differ
    std::string_view UnitKey = {};  // Number: the unit list's own setting, same group
    std::string_view Extra = {};    // ColorList: remembered list key; BitDepth: format key
};

// The number field of a slider row: it takes any text, reads it as a
// decimal integer and clamps it to its range.
class NumberSpin : public QSpinBox {
  public:
    using QSpinBox::QSpinBox;
    // Shows the value in the field's own form again.
    void Rewrite();

  protected:
    QValidator::State validate(QString& input, int& pos) const override;
    int valueFromText(const QString& text) const override;
};

// The gamma number field: the value in hundredths, shown with two decimals.
class GammaSpin : public NumberSpin {
  public:
    using NumberSpin::NumberSpin;

  protected:
    int valueFromText(const QString& text) const override;
    QString textFromValue(int value) const override;
};

struct BoundRow {
    const RowSpec* Plan = nullptr;
    const SettingRow* Setting = nullptr;
    QLabel* Label = nullptr;
    std::vector<QWidget*> Parts;  // every widget of the row, the label included
    QComboBox* Combo = nullptr;
    QComboBox* Unit = nullptr;
    QCheckBox* Check = nullptr;
    QLineEdit* Edit = nullptr;
    QSlider* Slider = nullptr;
    NumberSpin* Spin = nullptr;
    QPushButton* Button = nullptr;
    QDateTimeEdit* DateTime = nullptr;
    int Offset = 0;  // slider position = value + Offset
};

void SetRowEnabled(BoundRow& row, bool enabled);
void SetRowVisible(BoundRow& row, bool visible);

// One panel of label-and-control rows.
class RowPanel : public QWidget {
  public:
    RowPanel(std::span<const RowSpec> plans, const Choosers* choosers, QWidget* parent = nullptr);

    void Fill(const SettingsRecord& s);
    void Store(SettingsRecord& s) const;

    // The row of a setting key, or of a label key for rows without one.
    BoundRow* Find(std::string_view key);
    std::vector<BoundRow>& Rows() { return rows_; }

  private:
    void Build(BoundRow& row);
    void NameRow(BoundRow& row);
    void BuildSlider(BoundRow& row, bool gamma);
    void BuildColorButton(BoundRow& row);
    void BuildColorList(BoundRow& row);
    void BuildFontList(BoundRow& row);
    void BuildImagePath(BoundRow& row);
    void FillRow(BoundRow& row, const SettingsRecord& s);
    void StoreRow(const BoundRow& row, SettingsRecord& s) const;
    void ChooseColor(BoundRow& row);
    void ChooseListColor(BoundRow& row);
    void ChooseFont(BoundRow& row);
    void ChooseImage(BoundRow& row);

    const Choosers* choosers_;
    std::vector<BoundRow> rows_;
    bool choosing_ = false;  // a chooser of this panel is open
};

// A panel inside a scroll area of the given inner height.
QWidget* Scrolled(RowPanel* panel, int innerHeight);

}  // namespace tarvik
