#pragma once

#include <cstdint>
#include <string>

#include "app/core_app.h"

namespace qv {

// The size of the window's picture.
inline constexpr int32_t kWindowIconSize = 32;

// The game's picture, size x size pixels in the standard colours: a thick ring of six hue segments
// on white, red at the top and then, clockwise, yellow, green, cyan, blue and magenta. Each size is
// drawn for itself, with hard edges, so that small icons stay crisp.
IconImage makeGameIcon(int32_t size = kWindowIconSize);

// The same picture as an SVG document, for desktops that scale icons themselves.
std::string gameIconSvg();

}  // namespace qv
