// The Preferences dialog: its pages and rows, the linked slider fields,
// the dependencies, OK, Cancel and Defaults, the pickers through the
// chooser functions, the round trip through config.ini, and what the main
// window does with the result.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFontDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "core/config_file.h"
#include "core/formats.h"
#include "core/settings.h"
#include "core/settings_table.h"
#include "gui/commands.h"
#include "gui/main_window.h"
#include "gui/preferences/preferences_dialog.h"
#include "gui/themes.h"
#include "gui_test_support.h"

namespace tarvik {
namespace {

constexpr int kSettleMilliseconds = 50;

enum Page {
    kGeneral,
    kInterface,
    kInput,
    kOutput,
    kTransform,
    kAdjustment,
    kFrame,
    kWatermark,
    kAdvanced
};

// What the choosers hand back, and what they were asked.
struct Answers {
    int ColorCalls = 0;
    std::int64_t Color = -1;
    std::optional<FontChoice> Font;
    QString File;
    std::uint32_t AskedColor = 0;
    QString AskedFamily;
    int AskedPoints = 0;
    QStringList AskedFile;
};

Choosers Answering(Answers* answers) {
    Choosers c;
    c.Color = [answers](QWidget*, std::uint32_t initial) {
        ++answers->ColorCalls;
        answers->AskedColor = initial;
        return answers->Color;
    };
    c.Font = [answers](QWidget*, const QString& family, int points) {
        answers->AskedFamily = family;
        answers->AskedPoints = points;
        return answers->Font;
    };
    c.OpenFile = [answers](QWidget*, const QString& title, const QString& initial,
                           const QString& filter) {
        answers->AskedFile = {title, initial, filter};
        return answers->File;
    };
    return c;
}

// A dialog on the current settings with a refresh that records its calls.
struct Fixture {
    Answers answers;
    int refreshed = 0;
    int refreshedEntry = -1;
    int reloadSeen = -1;
    QWidget owner;
    std::unique_ptr<PreferencesDialog> dialog;

    Fixture() {
        dialog = std::make_unique<PreferencesDialog>(
            &owner,
            [this](int entry) {
                ++refreshed;
                refreshedEntry = entry;
                reloadSeen = InterfaceReload;
            },
            Answering(&answers));
    }
    BoundRow& Row(int page, std::string_view key) { return *dialog->Page(page)->Find(key); }
};

void TypeInto(QAbstractSpinBox* spin, const QString& text) {
    spin->setFocus();
    spin->selectAll();
    QTest::keyClicks(spin, text);
    QTest::keyClick(spin, Qt::Key_Return);
}

QStringList Entries(QComboBox* combo) {
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i) {
        texts << combo->itemText(i);
    }
    return texts;
}

// Gives a row a value other than its current one through its control;
// false when its control offers no other value.
bool ChangeRow(Fixture& f, BoundRow& row) {
    switch (row.Plan->Kind) {
        case RowKind::Check:
            row.Check->setChecked(!row.Check->isChecked());
            return true;
        case RowKind::Number:
            row.Edit->setText(QString::number(row.Edit->text().toInt() + 7));
            if (!row.Plan->UnitKey.empty()) {
                row.Unit->setCurrentIndex(1 - row.Unit->currentIndex());
            }
            return true;
        case RowKind::Slider:
        case RowKind::Gamma:
            row.Spin->setValue(row.Spin->value() == row.Spin->maximum() ? row.Spin->minimum()
                                                                        : row.Spin->maximum());
            return true;
        case RowKind::ColorButton:
        case RowKind::ColorList:
            f.answers.Color = 0x563412;
            row.Button->click();
            return true;
        case RowKind::FontList:
            f.answers.Font = FontChoice{"DejaVu Sans", 12, 0};
            row.Button->click();
            return true;
        case RowKind::Text:
        case RowKind::ImagePath:
            row.Edit->setText(row.Edit->text() + "x");
            return true;
        case RowKind::DateTime:
            row.DateTime->setDateTime(row.DateTime->dateTime().addDays(1));
            return true;
        default: {
            const int other = row.Combo->currentIndex() == 1 ? 0 : 1;
            if (row.Combo->count() < 2 || row.Combo->itemText(other).isEmpty()) {
                return false;
            }
            row.Combo->setCurrentIndex(other);
            return true;
        }
    }
}

void FreshSettings() {
    ResetSettings(false);
    InterfaceReload = 0;
    PreferencesStartPage = kGeneralPage;
}

}  // namespace

class PreferencesTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        test::PrepareWindowTest();
        ScanThemes();
        QVERIFY(ThemeNames.contains("handdrawn"));
    }
    void init() { FreshSettings(); }

    // The number field clamps to its row's range and moves the slider.
    void linkedNumbers_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("slider");
        QTest::newRow("quality above range") << int(kOutput) << "JPG Quality"
                                             << "150"
                                             << "100" << 100;
        QTest::newRow("quality letters") << int(kOutput) << "JPG Quality"
                                         << "abc"
                                         << "1" << 1;
        QTest::newRow("webp quality") << int(kOutput) << "WEBP Quality"
                                      << "0"
                                      << "1" << 1;
        QTest::newRow("brightness offset") << int(kAdjustment) << "Image Brightness"
                                           << "-30"
                                           << "-30" << 70;
        QTest::newRow("contrast below range") << int(kAdjustment) << "Image Contrast"
                                              << "-250"
                                              << "-100" << 0;
        QTest::newRow("gamma rounded") << int(kAdjustment) << "Image Gamma"
                                       << "2.346"
                                       << "2.35" << 235;
        QTest::newRow("gamma zero") << int(kAdjustment) << "Image Gamma"
                                    << "0"
                                    << "0.01" << 1;
        QTest::newRow("gamma above range") << int(kAdjustment) << "Image Gamma"
                                           << "12"
                                           << "9.99" << 999;
        QTest::newRow("threshold") << int(kAdjustment) << "Image Threshold"
                                   << "300"
                                   << "255" << 255;
        QTest::newRow("rotation") << int(kTransform) << "Image Rotation"
                                  << "400"
                                  << "360" << 360;
        QTest::newRow("frame opacity") << int(kFrame) << "Solid Opacity"
                                       << "0"
                                       << "1" << 1;
        QTest::newRow("folders number") << int(kAdvanced) << "Out Folders Number"
                                        << "99"
                                        << "50" << 50;
        QTest::newRow("text scale") << int(kWatermark) << "Text Scale"
                                    << "201"
                                    << "200" << 200;
    }
    void linkedNumbers() {
        QFETCH(int, page);
        QFETCH(QString, key);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, slider);
        Settings.Transform.DoImageRotation = 1;  // their masters enable the rows
        Settings.Adjustment.DoImageThreshold = 1;
        Fixture f;
        f.dialog->show();
        f.dialog->ShowPage(page);
        BoundRow& row = f.Row(page, key.toStdString());
        TypeInto(row.Spin, typed);
        QCOMPARE(row.Spin->text(), shown);
        QCOMPARE(row.Slider->value(), slider);
    }

    void slidersMoveNumbers() {
        Fixture f;
        BoundRow& brightness = f.Row(kAdjustment, "Image Brightness");
        QCOMPARE(brightness.Slider->value(), 100);
        brightness.Slider->setValue(200);
        QCOMPARE(brightness.Spin->value(), 100);
        BoundRow& gamma = f.Row(kAdjustment, "Image Gamma");
        QCOMPARE(gamma.Spin->text(), QString("1.00"));
        gamma.Slider->setValue(150);
        QCOMPARE(gamma.Spin->text(), QString("1.50"));
        // The arrows step by hundredths and stop at the ends.
        gamma.Spin->stepBy(1);
        QCOMPARE(gamma.Spin->text(), QString("1.51"));
        QCOMPARE(gamma.Slider->value(), 151);
        gamma.Slider->setValue(1);
        gamma.Spin->stepBy(-1);
        QCOMPARE(gamma.Spin->text(), QString("0.01"));
        gamma.Slider->setValue(999);
        gamma.Spin->stepBy(1);
        QCOMPARE(gamma.Spin->text(), QString("9.99"));
    }

    void colorCorrection_data() {
        QTest::addColumn<int>("brightness");
        QTest::addColumn<int>("contrast");
        QTest::addColumn<int>("gamma");
        QTest::addColumn<bool>("invert");
        QTest::addColumn<int>("expected");
        QTest::newRow("nothing") << 0 << 0 << 100 << false << 0;
        QTest::newRow("brightness") << -30 << 0 << 100 << false << 1;
        QTest::newRow("contrast") << 0 << 5 << 100 << false << 1;
        QTest::newRow("gamma") << 0 << 0 << 101 << false << 1;
        QTest::newRow("invert") << 0 << 0 << 100 << true << 1;
    }
    void colorCorrection() {
        QFETCH(int, brightness);
        QFETCH(int, contrast);
        QFETCH(int, gamma);
        QFETCH(bool, invert);
        QFETCH(int, expected);
        Settings.Adjustment.DoImageColorCorrection = static_cast<Flag>(1 - expected);
        Fixture f;
        f.Row(kAdjustment, "Image Brightness").Spin->setValue(brightness);
        f.Row(kAdjustment, "Image Contrast").Spin->setValue(contrast);
        f.Row(kAdjustment, "Image Gamma").Spin->setValue(gamma);
        f.Row(kAdjustment, "Image Invert").Check->setChecked(invert);
        f.dialog->OkButton()->click();
        QCOMPARE(int(Settings.Adjustment.DoImageColorCorrection), expected);
        QCOMPARE(Settings.Adjustment.ImageBrightness, brightness);
        QCOMPARE(Settings.Adjustment.ImageGamma, static_cast<float>(gamma) / 100.0f);
        QCOMPARE(f.refreshed, 1);
        QCOMPARE(f.refreshedEntry, 0);  // the one output format of this build
    }

    // A new icon size reloads the icons; a new theme reloads everything.
    void interfaceReload_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("otherTheme");
        QTest::addColumn<int>("reload");
        QTest::newRow("unchanged") << 2 << false << 0;
        QTest::newRow("size only") << 0 << false << 2;
        QTest::newRow("theme only") << 2 << true << 1;
        QTest::newRow("theme and size") << 1 << true << 1;
    }
    void interfaceReload() {
        QFETCH(int, size);
        QFETCH(bool, otherTheme);
        QFETCH(int, reload);
        const auto saved = ThemeNames;
        ThemeNames["zzother"] = "Other Theme";
        Fixture f;
        QComboBox* themes = f.Row(kInterface, "UI Theme").Combo;
        QCOMPARE(themes->currentText().toStdString(), ThemeNames.at(Settings.Interface.UiTheme));
        f.Row(kInterface, "UI Size").Combo->setCurrentIndex(size);
        if (otherTheme) {
            themes->setCurrentIndex(themes->findText("Other Theme"));
        }
        f.dialog->OkButton()->click();
        ThemeNames = saved;
        QCOMPARE(f.reloadSeen, reload);
        QCOMPARE(Settings.Interface.UiSize, size);
        QCOMPARE(Settings.Interface.UiTheme == "zzother", otherTheme);
    }

    // The format options command opens the Output page once.
    void startPage() {
        MainWindow window;
        window.Finish();
        window.RunCommand(kCommandFormatOptions);
        auto* dialog = window.findChild<PreferencesDialog*>();
        QVERIFY(dialog != nullptr);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->CurrentPage(), int(kOutput));
        QCOMPARE(dialog->Header()->text(), QString("Output"));
        QCOMPARE(dialog->Categories()->currentRow(), int(kOutput));
        QTest::keyClick(dialog, Qt::Key_Escape);
        QTRY_VERIFY(window.findChild<PreferencesDialog*>() == nullptr);
        window.RunCommand(kCommandPreferences);
        dialog = window.findChild<PreferencesDialog*>();
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->CurrentPage(), int(kGeneral));
        QCOMPARE(dialog->Header()->text(), QString("General"));
        // A second opening raises the one dialog.
        window.RunCommand(kCommandPreferences);
        QCOMPARE(window.findChildren<PreferencesDialog*>().size(), 1);
        dialog->CancelButton()->click();
    }

    // However it was closed, the next command opens the dialog again, also
    // before the closed one's queued deletion has run.
    void reopens_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<bool>("settle");
        for (const char* way : {"escape", "cancel", "ok", "close box"}) {
            QTest::addRow("%s", way) << QString(way) << true;
            QTest::addRow("%s, at once", way) << QString(way) << false;
        }
    }
    void reopens() {
        QFETCH(QString, way);
        QFETCH(bool, settle);
        MainWindow window;
        window.Finish();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const auto visible = [&window] {
            PreferencesDialog* shown = nullptr;
            for (auto* dialog : window.findChildren<PreferencesDialog*>()) {
                if (dialog->isVisible()) {
                    shown = dialog;
                }
            }
            return shown;
        };
        window.RunCommand(kCommandPreferences);
        PreferencesDialog* dialog = visible();
        QVERIFY(dialog != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        if (way == "escape") {
            QTest::keyClick(dialog->Categories(), Qt::Key_Escape);
        } else if (way == "cancel") {
            QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
        } else if (way == "ok") {
            QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
        } else {
            QVERIFY(dialog->close());
        }
        QVERIFY(visible() == nullptr);
        if (settle) {
            QTRY_VERIFY(window.findChildren<PreferencesDialog*>().isEmpty());
        }
        for (const int command : {kCommandFormatOptions, kCommandPreferences}) {
            window.RunCommand(command);
            dialog = visible();
            QVERIFY2(dialog != nullptr, "the dialog did not open again");
            QCOMPARE(dialog->CurrentPage(),
                     int(command == kCommandFormatOptions ? kOutput : kGeneral));
            QCOMPARE(window.findChildren<PreferencesDialog*>().size(), 1);
            QTest::keyClick(dialog->Categories(), Qt::Key_Escape);
            QVERIFY(visible() == nullptr);
        }
    }

    // A focused chooser button opens its chooser on Space, once, and never
    // on Return, held down or not: a Return that closes the chooser must
    // not open it again.
    void chooserOncePerPress() {
        Settings.Transform.DoImageRotation = 1;
        Settings.Watermark.DoWatermark = 1;
        Fixture f;
        f.dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(f.dialog.get()));
        f.dialog->ShowPage(kTransform);
        QPushButton* button = f.Row(kTransform, "Image Rotation Back Color").Button;
        QVERIFY(button->isEnabled());
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Return);
        QTest::keyClick(button, Qt::Key_Enter);
        QKeyEvent held(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(button, &held);
        QCOMPARE(f.answers.ColorCalls, 0);
        QTest::keyClick(button, Qt::Key_Space);
        QCOMPARE(f.answers.ColorCalls, 1);
        for (const char* key : {"Image Rotation Back Color"}) {
            QVERIFY(!f.Row(kTransform, key).Button->autoDefault());
        }
        for (const char* key : {"Font Color", "Font", "Image"}) {
            QVERIFY2(!f.Row(kWatermark, key).Button->autoDefault(), key);
        }
        f.dialog->CancelButton()->click();
    }

    // Return on a focused Defaults does not reset anything; Space asks.
    void defaultsNeedsAPress() {
        Settings.Output.BmpCompression = 1;
        Fixture f;
        f.dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(f.dialog.get()));
        QPushButton* defaults = f.dialog->DefaultsButton();
        QVERIFY(!defaults->isDefault());
        QVERIFY(!defaults->autoDefault());
        defaults->setFocus();
        QStringList asked;
        QTimer watch;  // a question box would run its own loop inside the key press
        watch.setInterval(10);
        connect(&watch, &QTimer::timeout, [&asked] {
            if (QMessageBox* box = test::VisibleMessageBox()) {
                asked << box->text();
                box->button(QMessageBox::No)->click();
            }
        });
        watch.start();
        QTest::keyClick(defaults, Qt::Key_Return);
        QTest::keyClick(defaults, Qt::Key_Enter);
        QTest::keyClick(f.dialog.get(), Qt::Key_Return);
        watch.stop();
        QCOMPARE(asked, QStringList{});
        QVERIFY(f.dialog->isVisible());
        QCOMPARE(Settings.Output.BmpCompression, 1);
        QCOMPARE(f.refreshed, 0);

        test::ModalAnswerer answerer({test::AnswerMessageBox(QMessageBox::No, &asked)});
        QTest::keyClick(defaults, Qt::Key_Space);
        TARVIK_VERIFY_ANSWERED(answerer);
        QCOMPARE(asked.size(), 1);
        QCOMPARE(Settings.Output.BmpCompression, 1);
        f.dialog->CancelButton()->click();
    }

    // Every control of every page has a name for a screen reader (its
    // row's label, or what its chooser does), every label its buddy, and
    // Ctrl+Comma opens the dialog.
    void accessibleNames() {
        Settings.Transform.DoImageRotation = 1;
        Settings.Watermark.DoWatermark = 1;
        Fixture f;
        f.dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.dialog.get()));
        for (int page = 0; page < kPreferencesPageCount; ++page) {
            f.dialog->ShowPage(page);
            QCOMPARE(test::UnnamedControls(f.dialog.get()), QStringList{});
            for (RowPanel* panel : f.dialog->Page(page)->Panels()) {
                for (BoundRow& row : panel->Rows()) {
                    QVERIFY2(row.Label->buddy() == row.Parts.at(1) ||
                                 row.Label->buddy() == row.Parts.at(2),
                             qPrintable(row.Label->text()));
                }
            }
        }
        QPushButton* color = f.Row(kTransform, "Image Rotation Back Color").Button;
        QCOMPARE(color->toolTip(), QString("Choose a Color"));
        QCOMPARE(color->accessibleName(), QString("Choose a Color"));
        QCOMPARE(color->accessibleDescription(), QString("Background Color"));
        QCOMPARE(f.Row(kWatermark, "Font").Button->toolTip(), QString("Choose a Font"));
        QCOMPARE(f.Row(kWatermark, "Image").Button->toolTip(), QString("Select Watermark Image"));
        QCOMPARE(f.Row(kTransform, "Image Width").Unit->accessibleName(), QString("Image Width"));
        f.dialog->CancelButton()->click();

        MainWindow window;
        window.Finish();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_Comma, Qt::ControlModifier);
        auto* dialog = window.findChild<PreferencesDialog*>();
        QVERIFY(dialog != nullptr && dialog->isVisible());
        dialog->CancelButton()->click();
    }

    // The real font chooser offers family, style and size, and no effects;
    // it starts on the family's upright style, whatever that is called.
    void fontChooserWithoutEffects_data() {
        QTest::addColumn<QString>("family");
        QTest::newRow("upright style called Book") << "DejaVu Sans";
        QTest::newRow("upright style called Regular") << "Liberation Sans";
        QTest::newRow("serif with Italic beside Book") << "DejaVu Serif";
    }
    void fontChooserWithoutEffects() {
        QFETCH(QString, family);
        QWidget owner;
        QStringList effects;
        test::ModalAnswerer answerer(
            {{"the font chooser", [&effects, family] {
                  QFontDialog* chooser = nullptr;
                  for (QWidget* w : QApplication::topLevelWidgets()) {
                      if (auto* d = qobject_cast<QFontDialog*>(w); d != nullptr && d->isVisible()) {
                          chooser = d;
                      }
                  }
                  if (chooser == nullptr) {
                      return false;
                  }
                  for (QCheckBox* box : chooser->findChildren<QCheckBox*>()) {
                      if (box->isVisibleTo(chooser)) {
                          effects << box->text();
                      }
                  }
                  test::SaveScreenshot(chooser, "font_chooser_" + family);
                  chooser->accept();
                  return true;
              }}});
        const std::optional<FontChoice> chosen = QtChoosers().Font(&owner, family, 14);
        TARVIK_VERIFY_ANSWERED(answerer);
        QCOMPARE(effects, QStringList{});
        QVERIFY(chosen.has_value());
        QCOMPARE(chosen->Family, family);
        QCOMPARE(chosen->Points, 14);
        QCOMPARE(chosen->Style, 0);
    }

    // Cancel, Escape and the close box keep the settings as they were.
    void discard_data() {
        QTest::addColumn<int>("way");
        QTest::newRow("cancel") << 0;
        QTest::newRow("escape") << 1;
        QTest::newRow("close box") << 2;
    }
    void discard() {
        QFETCH(int, way);
        const SettingsRecord before = Settings;
        Fixture f;
        f.dialog->show();
        f.Row(kOutput, "BMP Compression").Combo->setCurrentIndex(1);
        f.Row(kWatermark, "Text").Edit->setText("changed");
        if (way == 0) {
            f.dialog->CancelButton()->click();
        } else if (way == 1) {
            QTest::keyClick(f.dialog.get(), Qt::Key_Escape);
        } else {
            f.dialog->close();
        }
        QVERIFY(!f.dialog->isVisible());
        QVERIFY(Settings == before);
        QCOMPARE(f.refreshed, 0);
    }

    void defaults_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("no keeps the edits") << false;
        QTest::newRow("yes resets") << true;
    }
    void defaults() {
        QFETCH(bool, yes);
        Settings.Output.BmpCompression = 1;
        Settings.Interface.UiSize = 0;
        Fixture f;
        f.dialog->show();
        f.Row(kOutput, "BMP Color Table").Combo->setCurrentIndex(1);
        QStringList texts;
        test::ModalAnswerer answerer(
            {test::AnswerMessageBox(yes ? QMessageBox::Yes : QMessageBox::No, &texts)});
        f.dialog->DefaultsButton()->click();
        TARVIK_VERIFY_ANSWERED(answerer);
        QCOMPARE(
            texts,
            QStringList{"Are you sure you want to reset all your settings to the default values?"});
        if (yes) {
            QVERIFY(!f.dialog->isVisible());
            QCOMPARE(Settings.Output.BmpCompression, 0);
            QCOMPARE(Settings.Output.BmpColorTable, 0);
            QCOMPARE(Settings.Interface.UiSize, 2);
            QCOMPARE(f.refreshed, 1);
            QCOMPARE(f.reloadSeen, 2);  // the dialog showed small icons, the default is large
            QVERIFY(test::ReadText(Settings.ConfigFilePath).find("UI Size = 2") !=
                    std::string::npos);
        } else {
            QVERIFY(f.dialog->isVisible());
            QCOMPARE(f.Row(kOutput, "BMP Color Table").Combo->currentIndex(), 1);
            QCOMPARE(f.Row(kOutput, "BMP Compression").Combo->currentIndex(), 1);
            QCOMPARE(Settings.Output.BmpCompression, 1);
            QCOMPARE(f.refreshed, 0);
            f.dialog->CancelButton()->click();
        }
    }

    // With the default list the names and swatches come from the table.
    void colorListNames() {
        Fixture f;
        QComboBox* list = f.Row(kWatermark, "Font Color").Combo;
        QCOMPARE(Entries(list), (QStringList{"Black", "White", "Red", "Orange", "Yellow", "Green",
                                             "Aqua", "Blue", "Violet"}));
        QCOMPARE(list->itemIcon(2).pixmap(16, 16).toImage().pixelColor(8, 8), QColor(255, 0, 0));
        Settings.Watermark.FontColors = "ffffff, 12, 8000ff";
        Settings.Watermark.FontColor = "8000FF";
        Fixture other;
        QComboBox* odd = other.Row(kWatermark, "Font Color").Combo;
        QCOMPARE(Entries(odd), (QStringList{"White", "Color #12", "Violet"}));
        QCOMPARE(odd->currentIndex(), 2);
        QCOMPARE(odd->itemIcon(1).pixmap(16, 16).toImage().pixelColor(8, 8), QColor(0, 0, 0));
    }

    // A new colour joins the remembered list at once and survives Cancel.
    void colorListChooser() {
        const std::string remembered = Settings.Watermark.FontColors;
        Fixture f;
        QComboBox* list = f.Row(kWatermark, "Font Color").Combo;
        f.answers.Color = 0x3C2B1A;
        f.Row(kWatermark, "Font Color").Button->click();
        QCOMPARE(list->currentText(), QString("Color #1A2B3C"));
        QCOMPARE(list->count(), 10);
        QCOMPARE(Settings.Watermark.FontColors, remembered + ",1A2B3C");
        QCOMPARE(f.answers.AskedColor, 0xFFFFFFu);  // from the selected White
        f.answers.Color = 0x0000FF;
        f.Row(kWatermark, "Font Color").Button->click();
        QCOMPARE(list->currentText(), QString("Red"));
        QCOMPARE(list->count(), 10);
        QCOMPARE(Settings.Watermark.FontColors, remembered + ",1A2B3C");
        f.answers.Color = -1;
        f.Row(kWatermark, "Font Color").Button->click();
        QCOMPARE(list->currentText(), QString("Red"));
        f.dialog->CancelButton()->click();
        QCOMPARE(Settings.Watermark.FontColors, remembered + ",1A2B3C");
        QCOMPARE(Settings.Watermark.FontColor, std::string("FFFFFF"));
        // The background list keeps its own list.
        QVERIFY(Settings.Watermark.BackColors.find("1A2B3C") == std::string::npos);
    }

    void colorButton() {
        Settings.Transform.ImageRotationBackColor = "ff8000";
        Settings.Transform.DoImageRotation = 1;
        Fixture f;
        BoundRow& row = f.Row(kTransform, "Image Rotation Back Color");
        QCOMPARE(row.Edit->text(), QString("FF8000"));
        QVERIFY(row.Edit->isReadOnly());
        f.answers.Color = -1;
        row.Button->click();
        QCOMPARE(f.answers.AskedColor, 0x0080FFu);
        QCOMPARE(row.Edit->text(), QString("FF8000"));
        f.dialog->OkButton()->click();
        QCOMPARE(Settings.Transform.ImageRotationBackColor, std::string("FF8000"));

        Fixture g;
        g.answers.Color = 0x112233;
        g.Row(kFrame, "Solid Top Color").Button->click();
        QCOMPARE(g.Row(kFrame, "Solid Top Color").Edit->text(), QString("332211"));
        QCOMPARE(Settings.Frame.SolidTopColor, std::string("000000"));  // nothing stored yet
        g.dialog->OkButton()->click();
        QCOMPARE(Settings.Frame.SolidTopColor, std::string("332211"));
    }

    void fontChooser_data() {
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("styleText");
        QTest::addColumn<bool>("added");
        QTest::newRow("known regular") << "Arial" << 0 << "Arial"
                                       << "Regular" << false;
        QTest::newRow("new bold italic") << "DejaVu Serif" << 768 << "DejaVu Serif"
                                         << "Bold Italic" << true;
        QTest::newRow("comma removed, bold") << "Noto, Sans" << 256 << "Noto Sans"
                                             << "Bold" << true;
        QTest::newRow("italic") << "Arial" << 512 << "Arial"
                                << "Italic" << false;
    }
    void fontChooser() {
        QFETCH(QString, family);
        QFETCH(int, style);
        QFETCH(QString, name);
        QFETCH(QString, styleText);
        QFETCH(bool, added);
        Settings.Watermark.Fonts = "Arial, Courier New";
        Settings.Watermark.Font = "arial";
        Settings.Watermark.FontEffect = 2;
        Fixture f;
        QComboBox* list = f.Row(kWatermark, "Font").Combo;
        QCOMPARE(list->currentText(), QString("Arial"));
        f.answers.Font = FontChoice{family, 31, style};
        f.Row(kWatermark, "Font").Button->click();
        QCOMPARE(f.answers.AskedFamily, QString("Arial"));
        QCOMPARE(f.answers.AskedPoints, Settings.Watermark.FontSize);
        QCOMPARE(list->currentText(), name);
        QCOMPARE(list->count(), added ? 3 : 2);
        QCOMPARE(f.Row(kWatermark, "Font Size").Edit->text(), QString("31"));
        QCOMPARE(f.Row(kWatermark, "Font Style").Combo->currentText(), styleText);
        QCOMPARE(f.Row(kWatermark, "Font Effect").Combo->currentIndex(), 2);
        const std::string expected = "Arial, Courier New" + (added ? "," + name.toStdString() : "");
        QCOMPARE(Settings.Watermark.Fonts, expected);
        f.dialog->CancelButton()->click();
        QCOMPARE(Settings.Watermark.Fonts, expected);
    }

    void imageChooser() {
        Settings.Watermark.Image = "  /tmp/logo.png ";
        Fixture f;
        BoundRow& row = f.Row(kWatermark, "Image");
        f.answers.File = "";
        row.Button->click();
        QCOMPARE(f.answers.AskedFile.value(0), QString("Select Watermark Image"));
        QCOMPARE(f.answers.AskedFile.value(1), QString("/tmp/logo.png"));
        QCOMPARE(f.answers.AskedFile.value(2),
                 QString("All Supported Files (*.png *.bmp *.rle *.dib *.jpg *.jpeg *.jpe *.jif);;"
                         "Portable Network Graphics (*.png);;"
                         "Windows or OS/2 Bitmap (*.bmp *.rle *.dib);;"
                         "JPEG File (*.jpg *.jpeg *.jpe *.jif);;All Files (*.*)"));
        QCOMPARE(row.Edit->text(), QString("  /tmp/logo.png "));
        f.answers.File = "/srv/pictures/mark.bmp";
        row.Button->click();
        QCOMPARE(row.Edit->text(), QString("/srv/pictures/mark.bmp"));
        f.dialog->OkButton()->click();
        QCOMPARE(Settings.Watermark.Image, std::string("/srv/pictures/mark.bmp"));
    }

    // Texts lose their line breaks and tabs and the spaces around them.
    void cleanTexts_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("watermark text") << int(kWatermark) << "Text"
                                        << "  Sample\r\n text\t! "
                                        << "Sample text!";
        QTest::newRow("filename mask") << int(kAdvanced) << "Filename Mask"
                                       << "\t%filename%.%ext%\n"
                                       << "%filename%.%ext%";
        QTest::newRow("image path") << int(kWatermark) << "Image"
                                    << " /a b/c.png "
                                    << "/a b/c.png";
        QTest::newRow("empty") << int(kWatermark) << "Text"
                               << ""
                               << "";
    }
    void cleanTexts() {
        QFETCH(int, page);
        QFETCH(QString, key);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        Fixture f;
        f.Row(page, key.toStdString()).Edit->setText(typed);
        f.dialog->OkButton()->click();
        const SettingRow* row =
            FindSetting(page == kAdvanced ? "Advanced" : "Watermark", key.toStdString());
        QCOMPARE(QString::fromStdString(FieldText(*row, Settings)), stored);
    }

    // Number-with-unit fields take digits only.
    void digitsOnly() {
        Settings.Frame.DoFrame = 1;
        Fixture f;
        f.dialog->show();
        f.dialog->ShowPage(kFrame);
        QLineEdit* left = f.Row(kFrame, "Solid Left").Edit;
        left->setFocus();
        left->selectAll();
        QTest::keyClicks(left, "1a-2 3.4");
        QCOMPARE(left->text(), QString("1234"));
        f.dialog->OkButton()->click();
        QCOMPARE(Settings.Frame.SolidLeft, 1234);
    }

    // Masters enable, disable, show and hide their dependants.
    void dependencies_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("master");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("dependant");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("rotation off")
            << int(kTransform) << "Do Image Rotation" << 0 << "Image Rotation Back Color" << false;
        QTest::newRow("rotation on")
            << int(kTransform) << "Do Image Rotation" << 1 << "Image Rotation Type" << true;
        QTest::newRow("resize off")
            << int(kTransform) << "Do Image Resize" << 0 << "Image Resize Algorithm" << false;
        QTest::newRow("resize on")
            << int(kTransform) << "Do Image Resize" << 1 << "Image Height" << true;
        QTest::newRow("threshold off")
            << int(kAdjustment) << "Do Image Threshold" << 0 << "Image Threshold" << false;
        QTest::newRow("threshold on")
            << int(kAdjustment) << "Do Image Threshold" << 1 << "Image Threshold" << true;
        QTest::newRow("timestamp custom")
            << int(kAdvanced) << "File Timestamp" << 2 << "Custom Timestamp" << true;
        QTest::newRow("timestamp original")
            << int(kAdvanced) << "File Timestamp" << 1 << "Custom Timestamp" << false;
        QTest::newRow("raw 8-bit sizes")
            << int(kInput) << "RAW Load As" << 1 << "RAW Image Width" << true;
        QTest::newRow("raw 8-bit tone")
            << int(kInput) << "RAW Load As" << 1 << "RAW Tone Mapping" << false;
        QTest::newRow("raw 48-bit sizes")
            << int(kInput) << "RAW Load As" << 5 << "RAW Header Size" << false;
        QTest::newRow("raw 48-bit hs tone")
            << int(kInput) << "RAW Load As" << 4 << "RAW Tone Mapping" << true;
        QTest::newRow("raw 24-bit tone")
            << int(kInput) << "RAW Load As" << 3 << "RAW Tone Mapping" << false;
        QTest::newRow("raw auto sizes")
            << int(kInput) << "RAW Load As" << 0 << "RAW Image Height" << false;
    }
    void dependencies() {
        QFETCH(int, page);
        QFETCH(QString, master);
        QFETCH(int, value);
        QFETCH(QString, dependant);
        QFETCH(bool, enabled);
        Fixture f;
        BoundRow& m = f.Row(page, master.toStdString());
        // Move away and back so that the change is an event either way.
        if (m.Check != nullptr) {
            m.Check->setChecked(value == 0);
            m.Check->setChecked(value != 0);
        } else {
            m.Combo->setCurrentIndex(value == 0 ? 1 : 0);
            m.Combo->setCurrentIndex(value);
        }
        BoundRow& d = f.Row(page, dependant.toStdString());
        for (QWidget* part : d.Parts) {
            QCOMPARE(part->isEnabled(), enabled);
        }
    }

    void panelsShown() {
        Fixture f;
        f.dialog->show();
        auto visibleOn = [&f](int page, std::string_view key) {
            return f.Row(page, key).Label->isVisibleTo(f.dialog->Page(page));
        };
        // Only the selected format's panel shows; jpg input has none.
        f.dialog->ShowPage(kOutput);
        QVERIFY(visibleOn(kOutput, "BMP BPP"));
        QVERIFY(!visibleOn(kOutput, "JPG Quality"));
        QVERIFY(!visibleOn(kOutput, "TIFF Compression"));
        for (const std::string_view key :
             {"DDS Load As", "GIF Frame Loading", "ICO Frame Loading", "PSD Color Model",
              "RAW Load As", "TIFF Frame Loading"}) {
            QVERIFY(!visibleOn(kInput, key));
        }
        QComboBox* frame = f.Row(kFrame, "Do Frame").Combo;
        frame->setCurrentIndex(1);
        QVERIFY(visibleOn(kFrame, "Solid Left"));
        frame->setCurrentIndex(0);
        QVERIFY(!visibleOn(kFrame, "Solid Left"));
        QComboBox* type = f.Row(kWatermark, "Do Watermark").Combo;
        const std::array<std::pair<bool, bool>, 3> shown = {
            {{false, false}, {true, false}, {false, true}}};
        for (int i = 0; i < 3; ++i) {
            type->setCurrentIndex(i);
            QCOMPARE(visibleOn(kWatermark, "Text"), shown[static_cast<std::size_t>(i)].first);
            QCOMPARE(visibleOn(kWatermark, "Image"), shown[static_cast<std::size_t>(i)].second);
        }
        type->setCurrentIndex(1);
        QVERIFY(!visibleOn(kWatermark, "Text Scale"));
        QVERIFY(!visibleOn(kAdvanced, "Keep Subfolders"));
    }

    // Lists with fixed entries, whatever the settings hold.
    void fixedLists() {
        Settings.General.Language = "de";
        Settings.Watermark.TextSize = 0;
        Fixture f;
        QCOMPARE(Entries(f.Row(kGeneral, "Language").Combo), QStringList{"English"});
        QCOMPARE(Entries(f.Row(kWatermark, "Text Size").Combo), QStringList{"Fixed"});
        QCOMPARE(Entries(f.Row(kWatermark, "Image Size").Combo), QStringList{"Fixed"});
        // The PCX compression list edits no setting.
        QCOMPARE(Entries(f.Row(kOutput, "Compression").Combo), QStringList{"RLE"});
        QCOMPARE(f.Row(kOutput, "Compression").Combo->currentIndex(), 0);
        QCOMPARE(Entries(f.Row(kOutput, "BMP BPP").Combo),
                 (QStringList{"Auto", "1", "4", "8", "16", "24", "32"}));
        QCOMPARE(Entries(f.Row(kOutput, "DDS BPP").Combo), (QStringList{"Auto", ""}));
        f.dialog->OkButton()->click();
        QCOMPARE(Settings.General.Language, std::string("en"));
    }

    void bitDepths_data() {
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("saved");
        QTest::newRow("auto") << 0 << "Auto" << 0;
        QTest::newRow("listed") << 8 << "8" << 8;
        QTest::newRow("not listed") << 2 << "" << 0;
    }
    void bitDepths() {
        QFETCH(int, stored);
        QFETCH(QString, shown);
        QFETCH(int, saved);
        Settings.Output.BmpBpp = stored;
        Fixture f;
        QCOMPARE(f.Row(kOutput, "BMP BPP").Combo->currentText(), shown);
        f.dialog->OkButton()->click();
        QCOMPARE(Settings.Output.BmpBpp, saved);
    }

    void noThemes() {
        const auto saved = ThemeNames;
        ThemeNames.clear();
        Fixture f;
        ThemeNames = saved;
        QCOMPARE(Entries(f.Row(kInterface, "UI Theme").Combo), QStringList{"None"});
    }

    // Every row of every page: changed in the dialog, saved by OK and read
    // back from config.ini as the next window start does.
    void everyRow_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("key");
        FreshSettings();
        Fixture f;
        for (int page = 0; page < kPreferencesPageCount; ++page) {
            for (RowPanel* panel : f.dialog->Page(page)->Panels()) {
                for (BoundRow& row : panel->Rows()) {
                    // Rows that store nothing, and lists of a single entry
                    // (language, sizes, this build's one format and theme).
                    if (row.Setting == nullptr ||
                        (row.Combo != nullptr && row.Plan->Kind != RowKind::ColorList &&
                         row.Plan->Kind != RowKind::FontList &&
                         (row.Combo->count() < 2 || row.Combo->itemText(1).isEmpty()))) {
                        continue;
                    }
                    const QString key = QString::fromUtf8(
                        row.Plan->Key.data(), static_cast<qsizetype>(row.Plan->Key.size()));
                    QTest::newRow(qPrintable(
                        QString::fromUtf8(row.Plan->Group.data(),
                                          static_cast<qsizetype>(row.Plan->Group.size())) +
                        " " + key))
                        << page << key;
                }
            }
        }
    }
    void everyRow() {
        QFETCH(int, page);
        QFETCH(QString, key);
        Settings.Transform.DoImageRotation = 1;  // a disabled colour button cannot be pressed
        Fixture f;
        BoundRow& row = f.Row(page, key.toStdString());
        const SettingRow* setting = row.Setting;
        const std::string before = FieldText(*setting, Settings);
        const SettingRow* unit =
            row.Plan->UnitKey.empty() ? nullptr : FindSetting(row.Plan->Group, row.Plan->UnitKey);
        const std::string unitBefore = unit != nullptr ? FieldText(*unit, Settings) : "";
        QVERIFY(ChangeRow(f, row));
        f.dialog->OkButton()->click();
        QVERIFY2(FieldText(*setting, Settings) != before, before.c_str());
        // config.ini holds the keys of this build's formats only.
        const std::vector<std::string>& formats =
            setting->group == "Input" ? InputFormats : OutputFormats;
        if (!setting->format.empty() &&
            std::find(formats.begin(), formats.end(), setting->format) == formats.end()) {
            return;
        }
        ResetSettings(false);
        LoadSettings();
        QVERIFY2(FieldText(*setting, Settings) != before, before.c_str());
        if (unit != nullptr) {
            QVERIFY(FieldText(*unit, Settings) != unitBefore);
        }
    }

    // OK without changes writes back the very file it was opened on.
    void roundTrip_data() {
        QTest::addColumn<bool>("changed");
        QTest::newRow("defaults") << false;
        QTest::newRow("every setting changed") << true;
    }
    void roundTrip() {
        QFETCH(bool, changed);
        if (changed) {
            SettingsRecord& s = Settings;
            s.General.UpdateRange = 5;
            s.General.SaveWindowPosition = 0;
            s.Interface.UiSize = 0;
            s.Input.RawLoadAs = 4;
            s.Input.RawHeaderSize = 12;
            s.Input.RawImageWidth = 640;
            s.Input.RawImageHeight = 480;
            s.Input.RawToneMapping = 1;
            s.Input.DdsLoadAs = 2;
            s.Input.GifFrameLoading = 3;
            s.Input.IcoFrameLoading = 4;
            s.Input.TiffFrameLoading = 1;
            s.Input.PsdColorModel = 2;
            s.Output.BmpBpp = 24;
            s.Output.BmpCompression = 1;
            s.Output.BmpColorTable = 1;
            s.Output.JpgQuality = 42;
            s.Output.JpgChroma = 3;
            s.Output.JpgSaveAs = 3;
            s.Output.PngInterlaced = 1;
            s.Output.PngCompression = 2;
            s.Output.TiffCompression = 8;
            s.Output.TiffColorModel = 1;
            s.Output.WebpQuality = 7;
            s.Output.ExrCompression = 4;
            s.Output.TgaCompression = 1;
            s.Transform = {1, 1, 90, "12AB34", 1, 50, 1, 60, 1, 0, 1, 5, 1, 1};
            s.Adjustment = {1, -30, 25, 2.35f, 1, 1, 1, 200};
            s.Frame = {1, 1, 2, 3, 4, "FF0000", "00FF00", "0000FF", "808080", 128};
            s.Watermark.DoWatermark = 2;
            s.Watermark.Text = "Copyright %year%";
            s.Watermark.Fonts = "Arial,Courier New";
            s.Watermark.Font = "Courier New";
            s.Watermark.FontSize = 20;
            s.Watermark.FontLeading = 3;
            s.Watermark.FontColor = "FF0000";
            s.Watermark.FontStyle = 3;
            s.Watermark.FontEffect = 1;
            s.Watermark.TextAntialiasing = 0;
            s.Watermark.TextAlignment = 2;
            s.Watermark.TextPadding = 6;
            s.Watermark.TextOpacity = 100;
            s.Watermark.BackColor = "FFFFFF";
            s.Watermark.BackOpacity = 50;
            s.Watermark.TextBoundary = 1;
            s.Watermark.TextPosition = 4;
            s.Watermark.TextXOffset = 7;
            s.Watermark.TextYOffset = 8;
            s.Watermark.TextRotation = 45;
            s.Watermark.TextScale = 150;
            s.Watermark.Image = "/srv/logo.png";
            s.Watermark.ImageGreyscale = 1;
            s.Watermark.ImageOpacity = 99;
            s.Watermark.ImageBoundary = 1;
            s.Watermark.ImagePosition = 2;
            s.Watermark.ImageXOffset = 9;
            s.Watermark.ImageYOffset = 10;
            s.Watermark.ImageRotation = 270;
            s.Watermark.ImageScale = 30;
            s.Advanced.FilenameMask = "%filename%-small.%ext%";
            s.Advanced.FileTimestamp = 2;
            s.Advanced.CustomTimestamp = 1700000000;
            s.Advanced.OutFoldersHistory = 1;
            s.Advanced.OutFoldersNumber = 33;
            s.Advanced.KeepSubfolders = 1;
        }
        QVERIFY(SaveSettings());
        const std::string saved = test::ReadText(Settings.ConfigFilePath);
        ResetSettings(false);
        LoadSettings();
        const SettingsRecord loaded = Settings;
        Fixture f;
        f.dialog->OkButton()->click();
        QVERIFY(Settings == loaded);
        QCOMPARE(test::ReadText(Settings.ConfigFilePath), saved);
    }

    // Every page as a person sees it.
    void screenshots() {
        Settings.Watermark.DoWatermark = 1;
        Settings.Frame.DoFrame = 1;
        Fixture f;
        f.dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.dialog.get()));
        const std::array<const char*, 9> names = {"general", "interface",      "input",
                                                  "output",  "transform",      "adjustment",
                                                  "frame",   "watermark_text", "advanced"};
        for (int page = 0; page < kPreferencesPageCount; ++page) {
            f.dialog->Categories()->setCurrentRow(page);
            QCOMPARE(f.dialog->CurrentPage(), page);
            QTest::qWait(kSettleMilliseconds);  // the new page lays itself out
            QVERIFY(!test::SaveScreenshot(
                         f.dialog.get(),
                         QString("preferences_%1").arg(names[static_cast<std::size_t>(page)]))
                         .isEmpty());
        }
        f.dialog->ShowPage(kWatermark);
        f.Row(kWatermark, "Do Watermark").Combo->setCurrentIndex(2);
        QTest::qWait(kSettleMilliseconds);
        test::SaveScreenshot(f.dialog.get(), "preferences_watermark_image");
        f.dialog->CancelButton()->click();

        // A format with more rows: jpg as an output format for this picture.
        const std::vector<std::string> formats = OutputFormats;
        OutputFormats.push_back("jpg");
        Settings.Output.Format = "jpg";
        Fixture g;
        OutputFormats = formats;
        g.dialog->ShowPage(kOutput);
        g.dialog->show();
        QTest::qWait(kSettleMilliseconds);
        QVERIFY(g.Row(kOutput, "JPG Quality").Label->isVisibleTo(g.dialog.get()));
        QVERIFY(!g.Row(kOutput, "BMP BPP").Label->isVisibleTo(g.dialog.get()));
        test::SaveScreenshot(g.dialog.get(), "preferences_output_jpg");
    }

    // The main window takes over a new icon size after OK.
    void refreshMainWindow() {
        Settings.Interface.UiSize = 0;
        MainWindow window;
        window.Finish();
        QCOMPARE(window.MainToolbar()->iconSize(), QSize(16, 16));
        window.RunCommand(kCommandPreferences);
        auto* dialog = window.findChild<PreferencesDialog*>();
        QVERIFY(dialog != nullptr);
        dialog->Page(kInterface)->Find("UI Size")->Combo->setCurrentIndex(2);
        dialog->OkButton()->click();
        QCOMPARE(window.MainToolbar()->iconSize(), QSize(32, 32));
        QCOMPARE(InterfaceReload, 0);
        QCOMPARE(window.Controls().OutputFormatBox->currentIndex(), 0);
        QVERIFY(test::ReadText(Settings.ConfigFilePath).find("UI Size = 2") != std::string::npos);
    }
};

}  // namespace tarvik

TARVIK_GUI_TEST_MAIN(tarvik::PreferencesTest, "preferences")
#include "preferences_test.moc"
