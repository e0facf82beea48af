#include <algorithm>

#include "field/sand_field.h"
#include "support/mt19937.h"

namespace qv {

namespace {

// The disc of cells a pour fills: row r covers visible row pourY - 10 + r, bit c visible column
// pourX - 8 + c. 208 cells; the cursor's own cell is row 10, bit 8.
constexpr std::array<uint16_t, 16> kDiscMask{
    0x07E0, 0x1FF8, 0x3FFC, 0x7FFE, 0x7FFE, 0xFFFF, 0xFFFF, 0xFFFF,
    0xFFFF, 0xFFFF, 0xFFFF, 0x7FFE, 0x7FFE, 0x3FFC, 0x1FF8, 0x07E0,
};
constexpr int32_t kDiscRowsAbove = 10;
constexpr int32_t kDiscColumnsLeft = 8;
constexpr int32_t kDiscSize = 16;

}  // namespace

bool SandField::pour() {
    if (!hasPlanes()) {
        return true;
    }
    // Input already keeps the pour cell in this range; holding to it here as well means a stray
    // pour cell can never put the disc outside the visible cells.
    const int32_t centreX = std::clamp(pourX, kDiscColumnsLeft, width - kDiscColumnsLeft);
    const int32_t centreY = std::clamp(pourY, kDiscRowsAbove, height - kDiscRowsAbove);
    uint8_t* const hues = backHue();
    uint8_t* const kinds = backKind();
    const int32_t topLeft = gridIndex(centreX - kDiscColumnsLeft, centreY - kDiscRowsAbove);
    for (int32_t row = 0; row < kDiscSize; ++row) {
        for (int32_t column = 0; column < kDiscSize; ++column) {
            const int32_t cell = topLeft + row * stride() + column;
            if ((kDiscMask[row] >> column & 1u) == 0 || kinds[cell] != kEmpty) {
                continue;
            }
            hues[cell] = static_cast<uint8_t>(pourHue);
            // Four equally likely shades: one draw per bead placed, none for skipped cells.
            kinds[cell] = static_cast<uint8_t>((sharedRandom().next() & 3u) + kFirstBead);
            ++pourCount;
            if (pourCount >= pourLimit) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace qv
