// Checks the committed skin and icons for what the programs rely on.
//   artcheck <group> <repo-root> <artgen-binary>
// Groups: files, pictures, animation, bitmaps, icons, fresh. The expected
// names, sizes and places are written out here on purpose, independent of
// the generator: this file is the contract with the programs.
#include <cairo.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace {

// ---- a very small harness --------------------------------------------------

int passed = 0, failed = 0;

void expect(bool ok, const std::string& what) {
    if (ok) {
        ++passed;
    } else {
        ++failed;
        std::cout << "FAIL: " << what << "\n";
    }
}

// ---- the contract ----------------------------------------------------------

struct Rect {
    int x, y, w, h;
    bool intersects(const Rect& o) const {
        return x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h;
    }
};
std::ostream& operator<<(std::ostream& os, const Rect& r) {
    return os << "(" << r.x << "," << r.y << " " << r.w << "x" << r.h << ")";
}

constexpr int kWidth = 280, kHeight = 180;
const Rect kCancel{225, 15, 15, 15}, kHide{245, 15, 15, 15}, kBar{22, 72, 197, 14};
const Rect kBadge{55, 55, 170, 65}, kLink{104, 120, 70, 16}, kClose{104, 136, 70, 28};
const std::vector<Rect> kProgressControls{kCancel, kHide, kBar};
const std::vector<Rect> kCompletionControls{kBadge, kLink, kClose};

std::vector<std::string> sequence(const std::string& prefix, int n) {
    std::vector<std::string> v;
    for (int i = 1; i <= n; ++i) v.push_back(prefix + std::to_string(i) + ".png");
    return v;
}
const std::vector<std::string> kBackupFrames = sequence("Backup/a-", 10);
const std::vector<std::string> kRestoreFrames = sequence("Restore/aa-", 12);
const std::string kBackupDone = "Backup/backup_completed.png";
const std::string kRestoreDone = "Restore/restore_completed.png";

enum class View { Progress, Completion };
struct BitmapCase {
    std::string name;
    Rect place;  // where the program copies it; its size is the bitmap's
    View view;
};
const std::vector<BitmapCase> kBitmaps = [] {
    std::vector<BitmapCase> v;
    const struct {
        const char* stem;
        Rect place;
        View view;
    } buttons[] = {{"cancel", kCancel, View::Progress},
                   {"hide", kHide, View::Progress},
                   {"close", kClose, View::Completion},
                   {"recordlink", kLink, View::Completion}};
    for (const auto& b : buttons)
        for (const char* look : {"_nomal", "_hover", "_press"})
            v.push_back({std::string(b.stem) + look + ".bmp", b.place, b.view});
    v.push_back({"message_ok.bmp", kBadge, View::Completion});
    v.push_back({"message_error.bmp", kBadge, View::Completion});
    v.push_back({"bar-nomal.bmp", kBar, View::Progress});
    v.push_back({"bar-run.bmp", kBar, View::Progress});
    return v;
}();
const std::vector<std::string> kIcons{"animation/res/backup.ico", "animation/res/restore.ico",
                                      "agent/res/agent.ico"};
const std::vector<int> kIconSizes{16, 32, 48, 256};

fs::path root, artgen;
fs::path skin() { return root / "animation" / "img" / "Animation"; }

// ---- reading files ---------------------------------------------------------

