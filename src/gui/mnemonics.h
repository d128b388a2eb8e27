// Keyboard mnemonics (Alt+letter) for texts the catalog gives without one:
// each text gets the first letter not yet taken among its neighbours (a
// word's first letter before any other), so a menu, a menu bar or a
// window's labels never share one. A text that already carries one keeps
// it; a literal "&" is kept as "&&".
#pragma once

#include <QString>
#include <QStringView>

namespace tarvik {

class MnemonicSet {
  public:
    // Letters that must stay free (a window shortcut such as Alt+X).
    explicit MnemonicSet(QStringView reserved = {}) : taken_(reserved.toString().toLower()) {}

    // The text with a mnemonic marked, or as it was when every letter of
    // it is taken.
    QString Mark(const QString& text);
    // Every letter taken so far, lower case.
    const QString& Taken() const { return taken_; }

  private:
    QString taken_;
};

// The text as a screen reader or a tooltip shows it: mnemonic marks and a
// closing colon removed.
QString PlainText(const QString& text);

}  // namespace tarvik
