#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "image/picture_view.h"

namespace qv {

// The colours that a picture's indices select, each blue, green, red. Entries the file does not
// supply stay black.
struct BmpPalette {
    std::array<std::array<uint8_t, 3>, 256> entries{};

    // Gives pixel (x, y) of `picture`, y counted from the top, the colour of entry `index`.
    void paint(const PictureView& picture, int32_t x, int32_t y, uint8_t index) const {
        const auto& colour = entries[index];
        uint8_t* pixel = picture.pixelAt(x, y);
        pixel[0] = colour[0];
        pixel[1] = colour[1];
        pixel[2] = colour[2];
    }
};

// The palette whose entries `bytes` holds one after another, `entryBytes` each (blue, green, red,
// then any spare bytes); at most 256 of them.
BmpPalette paletteFrom(std::span<const uint8_t> bytes, uint32_t entryBytes);

}  // namespace qv
