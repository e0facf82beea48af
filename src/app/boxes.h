#pragma once

#include <cstdint>

namespace qv {

class BackBuffer;

// Colours are 0x00BBGGRR, red in the low byte.
inline constexpr uint32_t kBlack = 0x000000;
inline constexpr uint32_t kGrey = 0x808080;

// Fills the w x h pixels from (x, y) (right and bottom edges excluded). Pixels outside the back
// buffer are left out. Returns 1, or 0 when there is no back buffer.
int fillBox(BackBuffer& target, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour);
// Draws a one-pixel border just inside the same rectangle.
int frameBox(BackBuffer& target, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour);

}  // namespace qv
