// The result badges, 170 x 65 on the card's face: a tinted panel with a
// round mark. Success is a green check, failure a red exclamation mark, so
// the two differ in shape as well as in colour.
#include <cmath>

#include "assets.h"

namespace art {

namespace {
Surface badge(Rgb tone, bool ok) {
    const Rect& r = layout::badge;
    Surface bmp = newBitmap(r.w, r.h, palette::card);
    auto ctx = newContext(bmp);
    cairo_t* cr = ctx.get();

    setColor(cr, mix(palette::card, tone, 0.07));
    roundedRect(cr, 0.5, 0.5, r.w - 1, r.h - 1, shape::radius);
    cairo_fill_preserve(cr);
    setColor(cr, mix(palette::card, tone, 0.28));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);

    const double cx = r.w / 2.0, cy = r.h / 2.0;
    setColor(cr, mix(palette::card, tone, 0.20));  // halo
    cairo_arc(cr, cx, cy, 24, 0, 2 * M_PI);
    cairo_fill(cr);
    setColor(cr, tone);
    cairo_arc(cr, cx, cy, 18, 0, 2 * M_PI);
    cairo_fill(cr);
    setColor(cr, palette::white);
    if (ok)
        check(cr, cx, cy, 18, 3.2);
    else
        exclamation(cr, cx, cy, 18, 3.4);
    return bmp;
}
}  // namespace

Surface okBadge() { return badge(palette::success, true); }
Surface errorBadge() { return badge(palette::error, false); }

}  // namespace art
