// The progress bar, 197 x 14 on the card's face. The program draws the empty
// strip, then reveals the filled one from the left; both share one outline.
#include <cmath>

#include "assets.h"

namespace art {

namespace {
const Rect& R = layout::bar;

void pill(cairo_t* cr, double dy = 0) { roundedRect(cr, 0, dy, R.w, R.h, R.h / 2.0); }
}  // namespace

Surface emptyBar() {
    Surface bmp = newBitmap(R.w, R.h, palette::card);
    auto ctx = newContext(bmp);
    cairo_t* cr = ctx.get();
    // Sunken track: a darker rim at the top fading into the track colour.
    setColor(cr, mix(palette::track, palette::ink, 0.10));
    pill(cr);
    cairo_fill(cr);
    cairo_save(cr);
    pill(cr);
    cairo_clip(cr);
    setColor(cr, palette::track);
    pill(cr, 1);
    cairo_fill(cr);
    cairo_restore(cr);
    return bmp;
}

Surface fullBar() {
    Surface bmp = newBitmap(R.w, R.h, palette::card);
    auto ctx = newContext(bmp);
    cairo_t* cr = ctx.get();
    cairo_save(cr);
    pill(cr);
    cairo_clip(cr);
    // Face: a gentle vertical light, then faint diagonal stripes.
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, R.h);
    const Rgb top = palette::accentLight, bottom = palette::accent;
    cairo_pattern_add_color_stop_rgb(g, 0, top.r / 255.0, top.g / 255.0, top.b / 255.0);
    cairo_pattern_add_color_stop_rgb(g, 1, bottom.r / 255.0, bottom.g / 255.0, bottom.b / 255.0);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
    setColor(cr, palette::white, 0.10);
    for (double x = -R.h; x < R.w + R.h; x += 12) {
        cairo_move_to(cr, x, R.h);
        cairo_line_to(cr, x + 6, R.h);
        cairo_line_to(cr, x + 6 + R.h, 0);
        cairo_line_to(cr, x + R.h, 0);
        cairo_close_path(cr);
    }
    cairo_fill(cr);
    // A one-pixel highlight along the top edge.
    setColor(cr, palette::white, 0.22);
    cairo_rectangle(cr, 0, 1, R.w, 1);
    cairo_fill(cr);
    cairo_restore(cr);
    return bmp;
}

}  // namespace art
