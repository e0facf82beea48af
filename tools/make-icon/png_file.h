#pragma once

#include <string>

#include "app/core_app.h"

namespace qv {

// Writes a picture as an 8-bit RGBA PNG file. False, with the reason in `error`, when the file
// cannot be written.
bool writePng(const std::string& path, const IconImage& picture, std::string& error);

}  // namespace qv
