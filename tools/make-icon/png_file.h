#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "app/core_app.h"

namespace qv {

// A picture as the bytes of an 8-bit RGBA PNG file; nothing when its pixels cannot be compressed.
std::optional<std::vector<uint8_t>> encodePng(const IconImage& picture);

}  // namespace qv
