#pragma once

#include <cstdint>

#include "image/bmp_layout.h"
#include "image/bmp_palette.h"
#include "image/picture_view.h"

namespace qv {

// Turns the stored rows of an indexed or bit-field picture (all of them, as the file holds them)
// into the 24-bit picture `destination` of the same size.
void convertStoredRows(const BmpLayout& layout, const uint8_t* stored, const BmpPalette& palette,
                       const PictureView& destination);

// Reverses the order of a picture's rows, for files that store the top row first.
void flipRows(const PictureView& picture);

}  // namespace qv
