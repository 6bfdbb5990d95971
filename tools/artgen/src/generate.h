#pragma once

#include <filesystem>

namespace art {

// Writes every skin file and icon under `root` (a Kestrel work tree), and the
// review pictures into out/art/ and docs/art/. Returns the number of files.
int generate(const std::filesystem::path& root);

}  // namespace art
