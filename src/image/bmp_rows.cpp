#include "image/bmp_rows.h"

#include <algorithm>
#include <array>
#include <bit>

#include "image/little_endian.h"

namespace qv {

namespace {

// One colour of a bit-field pixel: the bits its mask picks out, widened to 8 bits.
class Channel {
public:
    explicit Channel(uint32_t mask)
        : mask_(mask), shift_(mask == 0 ? 0 : std::countr_zero(mask)), width_(std::popcount(mask)) {}

    // Narrower values repeat their bits to fill the byte, so that the largest becomes 255 (five
    // bits abcde become abcdeabc); wider ones keep their top 8 bits.
    uint8_t of(uint32_t pixel) const {
        if (width_ == 0) {
            return 0;
        }
        const uint32_t value = (pixel & mask_) >> shift_;
        uint32_t repeated = value;
        int filled = width_;
        while (filled < 8) {
            repeated = repeated << width_ | value;
            filled += width_;
        }
        return static_cast<uint8_t>(repeated >> (filled - 8));
    }

private:
    uint32_t mask_;
    int shift_;
    int width_;
};

void convertIndexedRow(const BmpLayout& layout, const uint8_t* row, int32_t y, const BmpPalette& palette,
                       const PictureView& destination) {
    const auto bits = static_cast<uint32_t>(layout.bitsPerPixel);
    const uint32_t indexMask = (1u << bits) - 1;
    for (int32_t x = 0; x < layout.width; ++x) {
        // The first pixel of a byte is in its highest bits.
        const uint32_t firstBit = static_cast<uint32_t>(x) * bits;
        const uint32_t shift = 8 - bits - firstBit % 8;
        palette.paint(destination, x, y, static_cast<uint8_t>(row[firstBit / 8] >> shift & indexMask));
    }
}

void convertBitFieldRow(const BmpLayout& layout, const uint8_t* row, int32_t y, const PictureView& destination) {
    const std::array channels{Channel(layout.masks[2]), Channel(layout.masks[1]), Channel(layout.masks[0])};
    const bool wide = layout.bitsPerPixel == 32;
    for (int32_t x = 0; x < layout.width; ++x) {
        const uint32_t pixel = wide ? littleEndian32(row + 4 * x) : littleEndian16(row + 2 * x);
        uint8_t* target = destination.pixelAt(x, y);
        for (std::size_t channel = 0; channel < channels.size(); ++channel) {
            target[channel] = channels[channel].of(pixel);  // blue, green, red
        }
    }
}

}  // namespace

void convertStoredRows(const BmpLayout& layout, const uint8_t* stored, const BmpPalette& palette,
                       const PictureView& destination) {
    const uint64_t rowBytes = layout.storedRowBytes();
    for (int64_t storedRow = 0; storedRow < layout.height; ++storedRow) {
        const uint8_t* row = stored + storedRow * rowBytes;
        const int32_t y = layout.pictureRowOf(storedRow);
        if (layout.coding == BmpLayout::Coding::indexed) {
            convertIndexedRow(layout, row, y, palette, destination);
        } else {
            convertBitFieldRow(layout, row, y, destination);
        }
    }
}

void flipRows(const PictureView& picture) {
    for (int32_t top = 0, bottom = picture.height - 1; top < bottom; ++top, --bottom) {
        std::swap_ranges(picture.pixelAt(0, top), picture.pixelAt(0, top) + picture.stride, picture.pixelAt(0, bottom));
    }
}

}  // namespace qv
