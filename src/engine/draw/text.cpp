#include "engine/draw/text.h"

#include <pango/pangocairo.h>

#include "engine/draw/cairo_handles.h"

namespace tarvik {
namespace {

struct GObjectDeleter {
    void operator()(gpointer object) const noexcept { g_object_unref(object); }
};
template <class T>
using GObject = std::unique_ptr<T, GObjectDeleter>;

struct AttrListDeleter {
    void operator()(PangoAttrList* list) const noexcept { pango_attr_list_unref(list); }
};
using AttrList = std::unique_ptr<PangoAttrList, AttrListDeleter>;

struct GStringDeleter {
    void operator()(gchar* text) const noexcept { g_free(text); }
};

void SetEffects(PangoLayout* layout, const Font& font) {
    AttrList attributes(pango_attr_list_new());
    if (font.underline) {
        pango_attr_list_insert(attributes.get(), pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    }
    if (font.strikeOut) {
        pango_attr_list_insert(attributes.get(), pango_attr_strikethrough_new(TRUE));
    }
    pango_layout_set_attributes(layout, attributes.get());
}

void SetText(PangoLayout* layout, std::string_view text) {
    std::unique_ptr<gchar, GStringDeleter> valid(
        g_utf8_make_valid(text.data(), static_cast<gssize>(text.size())));
    pango_layout_set_text(layout, valid.get(), -1);
}

GObject<PangoLayout> MakeLayout(cairo_t* cr, const Font& font, std::string_view text,
                                bool antialias) {
    if (!font) {
        return {};
    }
    GObject<PangoContext> context(pango_cairo_create_context(cr));
    pango_cairo_context_set_resolution(context.get(), kFontDotsPerInch);
    FontOptions options(cairo_font_options_create());
    cairo_font_options_set_antialias(options.get(),
                                     antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
    pango_cairo_context_set_font_options(context.get(), options.get());
    GObject<PangoLayout> layout(pango_layout_new(context.get()));
    pango_layout_set_font_description(layout.get(), font.description.get());
    pango_layout_set_single_paragraph_mode(layout.get(), TRUE);
    SetEffects(layout.get(), font);
    SetText(layout.get(), text);
    return layout;
}

PangoRectangle LogicalBox(PangoLayout* layout) {
    PangoRectangle logical{};
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    return logical;
}

}  // namespace

TextSize MeasureText(const Surface& surface, const Font& font, std::string_view text,
                     bool antialias) {
    CairoContext cr = StartDrawing(surface);
    if (!cr) {
        return {};
    }
    GObject<PangoLayout> layout = MakeLayout(cr.get(), font, text, antialias);
    if (!layout) {
        return {};
    }
    const PangoRectangle logical = LogicalBox(layout.get());
    return {logical.width, logical.height};
}

bool DrawTextOnBackground(Surface& surface, const Font& font, std::string_view text, int x, int y,
                          Rgba textColor, Rgba backColor) {
    CairoContext cr = StartDrawing(surface);
    if (!cr) {
        return false;
    }
    GObject<PangoLayout> layout = MakeLayout(cr.get(), font, text, false);
    if (!layout) {
        return false;
    }
    // A copy operator over binary coverage leaves only the two colours.
    cairo_set_antialias(cr.get(), CAIRO_ANTIALIAS_NONE);
    cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
    const PangoRectangle logical = LogicalBox(layout.get());
    SetSourceColor(cr.get(), backColor);
    cairo_rectangle(cr.get(), x + logical.x, y + logical.y, logical.width, logical.height);
    cairo_fill(cr.get());
    SetSourceColor(cr.get(), textColor);
    cairo_move_to(cr.get(), x, y);
    pango_cairo_show_layout(cr.get(), layout.get());
    return DrawingSucceeded(cr);
}

bool DrawTextAntialiased(Surface& surface, const Font& font, std::string_view text, int x, int y,
                         Rgba textColor) {
    CairoContext cr = StartDrawing(surface);
    if (!cr) {
        return false;
    }
    GObject<PangoLayout> layout = MakeLayout(cr.get(), font, text, true);
    if (!layout) {
        return false;
    }
    SetSourceColor(cr.get(), textColor);
    cairo_move_to(cr.get(), x, y);
    pango_cairo_show_layout(cr.get(), layout.get());
    return DrawingSucceeded(cr);
}

}  // namespace tarvik
