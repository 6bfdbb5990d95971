// The progress animation: below the bar, a computer and the backup cloud
// joined by a dotted path along which small blocks of data travel. Backup
// carries them from the computer up to the cloud, restore back down. Only
// the blocks move; each loop ends exactly where it began (the blocks have
// moved by one spacing), so the last frame leads into the first smoothly.
#include <cmath>

#include "assets.h"

namespace art {

namespace {
constexpr int backupFrames = 10;
constexpr int restoreFrames = 12;

// The path between the two pictograms.
constexpr double pathStart = 88, pathEnd = 190;
constexpr int blocks = 4;
constexpr double spacing = (pathEnd - pathStart) / blocks;
constexpr double blockSize = 7;

void computer(cairo_t* cr, double cx, double cy) {
    const double w = 38, h = 27;
    const double x = std::round(cx - w / 2), y = std::round(cy - h / 2 - 4);
    // Screen: outlined, with a tinted face.
    setColor(cr, palette::accentTint);
    roundedRect(cr, x + 1, y + 1, w - 2, h - 2, 3);
    cairo_fill(cr);
    setColor(cr, palette::device);
    cairo_set_line_width(cr, 2);
    roundedRect(cr, x + 1, y + 1, w - 2, h - 2, 3);
    cairo_stroke(cr);
    // Stand.
    cairo_rectangle(cr, cx - 3, y + h, 6, 4);
    cairo_fill(cr);
    roundedRect(cr, cx - 11, y + h + 4, 22, 3, 1.5);
    cairo_fill(cr);
    // Two lines of "files" on the screen.
    setColor(cr, mix(palette::accentTint, palette::accent, 0.45));
    roundedRect(cr, x + 7, y + 8, 16, 3, 1.5);
    cairo_fill(cr);
    roundedRect(cr, x + 7, y + 15, 24, 3, 1.5);
    cairo_fill(cr);
}

void dottedPath(cairo_t* cr) {
    setColor(cr, palette::track);
    for (double x = pathStart; x <= pathEnd + 0.1; x += 6) {
        cairo_arc(cr, x, layout::sceneY + 0.5, 1.5, 0, 2 * M_PI);
        cairo_fill(cr);
    }
}

Surface staticScene(Job job) {
    Surface pic = windowBase(job);
    auto ctx = newContext(pic);
    cairo_t* cr = ctx.get();
    computer(cr, 56, layout::sceneY);
    glyph(cr, job == Job::Backup ? Glyph::Backup : Glyph::Restore, 222, layout::sceneY - 3, 56,
          palette::accent);
    dottedPath(cr);
    return pic;
}

// Blocks at phase t in [0, 1): t = 1 is the same picture as t = 0.
void drawBlocks(cairo_t* cr, double t, bool forward) {
    for (int i = 0; i < blocks; ++i) {
        double d = std::fmod((i + t) * spacing, pathEnd - pathStart);
        double u = d / (pathEnd - pathStart);  // 0 at the source, 1 at the target
        double x = forward ? pathStart + d : pathEnd - d;
        // Fade in at the source, out at the target, fullest midway.
        double a = std::pow(std::sin(M_PI * u), 0.8);
        setColor(cr, palette::accent, a);
        roundedRect(cr, x - blockSize / 2, layout::sceneY + 0.5 - blockSize / 2, blockSize, blockSize, 2);
        cairo_fill(cr);
    }
}
}  // namespace

std::vector<Surface> progressFrames(Job job) {
    const int count = job == Job::Backup ? backupFrames : restoreFrames;
    const Surface scene = staticScene(job);
    std::vector<Surface> frames;
    for (int k = 0; k < count; ++k) {
        Surface f = copyOf(scene);
        {
            auto cr = newContext(f);
            drawBlocks(cr.get(), static_cast<double>(k) / count, job == Job::Backup);
        }
        frames.push_back(std::move(f));
    }
    return frames;
}

}  // namespace art