Bytes slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
std::uint32_t le16(const Bytes& b, size_t at) { return b[at] | b[at + 1] << 8; }
std::uint32_t le32(const Bytes& b, size_t at) { return le16(b, at) | le16(b, at + 2) << 16; }
std::uint32_t be32(const Bytes& b, size_t at) {
    return std::uint32_t(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}

struct Rgba {
    int r, g, b, a;
    bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
    bool operator!=(const Rgba& o) const { return !(*this == o); }
};

// Straight RGBA pixels, whatever the source.
struct Image {
    int w = 0, h = 0;
    std::vector<Rgba> px;
    const Rgba& at(int x, int y) const { return px[y * w + x]; }
};

Image fromCairo(cairo_surface_t* s) {
    Image img;
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) return img;
    img.w = cairo_image_surface_get_width(s);
    img.h = cairo_image_surface_get_height(s);
    const bool alpha = cairo_image_surface_get_format(s) == CAIRO_FORMAT_ARGB32;
    const unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            std::uint32_t v;
            std::memcpy(&v, data + y * stride + x * 4, 4);
            int a = alpha ? int(v >> 24) : 255;
            auto un = [a](int c) { return a ? (c * 255 + a / 2) / a : 0; };
            img.px.push_back({un((v >> 16) & 255), un((v >> 8) & 255), un(v & 255), a});
        }
    return img;
}

Image readPng(const fs::path& p) {
    cairo_surface_t* s = cairo_image_surface_create_from_png(p.string().c_str());
    Image img = fromCairo(s);
    cairo_surface_destroy(s);
    return img;
}

Image readPngBytes(const Bytes& b) {
    struct Reader {
        const Bytes* b;
        size_t at;
    } r{&b, 0};
    cairo_surface_t* s = cairo_image_surface_create_from_png_stream(
        [](void* c, unsigned char* out, unsigned int n) {
            auto* rd = static_cast<Reader*>(c);
            if (rd->at + n > rd->b->size()) return CAIRO_STATUS_READ_ERROR;
            std::memcpy(out, rd->b->data() + rd->at, n);
            rd->at += n;
            return CAIRO_STATUS_SUCCESS;
        },
        &r);
    Image img = fromCairo(s);
    cairo_surface_destroy(s);
    return img;
}

// A 24-bit bottom-up BMP with a BITMAPINFOHEADER; anything else is reported
// and yields an empty image.
Image readBmp(const fs::path& p, std::string& problem) {
    const Bytes b = slurp(p);
    Image img;
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') {
        problem = "not a BMP";
        return img;
    }
    const int w = int(le32(b, 18)), h = int(le32(b, 22));
    const size_t offset = le32(b, 10), stride = (size_t(w) * 3 + 3) & ~size_t(3);
    std::ostringstream why;
    if (le32(b, 14) != 40) why << " header size " << le32(b, 14) << " (want 40);";
    if (h <= 0) why << " not bottom-up;";
    if (le16(b, 26) != 1 || le16(b, 28) != 24) why << " " << le16(b, 28) << " bits (want 24);";
    if (le32(b, 30) != 0) why << " compressed;";
    if (h > 0 && (b.size() < offset + stride * h || le32(b, 2) != b.size()))
        why << " size " << b.size() << " does not match its header;";
    problem = why.str();
    if (!problem.empty()) return img;
    img.w = w;
    img.h = h;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            size_t at = offset + (h - 1 - y) * stride + x * 3;
            img.px.push_back({b[at + 2], b[at + 1], b[at], 255});
        }
    return img;
}

// PNG header: 8-bit RGBA of the expected size.
std::string pngHeaderProblem(const fs::path& p, int w, int h) {
    const Bytes b = slurp(p);
    static const std::uint8_t sig[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (b.size() < 33 || !std::equal(sig, sig + 8, b.begin()) || std::memcmp(&b[12], "IHDR", 4) != 0)
        return "not a PNG";
    std::ostringstream why;
    if (int(be32(b, 16)) != w || int(be32(b, 20)) != h)
        why << " " << be32(b, 16) << "x" << be32(b, 20) << " (want " << w << "x" << h << ");";
    if (b[24] != 8 || b[25] != 6) why << " depth " << int(b[24]) << " colour type " << int(b[25]) << " (want 8-bit RGBA);";
    return why.str();
}

// ---- pixel helpers ---------------------------------------------------------

bool flatOpaque(const Image& img, const Rect& r, Rgba& colour) {
    colour = img.at(r.x, r.y);
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x)
            if (img.at(x, y) != colour) return false;
    return colour.a == 255;
}

