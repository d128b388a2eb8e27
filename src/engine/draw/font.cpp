#include "engine/draw/font.h"

#include <fontconfig/fontconfig.h>
#include <pango/pango.h>

#include <algorithm>
#include <vector>

namespace tarvik {
namespace {

struct PatternDeleter {
    void operator()(FcPattern* pattern) const noexcept { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

const FcChar8* FcText(const std::string& text) {
    return reinterpret_cast<const FcChar8*>(text.c_str());
}

// The families the configuration binds to the request: the request itself
// and its declared substitutes (strong or same bindings). The generic
// fallbacks are bound weakly.
std::vector<std::string> DeclaredFamilies(FcPattern* substituted) {
    std::vector<std::string> families;
    FcPatternIter it;
    FcPatternIterStart(substituted, &it);
    do {
        const char* object = FcPatternIterGetObject(substituted, &it);
        if (object == nullptr || FcStrCmp(reinterpret_cast<const FcChar8*>(object),
                                          reinterpret_cast<const FcChar8*>(FC_FAMILY)) != 0) {
            continue;
        }
        const int count = FcPatternIterValueCount(substituted, &it);
        for (int i = 0; i < count; ++i) {
            FcValue value;
            FcValueBinding binding;
            if (FcPatternIterGetValue(substituted, &it, i, &value, &binding) == FcResultMatch &&
                value.type == FcTypeString && binding != FcValueBindingWeak) {
                families.emplace_back(reinterpret_cast<const char*>(value.u.s));
            }
        }
    } while (FcPatternIterNext(substituted, &it));
    return families;
}

// Whether any family name of the matched font is one of the declared ones.
bool MatchIsDeclared(FcPattern* match, const std::vector<std::string>& declared) {
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        for (const std::string& family : declared) {
            if (FcStrCmpIgnoreCase(name, FcText(family)) == 0) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

void FontDescriptionDeleter::operator()(PangoFontDescription* description) const noexcept {
    pango_font_description_free(description);
}

bool FontFamilyResolves(const std::string& family) {
    if (family.empty()) {
        return false;
    }
    Pattern pattern(FcPatternCreate());
    if (!pattern || !FcPatternAddString(pattern.get(), FC_FAMILY, FcText(family)) ||
        !FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern)) {
        return false;
    }
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    Pattern match(FcFontMatch(nullptr, pattern.get(), &result));
    return match && MatchIsDeclared(match.get(), DeclaredFamilies(pattern.get()));
}

Font LoadFont(const FontRequest& request) {
    if (request.points <= 0 || !FontFamilyResolves(request.family)) {
        return {};
    }
    Font font;
    font.description.reset(pango_font_description_new());
    pango_font_description_set_family(font.description.get(), request.family.c_str());
    pango_font_description_set_size(font.description.get(),
                                    std::min(request.points, kMaxFontPoints) * PANGO_SCALE);
    pango_font_description_set_weight(font.description.get(),
                                      request.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(font.description.get(),
                                     request.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    font.underline = request.underline;
    font.strikeOut = request.strikeOut;
    return font;
}

}  // namespace tarvik
