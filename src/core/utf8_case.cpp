#include "core/utf8_case.h"

#include <locale.h>
#include <wctype.h>

#include <cstdint>

namespace tarvik {
namespace {

constexpr char32_t kMaxCodePoint = 0x10FFFF;
constexpr char32_t kFirstSurrogate = 0xD800;
constexpr char32_t kLastSurrogate = 0xDFFF;

// The C.UTF-8 locale's character classes, created once; null where the
// system lacks it, and then only ASCII letters change case.
locale_t CaseLocale() {
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
    return locale;
}

struct Decoded {
    char32_t code = 0;
    std::size_t length = 0;  // 0: not a valid sequence
};

// One UTF-8 sequence at the start of text: no overlong forms, no
// surrogates, nothing past U+10FFFF.
Decoded DecodeOne(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 0;
    char32_t code = 0;
    char32_t least = 0;
    if (lead < 0x80) {
        return {lead, 1};
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1Fu, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0Fu, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07u, least = 0x10000;
    } else {
        return {};
    }
    if (text.size() < length) {
        return {};
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80) {
            return {};
        }
        code = (code << 6) | (next & 0x3Fu);
    }
    if (code < least || code > kMaxCodePoint ||
        (code >= kFirstSurrogate && code <= kLastSurrogate)) {
        return {};
    }
    return {code, length};
}

void Encode(char32_t code, std::string& out) {
    const auto put = [&out](char32_t byte) { out += static_cast<char>(byte); };
    if (code < 0x80) {
        put(code);
    } else if (code < 0x800) {
        put(0xC0 | (code >> 6));
        put(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        put(0xE0 | (code >> 12));
        put(0x80 | ((code >> 6) & 0x3F));
        put(0x80 | (code & 0x3F));
    } else {
        put(0xF0 | (code >> 18));
        put(0x80 | ((code >> 12) & 0x3F));
        put(0x80 | ((code >> 6) & 0x3F));
        put(0x80 | (code & 0x3F));
    }
}

char32_t MapCase(char32_t code, bool upper) {
    if (code < 0x80) {
        if (upper && code >= 'a' && code <= 'z') {
            return code - 32;
        }
        return !upper && code >= 'A' && code <= 'Z' ? code + 32 : code;
    }
    const locale_t locale = CaseLocale();
    if (locale == nullptr) {
        return code;
    }
    const auto wide = static_cast<wint_t>(code);
    const wint_t mapped = upper ? towupper_l(wide, locale) : towlower_l(wide, locale);
    const auto result = static_cast<char32_t>(mapped);
    // A mapping must stay a character that can be written back.
    return result > kMaxCodePoint || (result >= kFirstSurrogate && result <= kLastSurrogate)
               ? code
               : result;
}

// Maps each character; in title case the first goes up, the rest down.
std::string Convert(std::string_view text, bool upper, bool titleCase) {
    std::string out;
    out.reserve(text.size());
    bool first = true;
    for (std::size_t at = 0; at < text.size();) {
        const Decoded d = DecodeOne(text.substr(at));
        if (d.length == 0) {
            out += text[at++];
        } else {
            Encode(MapCase(d.code, titleCase ? first : upper), out);
            at += d.length;
        }
        first = false;
    }
    return out;
}

}  // namespace

std::string UpperUtf8(std::string_view text) {
    return Convert(text, true, false);
}

std::string LowerUtf8(std::string_view text) {
    return Convert(text, false, false);
}

std::string TitleUtf8(std::string_view text) {
    return Convert(text, false, true);
}

}  // namespace tarvik