int differingPixels(const Image& a, const Image& b) {
    int n = 0;
    for (size_t i = 0; i < a.px.size() && i < b.px.size(); ++i) n += a.px[i] != b.px[i];
    return n;
}

long sad(const Image& a, const Image& b, const Rect& r, int dx = 0) {
    long s = 0;
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x) {
            const Rgba &p = a.at(x, y), &q = b.at(std::clamp(x - dx, 0, b.w - 1), y);
            s += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b) + std::abs(p.a - q.a);
        }
    return s;
}

std::vector<Image> readAll(const std::vector<std::string>& names) {
    std::vector<Image> v;
    for (const auto& n : names) v.push_back(readPng(skin() / n));
    return v;
}

bool loaded(const std::vector<Image>& v) {
    return std::all_of(v.begin(), v.end(), [](const Image& i) { return i.w == kWidth && i.h == kHeight; });
}

// ---- groups ----------------------------------------------------------------

// Every file the programs load, with its exact name, format and size.
void files() {
    std::vector<std::string> pictures = kBackupFrames;
    pictures.insert(pictures.end(), kRestoreFrames.begin(), kRestoreFrames.end());
    pictures.push_back(kBackupDone);
    pictures.push_back(kRestoreDone);
    for (const auto& p : pictures) {
        const std::string why = pngHeaderProblem(skin() / p, kWidth, kHeight);
        expect(why.empty(), p + ":" + why);
    }
    for (const auto& c : kBitmaps) {
        std::string why;
        Image img = readBmp(skin() / c.name, why);
        expect(why.empty(), c.name + ":" + why);
        if (why.empty())
            expect(img.w == c.place.w && img.h == c.place.h,
                   c.name + ": " + std::to_string(img.w) + "x" + std::to_string(img.h));
    }
    for (const auto& i : kIcons) expect(fs::is_regular_file(root / i), i + " missing");
}

// The 280 x 180 pictures: real alpha with soft edges, flat opaque ground
// under every control.
void pictures() {
    struct Case {
        std::string name;
        const std::vector<Rect>* controls;
    };
    std::vector<Case> cases;
    for (const auto& n : kBackupFrames) cases.push_back({n, &kProgressControls});
    for (const auto& n : kRestoreFrames) cases.push_back({n, &kProgressControls});
    cases.push_back({kBackupDone, &kCompletionControls});
    cases.push_back({kRestoreDone, &kCompletionControls});

    for (const auto& c : cases) {
        const Image img = readPng(skin() / c.name);
        if (img.w != kWidth || img.h != kHeight) {
            expect(false, c.name + ": unreadable or wrong size");
            continue;
        }
        // The outermost ring fades out (no hard cut of the shadow), the
        // corners are clear, and there is real partial alpha (the shadow).
        int hardEdge = 0, partial = 0;
        for (int y = 0; y < img.h; ++y)
            for (int x = 0; x < img.w; ++x) {
                const int a = img.at(x, y).a;
                const bool ring = x == 0 || y == 0 || x == img.w - 1 || y == img.h - 1;
                hardEdge += ring && a > 24;
                partial += a > 0 && a < 255;
            }
        expect(hardEdge == 0, c.name + ": " + std::to_string(hardEdge) + " edge pixels nearly opaque");
        expect(partial > 500, c.name + ": no soft shadow (" + std::to_string(partial) + " partial pixels)");
        for (auto [x, y] : {std::pair{0, 0}, {img.w - 1, 0}, {0, img.h - 1}, {img.w - 1, img.h - 1}})
            expect(img.at(x, y).a == 0, c.name + ": corner not transparent");
        // The middle of the window is solid.
        expect(img.at(img.w / 2, img.h / 2).a == 255, c.name + ": centre not opaque");
        for (const Rect& r : *c.controls) {
            Rgba ground;
            std::ostringstream where;
            where << c.name << ": area " << r << " not flat and opaque";
            expect(flatOpaque(img, r, ground), where.str());
        }
    }
    const Image b = readPng(skin() / kBackupDone), r = readPng(skin() / kRestoreDone);
    expect(differingPixels(b, r) > 50, "backup and restore completion pictures look the same");
}

