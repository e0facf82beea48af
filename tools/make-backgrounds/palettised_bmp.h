#pragma once

#include <string>

#include "backgrounds.h"

namespace qv::tools {

// Writes an uncompressed 8-bit BMP with exactly the picture's palette entries (the data offset
// tells how many). True on success; otherwise *error says why.
bool writePalettisedBmp(const std::string& path, const PalettisedPicture& picture, std::string* error);

}  // namespace qv::tools
