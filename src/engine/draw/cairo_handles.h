// Owners and small helpers for Cairo objects, shared by the drawing layer's
// sources only (the public headers keep Cairo out of their users).
#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>

#include "engine/draw/surface.h"

namespace tarvik {

struct CairoDeleter {
    void operator()(cairo_t* cr) const noexcept { cairo_destroy(cr); }
};
using CairoContext = std::unique_ptr<cairo_t, CairoDeleter>;

struct FontOptionsDeleter {
    void operator()(cairo_font_options_t* options) const noexcept {
        cairo_font_options_destroy(options);
    }
};
using FontOptions = std::unique_ptr<cairo_font_options_t, FontOptionsDeleter>;

// A drawing context on the surface; empty when drawing cannot start.
CairoContext StartDrawing(const Surface& surface);
// Whether every operation on the context succeeded.
bool DrawingSucceeded(const CairoContext& cr);

void SetSourceColor(cairo_t* cr, Rgba color);

}  // namespace tarvik
