// Pictures for people, not for the programs: a contact sheet of every file
// and mock-ups composed the way the programs compose their window.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "draw.h"

namespace art {

struct IconSet {
    std::string name;  // file name, for the label
    const std::vector<Surface>* images;
};

// Reads the skin back from `skinDir` (so the review shows what was written)
// and writes contact-sheet.png and the mock-ups into every folder of `to`.
void writeReview(const std::filesystem::path& skinDir, const std::vector<std::string>& skinFiles,
                 const std::vector<IconSet>& icons, const std::vector<std::filesystem::path>& to);

}  // namespace art