// Each loop animates a bounded area away from the controls, every frame
// moves, the step from the last frame back to the first is an ordinary one,
// and restore moves the other way from backup.
void animation() {
    struct Case {
        const char* name;
        const std::vector<std::string>* frames;
    };
    std::map<std::string, int> direction;
    for (const Case& c : {Case{"backup", &kBackupFrames}, Case{"restore", &kRestoreFrames}}) {
        const std::vector<Image> f = readAll(*c.frames);
        if (!loaded(f)) {
            expect(false, std::string(c.name) + ": frames unreadable");
            continue;
        }
        // Bounding box of every pixel that is not the same in all frames.
        int x0 = kWidth, y0 = kHeight, x1 = -1, y1 = -1;
        for (const Image& img : f)
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kWidth; ++x)
                    if (img.at(x, y) != f[0].at(x, y)) {
                        x0 = std::min(x0, x), y0 = std::min(y0, y);
                        x1 = std::max(x1, x), y1 = std::max(y1, y);
                    }
        const std::string n = c.name;
        if (x1 < 0) {
            expect(false, n + ": nothing moves");
            continue;
        }
        const Rect moving{x0, y0, x1 - x0 + 1, y1 - y0 + 1};
        std::ostringstream box;
        box << moving;
        expect(moving.w * moving.h < kWidth * kHeight / 5, n + ": animated area " + box.str() + " too large");
        for (const Rect& r : kProgressControls) {
            std::ostringstream why;
            why << n << ": animated area " << moving << " overlaps control " << r;
            expect(!moving.intersects(r), why.str());
        }
        int opaque = 0;
        for (int y = moving.y; y < moving.y + moving.h; ++y)
            for (int x = moving.x; x < moving.x + moving.w; ++x) opaque += f[0].at(x, y).a == 255;
        expect(opaque == moving.w * moving.h, n + ": animated area reaches the transparent margin");

        // Steps between neighbours, the wrap-around included.
        std::vector<long> steps;
        for (size_t i = 0; i < f.size(); ++i) steps.push_back(sad(f[(i + 1) % f.size()], f[i], moving));
        const long wrap = steps.back();
        const long largest = *std::max_element(steps.begin(), steps.end() - 1);
        const long smallest = *std::min_element(steps.begin(), steps.end() - 1);
        expect(smallest > 0, n + ": two neighbouring frames are identical");
        expect(wrap <= largest * 5 / 4 && wrap * 5 / 4 >= smallest,
               n + ": the loop jumps from the last frame to the first (" + std::to_string(wrap) +
                   " against " + std::to_string(smallest) + ".." + std::to_string(largest) + ")");

        // Which way the blocks go: the horizontal shift that best maps each
        // frame onto the next, summed over the loop.
        int sum = 0;
        for (size_t i = 0; i < f.size(); ++i) {
            int best = 0;
            long bestSad = -1;
            for (int dx = -6; dx <= 6; ++dx) {
                long s = sad(f[(i + 1) % f.size()], f[i], moving, dx);
                if (bestSad < 0 || s < bestSad) bestSad = s, best = dx;
            }
            sum += best;
        }
        direction[n] = sum;
    }
    if (direction.size() == 2)
        expect(direction["backup"] * direction["restore"] < 0,
               "restore does not move the other way from backup (" + std::to_string(direction["backup"]) +
                   " / " + std::to_string(direction["restore"]) + ")");
}

