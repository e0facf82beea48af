#include <cstdlib>
#include <cstring>

#include "field/sand_field.h"

namespace qv {

namespace {

constexpr int32_t kHueStepThreshold = 5;      // |sum| above this steps the hue
constexpr int32_t kAcrossThreshold = 32;      // |right - left| above this is a crossing
constexpr int32_t kDownThreshold = 64;        // |below - above| above this is a crossing
constexpr int32_t kDirectNeighbours = 4;

// Twice the signed distance from b to a on the ring of 128 hues, as a signed byte: half the ring
// apart gives -128 whichever side is larger.
int32_t ringDifference(uint8_t a, uint8_t b) {
    return static_cast<int8_t>(static_cast<uint8_t>((a - b) << 1));
}

// The back pair of a diffusion frame; only read.
struct NeighbourView {
    const uint8_t* hues;
    const uint8_t* kinds;
    int32_t below;

    bool hasBead(int32_t cell) const { return holdsBead(kinds[cell]); }

    // A neighbour to the side pulls, and so does the cell beyond it when both hold beads.
    void addSide(int32_t cell, int32_t direction, int32_t& sum, int32_t& neighbours) const {
        const int32_t next = cell + direction;
        if (!hasBead(next)) {
            return;
        }
        sum += ringDifference(hues[next], hues[cell]);
        ++neighbours;
        if (hasBead(next + direction)) {
            sum += ringDifference(hues[next + direction], hues[cell]);
        }
    }

    void addVertical(int32_t cell, int32_t offset, int32_t& sum, int32_t& neighbours) const {
        if (hasBead(cell + offset)) {
            sum += ringDifference(hues[cell + offset], hues[cell]);
            ++neighbours;
        }
    }

    bool crossesSteeply(int32_t cell) const {
        const int32_t across = ringDifference(hues[cell + 1], hues[cell - 1]);
        const int32_t down = ringDifference(hues[cell + below], hues[cell - below]);
        return std::abs(across) > kAcrossThreshold && std::abs(down) > kDownThreshold;
    }
};

// A sparkle already on this cell (live or just freed) is renewed; otherwise the first free slot
// takes it; with every slot busy elsewhere the crossing goes without one.
void armSparkle(std::array<Sparkle, SandField::kSparkleSlots>& slots, int32_t cell) {
    for (Sparkle& slot : slots) {
        if (slot.cell == cell) {
            slot.countdown = SandField::kArmedCountdown;
            return;
        }
    }
    for (Sparkle& slot : slots) {
        if (slot.countdown == -1) {
            slot = Sparkle{cell, SandField::kArmedCountdown};
            return;
        }
    }
}

}  // namespace

void SandField::diffuse() {
    if (!hasPlanes()) {
        return;
    }
    ++diffuseCounter;
    if (diffuseCounter < diffusePeriod) {
        const auto bytes = static_cast<std::size_t>(cellCount);
        std::memcpy(frontHue(), backHue(), bytes);
        std::memcpy(frontKind(), backKind(), bytes);
        return;
    }
    diffuseCounter = 0;

    const NeighbourView back{backHue(), backKind(), stride()};
    uint8_t* const hues = frontHue();
    uint8_t* const kinds = frontKind();
    // Bottom to top, right to left: when slots run short, the lowest, rightmost crossings win.
    for (int32_t row = height + kBorder - 1; row >= kBorder; --row) {
        for (int32_t column = width + kBorder - 1; column >= kBorder; --column) {
            const int32_t cell = row * stride() + column;
            const uint8_t hue = back.hues[cell];
            kinds[cell] = back.kinds[cell];
            hues[cell] = hue;
            if (!back.hasBead(cell)) {
                continue;
            }
            int32_t sum = 0;
            int32_t neighbours = 0;
            back.addSide(cell, 1, sum, neighbours);
            back.addSide(cell, -1, sum, neighbours);
            back.addVertical(cell, stride(), sum, neighbours);
            back.addVertical(cell, -stride(), sum, neighbours);
            if (std::abs(sum) > kHueStepThreshold) {
                hues[cell] = static_cast<uint8_t>((hue + (sum > 0 ? 1 : -1)) & (kHueCount - 1));
            } else if (neighbours == kDirectNeighbours && back.crossesSteeply(cell)) {
                armSparkle(sparkles, cell);
            }
        }
    }
}

}  // namespace qv
