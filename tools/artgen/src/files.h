// Writers for the three file kinds the programs load, and a BMP reader for
// the review pictures.
#pragma once

#include <filesystem>
#include <vector>

#include "draw.h"

namespace art {

// 32-bit RGBA PNG (cairo writes no time stamp, so the bytes are stable).
void writePng(const std::filesystem::path& file, const Surface& picture);

// 24-bit BMP: BITMAPINFOHEADER, bottom-up, rows padded to 4 bytes. Pure
// white is the buttons' transparent colour; a bitmap containing it is a
// mistake in the art and is refused.
void writeBmp(const std::filesystem::path& file, const Surface& bitmap);
Surface readBmp(const std::filesystem::path& file);

// .ico with one image per surface (square ARGB32). Images up to 128 px are
// stored as 32-bit DIBs with an AND mask, larger ones as PNG.
void writeIco(const std::filesystem::path& file, const std::vector<Surface>& images);

}  // namespace art