// Control bitmaps: no pure white (transparent for buttons), painted on the
// exact colour of the picture beneath, and distinct looks.
void bitmaps() {
    const Image progress = readPng(skin() / kBackupFrames[0]);
    const Image completion = readPng(skin() / kBackupDone);
    std::map<std::string, Image> bmp;
    for (const auto& c : kBitmaps) {
        std::string why;
        Image img = readBmp(skin() / c.name, why);
        if (!why.empty() || img.w != c.place.w || img.h != c.place.h) {
            expect(false, c.name + ": unreadable or wrong size");
            continue;
        }
        const int white = int(std::count(img.px.begin(), img.px.end(), Rgba{255, 255, 255, 255}));
        expect(white == 0, c.name + ": " + std::to_string(white) + " pure white pixels");
        const Image& pic = c.view == View::Progress ? progress : completion;
        if (pic.w == kWidth) {
            const Rgba ground = pic.at(c.place.x, c.place.y);
            for (auto [x, y] : {std::pair{0, 0}, {img.w - 1, 0}, {0, img.h - 1}, {img.w - 1, img.h - 1}})
                expect(img.at(x, y) == ground, c.name + ": corner colour differs from the picture beneath");
        }
        bmp[c.name] = std::move(img);
    }
    auto differ = [&](const std::string& a, const std::string& b) {
        if (!bmp.count(a) || !bmp.count(b)) return;
        const int n = differingPixels(bmp[a], bmp[b]), need = std::max(6, int(bmp[a].px.size()) / 25);
        expect(n >= need, a + " and " + b + " look alike (" + std::to_string(n) + " pixels differ)");
    };
    for (const char* stem : {"cancel", "hide", "close", "recordlink"}) {
        const std::string s = stem;
        differ(s + "_nomal.bmp", s + "_hover.bmp");
        differ(s + "_hover.bmp", s + "_press.bmp");
        differ(s + "_nomal.bmp", s + "_press.bmp");
    }
    differ("bar-nomal.bmp", "bar-run.bmp");
    differ("cancel_nomal.bmp", "hide_nomal.bmp");

    // Success and failure differ in shape, not only in colour: compare the
    // near-white marks in the middle of the two badges.
    if (bmp.count("message_ok.bmp") && bmp.count("message_error.bmp")) {
        const Image &ok = bmp["message_ok.bmp"], &err = bmp["message_error.bmp"];
        auto mark = [](const Image& img, int x, int y) {
            const Rgba& p = img.at(x, y);
            return std::min({p.r, p.g, p.b}) >= 240;
        };
        int differ = 0, marked = 0;
        for (int y = kBadge.h / 2 - 20; y < kBadge.h / 2 + 20; ++y)
            for (int x = kBadge.w / 2 - 20; x < kBadge.w / 2 + 20; ++x) {
                differ += mark(ok, x, y) != mark(err, x, y);
                marked += mark(ok, x, y);
            }
        expect(marked > 20 && differ > marked / 3, "the badges' marks have the same shape");
    }
}

