#include <cstring>

#include "field/sand_field.h"
#include "image/frame_target.h"

// Drawing the field: every non-empty visible cell becomes its 4 x 4 tile at
// (originX + 4x, originY + 4y); empty cells are skipped so the background shows through.

namespace qv {

namespace {

constexpr int32_t kTileSide = 4;
constexpr int32_t kTileRows = 4;  // a tile holds a fifth row that is never drawn

bool validCell(uint8_t hue, uint8_t kind) { return hue < kHueCount && kind < kKindCount; }

}  // namespace

bool SandField::fitsFrameTarget() const {
    const int64_t gridCells = int64_t{width + 2 * kBorder} * (height + 2 * kBorder);
    if (frameTarget.pixels == nullptr || !frontHue() || !frontKind() || cellCount < gridCells) {
        return false;
    }
    const PictureView target = frameTarget.view();
    const int64_t left = originX();
    const int64_t top = originY();
    const bool inside = left >= 0 && top >= 0 && left + int64_t{kTileSide} * width <= target.width &&
                        top + int64_t{kTileSide} * height <= target.height;
    return inside && rowOffset[0] == target.offsetOf(left, top);
}

void SandField::setOrigin(int32_t newX, int32_t newY) {
    x = newX;
    y = newY;
    // 64-bit arithmetic: an origin far outside the target must not overflow; render refuses it.
    const int64_t firstRow = frameTarget.view().offsetOf(newX, newY);
    for (int32_t r = 0; r < kTileRows; ++r) {
        rowOffset[r] = static_cast<int32_t>(firstRow - int64_t{r} * frameTarget.stride);
    }
}

int32_t SandField::render() {
    const int32_t drawn = front;
    if (width > 0 && height > 0 && fitsFrameTarget()) {
        const uint8_t* hues = frontHue();
        const uint8_t* kinds = frontKind();
        const std::ptrdiff_t tileRowStep = int64_t{kTileSide} * frameTarget.stride;
        for (int32_t row = 0; row < height; ++row) {
            const int32_t firstCell = gridIndex(0, row);
            for (int32_t column = 0; column < width; ++column) {
                const uint8_t kind = kinds[firstCell + column];
                const uint8_t hue = hues[firstCell + column];
                // Empty cells show what lies beneath; bytes that are no cell at all are not drawn.
                if (kind == kEmpty || !validCell(hue, kind)) {
                    continue;
                }
                const uint8_t* tile = tiles.data() + tileOffset(hue, kind);
                for (int32_t r = 0; r < kTileRows; ++r) {
                    uint8_t* target = frameTarget.pixels + rowOffset[r] - row * tileRowStep + column * kTileRowBytes;
                    std::memcpy(target, tile + r * kTileRowBytes, kTileRowBytes);
                }
            }
        }
    }
    front = 1 - front;
    return drawn;
}

}  // namespace qv
