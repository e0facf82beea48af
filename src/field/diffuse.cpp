#include <cstdlib>
#include <cstring>

#include "field/diffuse_cells.h"

namespace qv {

namespace diffusion {

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

}  // namespace

void armSparkle(SparkleSlots& slots, int32_t cell) {
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

void cellsOneByOne(const Planes& planes, int32_t first, int32_t last, SparkleSlots& sparkles) {
    const NeighbourView back{planes.backHues, planes.backKinds, planes.below};
    for (int32_t cell = last; cell >= first; --cell) {
        const uint8_t hue = back.hues[cell];
        planes.kinds[cell] = back.kinds[cell];
        planes.hues[cell] = hue;
        if (!back.hasBead(cell)) {
            continue;
        }
        int32_t sum = 0;
        int32_t neighbours = 0;
        back.addSide(cell, 1, sum, neighbours);
        back.addSide(cell, -1, sum, neighbours);
        back.addVertical(cell, planes.below, sum, neighbours);
        back.addVertical(cell, -planes.below, sum, neighbours);
        if (std::abs(sum) > kHueStepThreshold) {
            planes.hues[cell] = static_cast<uint8_t>((hue + (sum > 0 ? 1 : -1)) & (kHueCount - 1));
        } else if (neighbours == kDirectNeighbours && back.crossesSteeply(cell)) {
            armSparkle(sparkles, cell);
        }
    }
}

}  // namespace diffusion

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

    const diffusion::Planes planes{backHue(), backKind(), frontHue(), frontKind(), stride()};
    // Bottom to top, right to left: when slots run short, the lowest, rightmost crossings win.
    for (int32_t row = height + kBorder - 1; row >= kBorder; --row) {
        const int32_t first = row * stride() + kBorder;
        diffusion::cellsSixteenAtOnce(planes, first, first + width - 1, sparkles);
    }
}

}  // namespace qv
