#include "gui/mnemonics.h"

namespace tarvik {
namespace {

constexpr QChar kMark = u'&';

// The position of the text's own mnemonic, or -1.
qsizetype OwnMnemonic(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == kMark) {
            if (text[i + 1].isLetterOrNumber()) {
                return i + 1;
            }
            if (text[i + 1] == kMark) {
                ++i;  // "&&" is a literal "&"
            }
        }
    }
    return -1;
}

}  // namespace

QString MnemonicSet::Mark(const QString& text) {
    if (const qsizetype own = OwnMnemonic(text); own >= 0) {
        taken_ += text[own].toLower();
        return text;
    }
    const auto free = [this](QChar c) {
        return c.isLetterOrNumber() && !taken_.contains(c.toLower());
    };
    qsizetype chosen = -1;
    for (qsizetype i = 0; i < text.size() && chosen < 0; ++i) {
        const bool wordStart = i == 0 || !text[i - 1].isLetterOrNumber();
        if (wordStart && free(text[i])) {
            chosen = i;
        }
    }
    for (qsizetype i = 0; i < text.size() && chosen < 0; ++i) {
        if (free(text[i])) {
            chosen = i;
        }
    }
    QString marked;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (i == chosen) {
            marked += kMark;
            taken_ += text[i].toLower();
        } else if (text[i] == kMark) {
            // A lone "&" and a "&&" both stay one literal "&".
            marked += QStringLiteral("&&");
            if (i + 1 < text.size() && text[i + 1] == kMark) {
                ++i;
            }
            continue;
        }
        marked += text[i];
    }
    return marked;
}

QString PlainText(const QString& text) {
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == kMark && i + 1 < text.size()) {
            ++i;
        }
        plain += text[i];
    }
    plain = plain.trimmed();
    return plain.endsWith(u':') ? plain.chopped(1) : plain;
}

}  // namespace tarvik
