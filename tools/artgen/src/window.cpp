// The card that every 280 x 180 picture starts from: a soft two-layer shadow
// in a transparent margin, the light face, and the accent title band with
// the job's pictogram. Everything a control sits on stays one flat colour.
#include "assets.h"

namespace art {

namespace {
void cardPath(cairo_t* cr, double dy = 0) {
    const Rect& c = layout::card;
    roundedRect(cr, c.x, c.y + dy, c.w, c.h, shape::radius);
}

// The card's silhouette, offset and blurred, painted under the card.
void shadow(cairo_t* cr, double dy, double sigma, double alpha) {
    Surface s = newPicture(layout::width, layout::height);
    {
        auto sc = newContext(s);
        cairo_set_source_rgba(sc.get(), 0, 0, 0, 1);
        cardPath(sc.get(), dy);
        cairo_fill(sc.get());
    }
    blur(s, sigma);
    cairo_set_source_surface(cr, s.get(), 0, 0);
    cairo_paint_with_alpha(cr, alpha);
}
}  // namespace

Surface windowBase(Job job) {
    Surface pic = newPicture(layout::width, layout::height);
    auto ctx = newContext(pic);
    cairo_t* cr = ctx.get();

    shadow(cr, 2.0, 2.6, 0.30);  // soft key shadow, slightly below
    shadow(cr, 0.5, 0.7, 0.22);  // tight contact shadow

    setColor(cr, palette::card);
    cardPath(cr);
    cairo_fill(cr);

    // Title band: the card's top, clipped to its rounded corners.
    cairo_save(cr);
    cardPath(cr);
    cairo_clip(cr);
    const Rect& c = layout::card;
    fillRect(cr, {c.x, c.y, c.w, layout::headerHeight}, palette::accent);
    cairo_restore(cr);

    // The job's pictogram at the band's left, on the content edge.
    const double gw = 24;
    glyph(cr, job == Job::Backup ? Glyph::Backup : Glyph::Restore, layout::bar.x + gw / 2,
          c.y + layout::headerHeight / 2.0, gw, palette::white);

    // Hairline edge: separates the card from a light desktop.
    cairo_set_line_width(cr, shape::strokeFine);
    cairo_set_source_rgba(cr, 0, 0, 0, shape::edgeAlpha);
    roundedRect(cr, c.x + 0.5, c.y + 0.5, c.w - 1, c.h - 1, shape::radius - 0.5);
    cairo_stroke(cr);
    return pic;
}

}  // namespace art
