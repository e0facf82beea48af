#include "image/bmp_palette.h"

#include <algorithm>

namespace qv {

BmpPalette paletteFrom(std::span<const uint8_t> bytes, uint32_t entryBytes) {
    BmpPalette palette;
    const std::size_t count = std::min(bytes.size() / entryBytes, palette.entries.size());
    for (std::size_t entry = 0; entry < count; ++entry) {
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(entry * entryBytes), 3, palette.entries[entry].begin());
    }
    return palette;
}

}  // namespace qv