// Icons: .ico with 16, 32, 48 and 256 px images, each a valid DIB (with its
// AND mask) or PNG, the three icons distinct.
void icons() {
    std::vector<Image> largest;
    for (const auto& name : kIcons) {
        const Bytes b = slurp(root / name);
        if (b.size() < 6 || le16(b, 0) != 0 || le16(b, 2) != 1) {
            expect(false, name + ": not an icon file");
            continue;
        }
        const unsigned count = le16(b, 4);
        std::vector<int> sizes;
        for (unsigned i = 0; i < count && 6 + 16 * (i + 1) <= b.size(); ++i) {
            const size_t e = 6 + 16 * i;
            const int n = b[e] ? b[e] : 256;
            const size_t len = le32(b, e + 8), at = le32(b, e + 12);
            sizes.push_back(n);
            const std::string what = name + " " + std::to_string(n) + " px: ";
            if (b[e + 1] != b[e] || at + len > b.size() || len < 40) {
                expect(false, what + "bad directory entry");
                continue;
            }
            const Bytes data(b.begin() + at, b.begin() + at + len);
            if (data[0] == 0x89 && data[1] == 'P') {
                const Image img = readPngBytes(data);
                expect(img.w == n && img.h == n, what + "PNG of the wrong size");
                if (img.w == n && n == 256) {
                    largest.push_back(img);
                    expect(img.at(0, 0).a == 0 && img.at(n / 2, n / 2).a == 255, what + "no transparent corner");
                }
            } else {
                const size_t mask = ((n + 31) / 32) * 4 * size_t(n);
                expect(le32(data, 0) == 40 && int(le32(data, 4)) == n && int(le32(data, 8)) == 2 * n &&
                           le16(data, 14) == 32 && le32(data, 16) == 0,
                       what + "not a 32-bit DIB with room for its mask");
                expect(len == 40 + size_t(n) * n * 4 + mask, what + "image and AND mask do not fill the entry");
            }
        }
        std::vector<int> sorted = sizes;
        std::sort(sorted.begin(), sorted.end());
        expect(sorted == kIconSizes, name + ": sizes are not 16, 32, 48 and 256");

        // The packaging tool must read it too, when it is installed.
        if (std::system("command -v icotool >/dev/null 2>&1") == 0) {
            const std::string cmd = "icotool -l '" + (root / name).string() + "'";
            std::string out;
            if (FILE* p = popen(cmd.c_str(), "r")) {
                char buf[256];
                while (fgets(buf, sizeof buf, p)) out += buf;
                pclose(p);
            }
            for (int n : kIconSizes)
                expect(out.find("--width=" + std::to_string(n) + " ") != std::string::npos,
                       name + ": icotool does not list " + std::to_string(n) + " px");
        }
    }
    for (size_t i = 0; i < largest.size(); ++i)
        for (size_t j = i + 1; j < largest.size(); ++j)
            expect(differingPixels(largest[i], largest[j]) > 500, "two icons look the same");
}

// The committed art is what the generator makes now, and it makes the same
// bytes every run.
void fresh() {
    const fs::path tmp = fs::temp_directory_path() / ("artcheck-" + std::to_string(::getpid()));
    const fs::path runs[2] = {tmp / "one", tmp / "two"};
    for (const fs::path& r : runs) {
        fs::create_directories(r);
        const std::string cmd = "'" + artgen.string() + "' '" + r.string() + "' >/dev/null";
        expect(std::system(cmd.c_str()) == 0, "artgen failed");
    }
    // Everything committed: the skin folder, the icons and docs/art.
    std::set<fs::path> made;
    for (const fs::path& dir : {fs::path("animation/img/Animation"), fs::path("docs/art")})
        if (fs::is_directory(runs[0] / dir))
            for (const auto& e : fs::recursive_directory_iterator(runs[0] / dir))
                if (e.is_regular_file()) made.insert(fs::relative(e.path(), runs[0]));
    for (const auto& i : kIcons) made.insert(i);
    expect(made.size() > kBitmaps.size() + kBackupFrames.size() + kRestoreFrames.size(), "artgen wrote too little");
    for (const fs::path& f : made) {
        const Bytes a = slurp(runs[0] / f);
        expect(!a.empty() && a == slurp(runs[1] / f), f.string() + ": differs between two runs");
        expect(a == slurp(root / f), f.string() + ": committed copy is stale (run ./dev.sh art)");
    }
    // No leftovers in the skin folder that the generator no longer makes.
    for (const auto& e : fs::recursive_directory_iterator(skin()))
        if (e.is_regular_file())
            expect(made.count(fs::relative(e.path(), root)) == 1,
                   fs::relative(e.path(), root).string() + ": not made by artgen");
    fs::remove_all(tmp);
}

}  // namespace

int main(int argc, char** argv) {
    const std::map<std::string, std::function<void()>> groups{
        {"files", files}, {"pictures", pictures}, {"animation", animation},
        {"bitmaps", bitmaps}, {"icons", icons}, {"fresh", fresh}};
    if (argc != 4 || !groups.count(argv[1])) {
        std::cerr << "usage: artcheck files|pictures|animation|bitmaps|icons|fresh <repo-root> <artgen>\n";
        return 2;
    }
    root = argv[2];
    artgen = argv[3];
    groups.at(argv[1])();
    std::cout << argv[1] << ": " << passed << " passed, " << failed << " failed\n";
    return failed ? 1 : 0;
}
