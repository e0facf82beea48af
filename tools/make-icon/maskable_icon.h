#pragma once

#include <cstdint>

#include "app/core_app.h"

namespace qv {

// The game's picture for launchers that cut icons to a shape of their own (a circle, a rounded
// square): size x size pixels of the picture's white, with the ring drawn at its own smaller size
// in the middle, so that all of it lies in the central circle that every such shape keeps.
IconImage makeMaskableIcon(int32_t size);

}  // namespace qv
