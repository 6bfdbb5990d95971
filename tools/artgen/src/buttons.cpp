// The button bitmaps, each drawn on the exact colour the picture has beneath
// it: the title buttons on the accent band, the others on the card's face.
// Hover lightens, press darkens (and sinks by a pixel where there is room).
#include <cmath>

#include "assets.h"

namespace art {

namespace {
enum class Look { Normal, Hover, Press };

// 15 x 15 on the accent band: a pale mark; a lighter or darker chip behind
// it on hover and press.
Surface titleButton(Look look, void (*mark)(cairo_t*)) {
    Surface bmp = newBitmap(15, 15, palette::accent);
    auto ctx = newContext(bmp);
    cairo_t* cr = ctx.get();
    if (look != Look::Normal) {
        setColor(cr, look == Look::Hover ? palette::accentLight : palette::accentDark);
        roundedRect(cr, 0, 0, 15, 15, shape::smallRadius);
        cairo_fill(cr);
    }
    setColor(cr, look == Look::Normal ? mix(palette::accent, palette::white, 0.82) : palette::white);
    mark(cr);
    return bmp;
}

void cross(cairo_t* cr) {
    cairo_set_line_width(cr, 1.6);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, 4.5, 4.5);
    cairo_line_to(cr, 10.5, 10.5);
    cairo_move_to(cr, 10.5, 4.5);
    cairo_line_to(cr, 4.5, 10.5);
    cairo_stroke(cr);
}

void dash(cairo_t* cr) {
    cairo_rectangle(cr, 4, 7, 7, 2);  // pixel-aligned, two rows
    cairo_fill(cr);
}

// 70 x 28 on the card: the accent push button with its word.
Surface closeLook(Look look) {
    const Rect& r = layout::close;
    Surface bmp = newBitmap(r.w, r.h, palette::card);
    auto ctx = newContext(bmp);
    cairo_t* cr = ctx.get();
    const double sink = look == Look::Press ? 1 : 0;
    if (look != Look::Press) {  // a one-pixel ledge under the raised button
        setColor(cr, mix(palette::card, palette::accentDark, 0.35));
        roundedRect(cr, 1, 2, r.w - 2, r.h - 3, shape::radius);
        cairo_fill(cr);
    }
    const Rgb face = look == Look::Normal  ? palette::accent
                     : look == Look::Hover ? palette::accentLight
                                           : palette::accentDark;
    setColor(cr, face);
    roundedRect(cr, 1, 1 + sink, r.w - 2, r.h - 3, shape::radius);
    cairo_fill(cr);
    setColor(cr, palette::white);
    setFont(cr, 11, true);
    centredText(cr, "Close", r.w / 2.0, (r.h - 2) / 2.0 + sink);
    return bmp;
}

// 70 x 16 on the card: a text link to the log.
Surface linkLook(Look look) {
    const Rect& r = layout::recordLink;
    Surface bmp = newBitmap(r.w, r.h, palette::card);
    auto ctx = newContext(bmp);
    cairo_t* cr = ctx.get();
    if (look == Look::Press) {
        setColor(cr, palette::accentTint);
        roundedRect(cr, 0, 0, r.w, r.h, shape::smallRadius);
        cairo_fill(cr);
    }
    setColor(cr, look == Look::Normal ? palette::accent : palette::accentDark);
    setFont(cr, 11, false);
    const double w = centredText(cr, "View log", r.w / 2.0, r.h / 2.0);
    if (look != Look::Normal) {  // underline, one crisp pixel row
        cairo_rectangle(cr, std::round(r.w / 2.0 - w / 2), 13, std::round(w), 1);
        cairo_fill(cr);
    }
    return bmp;
}

template <class Make>
ButtonLooks looks(Make make) {
    return {make(Look::Normal), make(Look::Hover), make(Look::Press)};
}
}  // namespace

ButtonLooks cancelButton() {
    return looks([](Look l) { return titleButton(l, cross); });
}
ButtonLooks hideButton() {
    return looks([](Look l) { return titleButton(l, dash); });
}
ButtonLooks closeButton() { return looks(closeLook); }
ButtonLooks recordLinkButton() { return looks(linkLook); }

}  // namespace art
