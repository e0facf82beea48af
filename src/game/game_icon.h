#pragma once

#include "app/core_app.h"

namespace qv {

// The window's picture: 32 x 32 in the standard colours, a thick ring of six hue segments on white,
// red at the top and then, clockwise, yellow, green, cyan, blue and magenta.
IconImage makeGameIcon();

}  // namespace qv
