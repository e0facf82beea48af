#pragma once

#include <cstdint>

namespace qv {

// The scaling step of presenting: one converted row of `count` pixels of `pixelBytes` bytes becomes
// a block of `scale` rows of count x scale pixels, every pixel repeated (nearest neighbour, so the
// enlarged picture stays crisp). The block's rows are `pitch` bytes apart, starting at `blockTop`.
void scaleRowToBlock(const uint8_t* row, int32_t count, int32_t pixelBytes, int32_t scale, uint8_t* blockTop,
                     int32_t pitch);

}  // namespace qv
