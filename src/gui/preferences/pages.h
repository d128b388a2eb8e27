// The nine pages of the preferences, one small class each. A page is a
// stack of row panels; the page adds the rules that tie its rows together.
#pragma once

#include <QWidget>

#include <span>
#include <vector>

#include "core/settings.h"
#include "gui/preferences/rows.h"

class QVBoxLayout;

namespace tarvik {

class PreferencesPage : public QWidget {
  public:
    explicit PreferencesPage(const Choosers* choosers);

    // Every row from the settings, then the page's rules.
    virtual void Fill(const SettingsRecord& s);
    virtual void Store(SettingsRecord& s) const;
    // The row of a setting key (or label key) on any panel of the page.
    BoundRow* Find(std::string_view key);
    virtual void ApplyRules() {}
    const std::vector<RowPanel*>& Panels() const { return panels_; }

  protected:
    RowPanel* AddPanel(std::span<const RowSpec> rows, int scrolledHeight = 0);
    // Applies the page's rules whenever the row's list or box changes.
    void WatchRow(std::string_view key);

    std::vector<RowPanel*> panels_;
    std::vector<QWidget*> holders_;  // what each panel is shown in

  private:
    const Choosers* choosers_;
    QVBoxLayout* column_;
};

class GeneralPage : public PreferencesPage {
  public:
    explicit GeneralPage(const Choosers* choosers);
};

class InterfacePage : public PreferencesPage {
  public:
    explicit InterfacePage(const Choosers* choosers);
    void Store(SettingsRecord& s) const override;
};

class InputPage : public PreferencesPage {
  public:
    explicit InputPage(const Choosers* choosers);
    void ApplyRules() override;
};

class OutputPage : public PreferencesPage {
  public:
    explicit OutputPage(const Choosers* choosers);
    void ApplyRules() override;
    // The selected entry of the output-format list.
    int SelectedFormat();
};

class TransformPage : public PreferencesPage {
  public:
    explicit TransformPage(const Choosers* choosers);
    void ApplyRules() override;
};

class AdjustmentPage : public PreferencesPage {
  public:
    explicit AdjustmentPage(const Choosers* choosers);
    void ApplyRules() override;
    void Store(SettingsRecord& s) const override;
};

class FramePage : public PreferencesPage {
  public:
    explicit FramePage(const Choosers* choosers);
    void ApplyRules() override;
};

class WatermarkPage : public PreferencesPage {
  public:
    explicit WatermarkPage(const Choosers* choosers);
    void ApplyRules() override;
};

class AdvancedPage : public PreferencesPage {
  public:
    explicit AdvancedPage(const Choosers* choosers);
    void Fill(const SettingsRecord& s) override;
    void ApplyRules() override;
};

// What the main window must rebuild after the dialog: 0 nothing, 1 the
// theme, 2 the toolbar icons only.
extern int InterfaceReload;
inline constexpr int kReloadTheme = 1;
inline constexpr int kReloadIcons = 2;

}  // namespace tarvik
