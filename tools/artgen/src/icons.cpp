// The cloud pictogram and the three program icons: a rounded accent tile
// with the white cloud; the arrow says up (backup), down (restore), or a
// pulse line for the background agent.
#include <cmath>

#include "assets.h"

namespace art {

const int iconSizes[4] = {16, 32, 48, 256};

void glyph(cairo_t* cr, Glyph g, double cx, double cy, double w, Rgb fg) {
    // Crisp at 1:1: the cloud's flat base on a pixel edge, and an even
    // stroke width so that a mark centred on a whole pixel fills whole columns.
    const double base = cy + 0.29 * w;
    cy += std::round(base) - base;
    cairo_save(cr);
    cairo_push_group(cr);
    setColor(cr, fg);
    cloudPath(cr, cx, cy, w);
    cairo_fill(cr);

    // The mark is cut out of the cloud: whatever lies beneath shows through.
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    const double stroke = std::max(2.0, 2 * std::round(0.05 * w));
    const double my = cy + 0.05 * w;  // optical centre of the cloud's body
    switch (g) {
    case Glyph::Backup:
        arrow(cr, cx, my, 0.30 * w, true, stroke);
        break;
    case Glyph::Restore:
        arrow(cr, cx, my, 0.30 * w, false, stroke);
        break;
    case Glyph::Agent:
        cairo_set_line_width(cr, stroke * 0.9);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_move_to(cr, cx - 0.27 * w, my + 0.02 * w);
        cairo_line_to(cr, cx - 0.12 * w, my + 0.02 * w);
        cairo_line_to(cr, cx - 0.05 * w, my - 0.11 * w);
        cairo_line_to(cr, cx + 0.05 * w, my + 0.13 * w);
        cairo_line_to(cr, cx + 0.12 * w, my + 0.02 * w);
        cairo_line_to(cr, cx + 0.27 * w, my + 0.02 * w);
        cairo_stroke(cr);
        break;
    }
    cairo_pop_group_to_source(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    cairo_paint(cr);
    cairo_restore(cr);
}

std::vector<Surface> icon(Glyph g) {
    std::vector<Surface> out;
    for (int n : iconSizes) {
        Surface s = newPicture(n, n);
        auto ctx = newContext(s);
        cairo_t* cr = ctx.get();
        // Small sizes fill the square; large ones keep a margin for the shadow.
        const double inset = n >= 48 ? n * 0.06 : 0.0;
        const double side = n - 2 * inset;
        const double r = std::max(2.0, side * 0.2);
        if (n >= 48) {
            Surface sh = newPicture(n, n);
            {
                auto sc = newContext(sh);
                cairo_set_source_rgba(sc.get(), 0, 0, 0, 1);
                roundedRect(sc.get(), inset, inset + n * 0.015, side, side, r);
                cairo_fill(sc.get());
            }
            blur(sh, n * 0.012);
            cairo_set_source_surface(cr, sh.get(), 0, 0);
            cairo_paint_with_alpha(cr, 0.35);
        }
        cairo_pattern_t* grad = cairo_pattern_create_linear(0, inset, 0, inset + side);
        const Rgb top = palette::accentLight, bottom = palette::accent;
        cairo_pattern_add_color_stop_rgb(grad, 0, top.r / 255.0, top.g / 255.0, top.b / 255.0);
        cairo_pattern_add_color_stop_rgb(grad, 1, bottom.r / 255.0, bottom.g / 255.0, bottom.b / 255.0);
        cairo_set_source(cr, grad);
        roundedRect(cr, inset, inset, side, side, r);
        cairo_fill(cr);
        cairo_pattern_destroy(grad);
        const double w = side * (n <= 16 ? 0.92 : 0.78);
        glyph(cr, g, n / 2.0, n / 2.0 + side * 0.02, w, palette::white);
        out.push_back(std::move(s));
    }
    return out;
}

}  // namespace art
