// Small cairo helpers shared by every asset: surfaces, shapes, text, blur
// and the pictograms (cloud, arrow, computer, clock).
#pragma once

#include <cairo.h>

#include <memory>
#include <string>

#include "style.h"

namespace art {

struct SurfaceFree {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextFree {
    void operator()(cairo_t* c) const { cairo_destroy(c); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceFree>;
using Context = std::unique_ptr<cairo_t, ContextFree>;

// A transparent ARGB32 image, or an opaque RGB24 one filled with `fill`.
Surface newPicture(int w, int h);
Surface newBitmap(int w, int h, Rgb fill);
Context newContext(const Surface& s);
Surface copyOf(const Surface& s);

void setColor(cairo_t* cr, Rgb c, double alpha = 1.0);
void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void fillRect(cairo_t* cr, Rect r, Rgb c);

// Gaussian-like blur (three box passes) of a whole ARGB32 surface.
void blur(const Surface& s, double sigma);

// Text in the fixed face, grey antialiasing, no hinting: same pixels on
// every run and every machine with the same face.
void setFont(cairo_t* cr, double size, bool bold);
// Draws `s` centred on (cx, cy) using the ink box; returns its width.
double centredText(cairo_t* cr, const std::string& s, double cx, double cy);

// Pictograms, centred on (cx, cy), `w` wide.
void cloudPath(cairo_t* cr, double cx, double cy, double w);
void arrow(cairo_t* cr, double cx, double cy, double len, bool up, double stroke);
void check(cairo_t* cr, double cx, double cy, double size, double stroke);
void exclamation(cairo_t* cr, double cx, double cy, double size, double stroke);

}  // namespace art
