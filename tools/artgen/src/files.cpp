#include "files.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace art {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace {

void put16(Bytes& b, unsigned v) {
    b.push_back(v & 0xff);
    b.push_back((v >> 8) & 0xff);
}
void put32(Bytes& b, std::uint32_t v) {
    put16(b, v & 0xffff);
    put16(b, v >> 16);
}
unsigned get16(const Bytes& b, size_t at) { return b.at(at) | (b.at(at + 1) << 8); }
std::uint32_t get32(const Bytes& b, size_t at) { return get16(b, at) | (get16(b, at + 2) << 16); }

void save(const fs::path& file, const Bytes& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

// Pixel (x, y) of an image surface as straight (not premultiplied) BGRA.
struct Bgra {
    std::uint8_t b, g, r, a;
};
Bgra pixel(cairo_surface_t* s, int x, int y) {
    const unsigned char* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
    std::uint32_t v;
    std::memcpy(&v, row + x * 4, 4);
    std::uint8_t a = cairo_image_surface_get_format(s) == CAIRO_FORMAT_ARGB32 ? v >> 24 : 255;
    auto un = [a](std::uint32_t c) -> std::uint8_t {
        return a == 0 ? 0 : static_cast<std::uint8_t>((c * 255 + a / 2) / a);
    };
    return {un(v & 0xff), un((v >> 8) & 0xff), un((v >> 16) & 0xff), a};
}

cairo_status_t appendPng(void* closure, const unsigned char* data, unsigned int length) {
    auto* b = static_cast<Bytes*>(closure);
    b->insert(b->end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
}

Bytes dibIcon(cairo_surface_t* s) {
    const int n = cairo_image_surface_get_width(s);
    Bytes b;
    put32(b, 40);
    put32(b, n);
    put32(b, 2 * n);  // colour rows, then the mask's
    put16(b, 1);
    put16(b, 32);
    put32(b, 0);  // BI_RGB
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
    for (int y = n - 1; y >= 0; --y)
        for (int x = 0; x < n; ++x) {
            Bgra p = pixel(s, x, y);
            b.insert(b.end(), {p.b, p.g, p.r, p.a});
        }
    const int maskStride = ((n + 31) / 32) * 4;
    for (int y = n - 1; y >= 0; --y) {
        Bytes row(maskStride, 0);
        for (int x = 0; x < n; ++x)
            if (pixel(s, x, y).a == 0) row[x / 8] |= 0x80 >> (x % 8);
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

}  // namespace

void writePng(const fs::path& file, const Surface& picture) {
    fs::create_directories(file.parent_path());
    cairo_status_t st = cairo_surface_write_to_png(picture.get(), file.string().c_str());
    if (st != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot write " + file.string() + ": " + cairo_status_to_string(st));
}

void writeBmp(const fs::path& file, const Surface& bitmap) {
    cairo_surface_t* s = bitmap.get();
    cairo_surface_flush(s);
    const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    const int stride = (w * 3 + 3) & ~3;
    const std::uint32_t imageSize = stride * h, offset = 14 + 40;
    Bytes b;
    b.push_back('B');
    b.push_back('M');
    put32(b, offset + imageSize);
    put32(b, 0);
    put32(b, offset);
    put32(b, 40);
    put32(b, w);
    put32(b, h);  // positive: bottom-up
    put16(b, 1);
    put16(b, 24);
    put32(b, 0);  // BI_RGB
    put32(b, imageSize);
    put32(b, 2835);  // 72 dpi
    put32(b, 2835);
    put32(b, 0);
    put32(b, 0);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            Bgra p = pixel(s, x, y);
            if (p.r == 255 && p.g == 255 && p.b == 255)
                throw std::runtime_error(file.filename().string() + ": pure white at " +
                                         std::to_string(x) + "," + std::to_string(y));
            b.insert(b.end(), {p.b, p.g, p.r});
        }
        b.insert(b.end(), stride - w * 3, 0);
    }
    save(file, b);
}

Surface readBmp(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    Bytes b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || get16(b, 28) != 24)
        throw std::runtime_error(file.string() + ": not a 24-bit BMP");
    const int w = static_cast<int>(get32(b, 18)), h = static_cast<int>(get32(b, 22));
    const size_t offset = get32(b, 10), stride = (w * 3 + 3) & ~3;
    Surface out = newBitmap(w, h, palette::white);
    cairo_surface_flush(out.get());
    unsigned char* data = cairo_image_surface_get_data(out.get());
    const int ostride = cairo_image_surface_get_stride(out.get());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            size_t at = offset + (h - 1 - y) * stride + x * 3;
            std::uint32_t v = 0xff000000u | (b.at(at + 2) << 16) | (b.at(at + 1) << 8) | b.at(at);
            std::memcpy(data + y * ostride + x * 4, &v, 4);
        }
    cairo_surface_mark_dirty(out.get());
    return out;
}

void writeIco(const fs::path& file, const std::vector<Surface>& images) {
    std::vector<Bytes> blobs;
    for (const Surface& img : images) {
        cairo_surface_flush(img.get());
        Bytes blob;
        if (cairo_image_surface_get_width(img.get()) > 128) {
            cairo_status_t st = cairo_surface_write_to_png_stream(img.get(), appendPng, &blob);
            if (st != CAIRO_STATUS_SUCCESS) throw std::runtime_error("icon png: " + file.string());
        } else {
            blob = dibIcon(img.get());
        }
        blobs.push_back(std::move(blob));
    }
    Bytes b;
    put16(b, 0);
    put16(b, 1);  // icon
    put16(b, static_cast<unsigned>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const int n = cairo_image_surface_get_width(images[i].get());
        b.push_back(n >= 256 ? 0 : n);  // 0 means 256
        b.push_back(n >= 256 ? 0 : n);
        b.push_back(0);  // no palette
        b.push_back(0);
        put16(b, 1);   // planes
        put16(b, 32);  // bits per pixel
        put32(b, static_cast<std::uint32_t>(blobs[i].size()));
        put32(b, offset);
        offset += static_cast<std::uint32_t>(blobs[i].size());
    }
    for (const Bytes& blob : blobs) b.insert(b.end(), blob.begin(), blob.end());
    save(file, b);
}

}  // namespace art
