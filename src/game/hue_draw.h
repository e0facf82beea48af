#pragma once

#include <cstdint>

#include "support/mt19937.h"

namespace qv {

// The colour of the next pour: one draw from the shared generator, kept to the 128 hues, so that
// the first colour and every later one come from the same sequence.
inline int32_t drawHue() { return static_cast<int32_t>(sharedRandom().next() & 127); }

}  // namespace qv
