#pragma once

#include <cstdint>
#include <span>

#include "image/bmp_layout.h"
#include "image/bmp_palette.h"
#include "image/picture_view.h"

namespace qv {

// Walks RLE8 or RLE4 data: runs of one index (two alternating ones in RLE4), indices given one by
// one, end of line, a jump right and on to a later row, end of picture. Pixels outside the picture are dropped;
// the pixels the data never reaches are left as they are (black in a new picture). With no
// destination it only walks, to learn whether the data is whole before a picture is made for it.
// True when the data reaches the end of the picture; false when it stops short.
bool decodeRunLength(const BmpLayout& layout, std::span<const uint8_t> data, const BmpPalette& palette,
                     const PictureView* destination);

}  // namespace qv
