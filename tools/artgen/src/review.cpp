#include "review.h"

#include <cmath>
#include <stdexcept>

#include "files.h"

namespace art {

namespace fs = std::filesystem;

namespace {

Surface load(const fs::path& file) {
    if (file.extension() == ".bmp") return readBmp(file);
    Surface s(cairo_image_surface_create_from_png(file.string().c_str()));
    if (cairo_surface_status(s.get()) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot read " + file.string());
    return s;
}

int widthOf(const Surface& s) { return cairo_image_surface_get_width(s.get()); }
int heightOf(const Surface& s) { return cairo_image_surface_get_height(s.get()); }

// A mid-grey checkerboard: shows the pictures' alpha and their shadow over
// both darker and lighter ground.
void checker(cairo_t* cr, double x, double y, double w, double h, double cell) {
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    setColor(cr, Rgb{96, 100, 108});
    cairo_paint(cr);
    setColor(cr, Rgb{160, 164, 170});
    for (int j = 0; j * cell < h; ++j)
        for (int i = (j % 2); i * cell < w; i += 2) cairo_rectangle(cr, x + i * cell, y + j * cell, cell, cell);
    cairo_fill(cr);
    cairo_restore(cr);
}

void paintScaled(cairo_t* cr, const Surface& s, double x, double y, double scale, bool opaque) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, scale, scale);
    cairo_set_source_surface(cr, s.get(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    if (opaque) cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_rectangle(cr, 0, 0, widthOf(s), heightOf(s));
    cairo_fill(cr);
    cairo_restore(cr);
}

struct Placed {
    std::string file;
    Rect at;
    int reveal = -1;  // bar: pixels of the strip shown, from the left
};

// As the program does it: the picture with its alpha, then each control's
// bitmap copied opaque at its place. Shown twice as large, pixel for pixel.
Surface mockup(const fs::path& skin, const std::string& picture, const std::vector<Placed>& controls) {
    const int margin = 20, zoom = 2;
    Surface pic = load(skin / picture);
    const int w = widthOf(pic) + 2 * margin, h = heightOf(pic) + 2 * margin;
    Surface one = newPicture(w, h);
    {
        auto ctx = newContext(one);
        cairo_t* cr = ctx.get();
        checker(cr, 0, 0, w, h, 12);
        cairo_set_source_surface(cr, pic.get(), margin, margin);
        cairo_paint(cr);
        for (const Placed& c : controls) {
            Surface bmp = load(skin / c.file);
            if (widthOf(bmp) != c.at.w || heightOf(bmp) != c.at.h)
                throw std::runtime_error(c.file + " does not fit its place");
            cairo_save(cr);
            cairo_rectangle(cr, margin + c.at.x, margin + c.at.y, c.reveal >= 0 ? c.reveal : c.at.w, c.at.h);
            cairo_clip(cr);
            cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
            cairo_set_source_surface(cr, bmp.get(), margin + c.at.x, margin + c.at.y);
            cairo_paint(cr);
            cairo_restore(cr);
        }
    }
    Surface big = newPicture(w * zoom, h * zoom);
    auto ctx = newContext(big);
    paintScaled(ctx.get(), one, 0, 0, zoom, true);
    return big;
}

// Every file with its name under it; bitmaps and small icons enlarged.
Surface contactSheet(const fs::path& skin, const std::vector<std::string>& files,
                     const std::vector<IconSet>& icons) {
    struct Item {
        std::string label;
        Surface image;
        int scale;
    };
    std::vector<Item> items;
    for (const std::string& f : files) {
        Surface s = load(skin / f);
        const int scale = fs::path(f).extension() == ".bmp" ? (widthOf(s) < 40 ? 4 : 2) : 1;
        items.push_back({f, std::move(s), scale});
    }
    for (const IconSet& set : icons)
        for (const Surface& img : *set.images) {
            const int n = widthOf(img);
            items.push_back({set.name + " " + std::to_string(n) + " px", copyOf(img), n < 48 ? 4 : 1});
        }

    const int sheetWidth = 1520, gap = 20, label = 18;
    // Lay out in rows, left to right.
    std::vector<Rect> at;
    int x = gap, y = gap, rowHeight = 0;
    for (const Item& it : items) {
        int w = std::max(widthOf(it.image) * it.scale, 120), h = heightOf(it.image) * it.scale + label;
        if (x + w + gap > sheetWidth) {
            x = gap;
            y += rowHeight + gap;
            rowHeight = 0;
        }
        at.push_back({x, y, w, h});
        x += w + gap;
        rowHeight = std::max(rowHeight, h);
    }
    const int sheetHeight = y + rowHeight + gap;
    Surface sheet = newPicture(sheetWidth, sheetHeight);
    auto ctx = newContext(sheet);
    cairo_t* cr = ctx.get();
    setColor(cr, Rgb{236, 238, 242});
    cairo_paint(cr);
    setFont(cr, 11, false);
    for (size_t i = 0; i < items.size(); ++i) {
        const Item& it = items[i];
        const int iw = widthOf(it.image) * it.scale, ih = heightOf(it.image) * it.scale;
        checker(cr, at[i].x, at[i].y, iw, ih, 8);
        paintScaled(cr, it.image, at[i].x, at[i].y, it.scale, false);
        setColor(cr, palette::ink);
        std::string text = it.label + (it.scale > 1 ? "  x" + std::to_string(it.scale) : "");
        cairo_move_to(cr, at[i].x, at[i].y + ih + 13);
        cairo_show_text(cr, text.c_str());
    }
    return sheet;
}

}  // namespace

void writeReview(const fs::path& skin, const std::vector<std::string>& files, const std::vector<IconSet>& icons,
                 const std::vector<fs::path>& to) {
    using namespace layout;
    const std::vector<std::pair<std::string, Surface>> out = [&] {
        std::vector<std::pair<std::string, Surface>> v;
        v.emplace_back("mockup-progress.png",
                       mockup(skin, "Backup/a-1.png",
                              {{"cancel_nomal.bmp", cancel},
                               {"hide_nomal.bmp", hide},
                               {"bar-nomal.bmp", bar},
                               {"bar-run.bmp", bar, static_cast<int>(std::lround(bar.w * 0.40))}}));
        v.emplace_back("mockup-done-ok.png", mockup(skin, "Backup/backup_completed.png",
                                                    {{"message_ok.bmp", badge},
                                                     {"recordlink_nomal.bmp", recordLink},
                                                     {"close_nomal.bmp", close}}));
        v.emplace_back("mockup-done-error.png", mockup(skin, "Restore/restore_completed.png",
                                                       {{"message_error.bmp", badge},
                                                        {"recordlink_nomal.bmp", recordLink},
                                                        {"close_nomal.bmp", close}}));
        v.emplace_back("contact-sheet.png", contactSheet(skin, files, icons));
        return v;
    }();
    for (const fs::path& dir : to)
        for (const auto& [name, surface] : out) {
            fs::create_directories(dir);
            writePng(dir / name, surface);
        }
}

}  // namespace art
