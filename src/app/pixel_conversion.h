#pragma once

#include <cstdint>

namespace qv {

// The ways a row of 24-bit pixels can be widened to 32 bits; all give the same bytes.
enum class WideningPath { Plain, Ssse3, Avx2 };

// The fastest path this processor runs (decided once, at the first call).
WideningPath fastestWideningPath();
// Whether this processor (and build) can run `path`.
bool canRun(WideningPath path);

// Widens `count` pixels stored blue, green, red into 32-bit words blue | green << 8 | red << 16,
// with `alpha` ORed in: the layout X servers give on a little-endian processor. Neither pointer
// needs more than its natural alignment. A path the processor cannot run falls back to the plain one.
void widenRow(const uint8_t* source, uint32_t* out, int32_t count, uint32_t alpha,
              WideningPath path = fastestWideningPath());

}  // namespace qv
