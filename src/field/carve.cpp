#include <algorithm>
#include <limits>

#include "field/sand_field.h"

namespace qv {

namespace {

// One carving step per countdown value: bits 0-1 pick the shape emptied around the sparkle, bit 2
// moves the sparkle one row down afterwards. A sparkle runs through it from 15 down to 0.
constexpr std::array<uint8_t, 16> kCarvePattern{
    0x04, 0x05, 0x02, 0x07, 0x02, 0x02, 0x02, 0x01,
    0x01, 0x01, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00,
};
// The first step, taken in the frame the sparkle is armed (countdown 16), only empties its own
// cell and stays put, like the steps that follow it.
constexpr uint8_t kArmedStep = 0x00;
constexpr uint8_t kShapeBits = 0x03;
constexpr uint8_t kMovesDown = 0x04;

uint8_t patternFor(int32_t countdown) {
    return countdown < static_cast<int32_t>(kCarvePattern.size()) ? kCarvePattern[countdown] : kArmedStep;
}

// The cells each shape empties, as column and row offsets from the sparkle's cell.
struct Shape {
    std::array<int32_t, 6> columns;
    std::array<int32_t, 6> rows;
    int32_t size;
};
constexpr std::array<Shape, 4> kShapes{{
    {{0}, {0}, 1},                                              // the cell itself
    {{0, 0}, {0, 1}, 2},                                        // and the cell below
    {{0, 1, 0, 1}, {0, 0, 1, 1}, 4},                            // 2 x 2 block
    {{-1, 0, 1, -1, 0, 1}, {0, 0, 0, 1, 1, 1}, 6},              // 3 x 2 block around the column
}};

}  // namespace

void SandField::carve() {
    liveSparkles = 0;
    if (!hasPlanes()) {
        return;
    }
    uint8_t* const kinds = frontKind();
    for (Sparkle& slot : sparkles) {
        if (slot.countdown < 0) {
            continue;
        }
        ++liveSparkles;
        const uint8_t pattern = patternFor(slot.countdown);
        const Shape& shape = kShapes[pattern & kShapeBits];
        for (int32_t part = 0; part < shape.size; ++part) {
            const int64_t cell = int64_t{slot.cell} + shape.rows[part] * stride() + shape.columns[part];
            // A sparkle in the last grid row would reach below the plane: those cells are left out.
            if (cell >= 0 && cell < cellCount) {
                kinds[cell] = kEmpty;
            }
        }
        if (pattern & kMovesDown) {
            const int64_t moved = int64_t{slot.cell} + stride();
            slot.cell = static_cast<int32_t>(std::min<int64_t>(moved, std::numeric_limits<int32_t>::max()));
            if (moved >= cellCount) {
                slot.countdown = 0;  // it has left the plane: this is its last step
            }
        }
        --slot.countdown;
    }
}

}  // namespace qv
