#include "draw.h"

#include <cmath>
#include <stdexcept>
#include <vector>

namespace art {

namespace {
void ensure(cairo_status_t st, const char* what) {
    if (st != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error(std::string(what) + ": " + cairo_status_to_string(st));
}

// One horizontal and one vertical box pass of radius r over all 4 channels.
void boxPass(std::vector<double>& px, int w, int h, int r) {
    std::vector<double> tmp(px.size());
    const double n = 2.0 * r + 1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 4; ++c) {
                double sum = 0;
                for (int k = -r; k <= r; ++k) {
                    int xx = x + k;
                    if (xx >= 0 && xx < w) sum += px[(y * w + xx) * 4 + c];
                }
                tmp[(y * w + x) * 4 + c] = sum / n;
            }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 4; ++c) {
                double sum = 0;
                for (int k = -r; k <= r; ++k) {
                    int yy = y + k;
                    if (yy >= 0 && yy < h) sum += tmp[(yy * w + x) * 4 + c];
                }
                px[(y * w + x) * 4 + c] = sum / n;
            }
}
}  // namespace

Surface newPicture(int w, int h) {
    Surface s(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h));
    ensure(cairo_surface_status(s.get()), "picture");
    return s;
}

Surface newBitmap(int w, int h, Rgb fill) {
    Surface s(cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h));
    ensure(cairo_surface_status(s.get()), "bitmap");
    auto cr = newContext(s);
    setColor(cr.get(), fill);
    cairo_paint(cr.get());
    return s;
}

Context newContext(const Surface& s) {
    Context cr(cairo_create(s.get()));
    ensure(cairo_status(cr.get()), "context");
    return cr;
}

Surface copyOf(const Surface& s) {
    cairo_surface_t* src = s.get();
    Surface out(cairo_image_surface_create(cairo_image_surface_get_format(src),
                                           cairo_image_surface_get_width(src),
                                           cairo_image_surface_get_height(src)));
    auto cr = newContext(out);
    cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr.get(), src, 0, 0);
    cairo_paint(cr.get());
    return out;
}

void setColor(cairo_t* cr, Rgb c, double alpha) {
    cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::min(r, std::min(w, h) / 2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void fillRect(cairo_t* cr, Rect r, Rgb c) {
    setColor(cr, c);
    cairo_rectangle(cr, r.x, r.y, r.w, r.h);
    cairo_fill(cr);
}

void blur(const Surface& s, double sigma) {
    cairo_surface_t* img = s.get();
    cairo_surface_flush(img);
    const int w = cairo_image_surface_get_width(img);
    const int h = cairo_image_surface_get_height(img);
    const int stride = cairo_image_surface_get_stride(img);
    unsigned char* data = cairo_image_surface_get_data(img);
    std::vector<double> px(static_cast<size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 4; ++c) px[(y * w + x) * 4 + c] = data[y * stride + x * 4 + c];
    // Three box passes approximate a gaussian of this sigma.
    const int r = std::max(1, static_cast<int>(std::lround((std::sqrt(4 * sigma * sigma + 1) - 1) / 2)));
    for (int i = 0; i < 3; ++i) boxPass(px, w, h, r);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 4; ++c)
                data[y * stride + x * 4 + c] =
                    static_cast<unsigned char>(std::lround(px[(y * w + x) * 4 + c]));
    cairo_surface_mark_dirty(img);
}

void setFont(cairo_t* cr, double size, bool bold) {
    cairo_select_font_face(cr, text::face, CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_font_options_t* opt = cairo_font_options_create();
    cairo_font_options_set_antialias(opt, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(opt, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(opt, CAIRO_HINT_METRICS_ON);
    cairo_set_font_options(cr, opt);
    cairo_font_options_destroy(opt);
}

double centredText(cairo_t* cr, const std::string& s, double cx, double cy) {
    cairo_text_extents_t te;
    cairo_text_extents(cr, s.c_str(), &te);
    cairo_font_extents_t fe;
    cairo_font_extents(cr, &fe);
    // Centre horizontally on the advance, vertically on the cap height so
    // that words with and without descenders sit on the same line.
    const double x = std::round(cx - te.x_advance / 2);
    const double capHeight = fe.ascent * 0.72;
    const double y = std::round(cy + capHeight / 2);
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, s.c_str());
    return te.x_advance;
}

void cloudPath(cairo_t* cr, double cx, double cy, double w) {
    // Three bumps over a flat base, as a union of sub-paths (filled with the
    // default non-zero rule, so overlaps leave no seams). Unit box is
    // 0.94 x 0.58 of `w`, centred on (cx, cy).
    const double x0 = cx - 0.49 * w, y0 = cy - 0.33 * w;
    auto circle = [&](double u, double v, double r) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, x0 + u * w, y0 + v * w, r * w, 0, 2 * M_PI);
    };
    circle(0.20, 0.44, 0.18);
    circle(0.47, 0.31, 0.27);
    circle(0.77, 0.43, 0.19);
    cairo_rectangle(cr, x0 + 0.20 * w, y0 + 0.36 * w, 0.57 * w, 0.26 * w);
}

void arrow(cairo_t* cr, double cx, double cy, double len, bool up, double stroke) {
    const double d = up ? -1 : 1;
    const double head = len * 0.42;
    cairo_save(cr);
    cairo_set_line_width(cr, stroke);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_move_to(cr, cx, cy - d * len / 2);
    cairo_line_to(cr, cx, cy + d * len / 2);
    cairo_move_to(cr, cx - head, cy + d * (len / 2 - head));
    cairo_line_to(cr, cx, cy + d * len / 2);
    cairo_line_to(cr, cx + head, cy + d * (len / 2 - head));
    cairo_stroke(cr);
    cairo_restore(cr);
}

void check(cairo_t* cr, double cx, double cy, double size, double stroke) {
    cairo_save(cr);
    cairo_set_line_width(cr, stroke);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_move_to(cr, cx - size * 0.45, cy + size * 0.02);
    cairo_line_to(cr, cx - size * 0.12, cy + size * 0.33);
    cairo_line_to(cr, cx + size * 0.47, cy - size * 0.30);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void exclamation(cairo_t* cr, double cx, double cy, double size, double stroke) {
    cairo_save(cr);
    cairo_set_line_width(cr, stroke);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, cx, cy - size * 0.45);
    cairo_line_to(cr, cx, cy + size * 0.12);
    cairo_stroke(cr);
    cairo_arc(cr, cx, cy + size * 0.42, stroke * 0.62, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_restore(cr);
}

}  // namespace art
