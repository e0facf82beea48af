#include "field/sand_field.h"
#include "support/mt19937.h"

namespace qv {

namespace {

// What happens to a bead about to land, by (left stacked << 4 | right stacked << 3 | three random
// bits): 0 it falls into the gap itself, 1 the right neighbour slides into it, 2 the left one does.
constexpr std::array<uint8_t, 32> kSlideChoice{
    0, 0, 0, 0, 0, 0, 0, 0,  // neither side stacked
    0, 0, 0, 1, 1, 1, 1, 1,  // right stacked
    0, 0, 0, 2, 2, 2, 2, 2,  // left stacked
    0, 0, 1, 1, 1, 2, 2, 2,  // both stacked
};
constexpr uint32_t kRightStacked = 8;
constexpr uint32_t kLeftStacked = 16;

// The back pair while one gravity pass runs over it.
struct GravityPass {
    uint8_t* hues;
    uint8_t* kinds;
    int32_t below;  // one grid row down

    bool isEmpty(int32_t cell) const { return kinds[cell] == kEmpty; }
    bool hasBead(int32_t cell) const { return holdsBead(kinds[cell]); }

    // The hue byte of the vacated cell is left as it was.
    void move(int32_t from, int32_t to) const {
        hues[to] = hues[from];
        kinds[to] = kinds[from];
        kinds[from] = kEmpty;
    }

    // A resting bead slides down-right, or down-left when its left side is open too.
    void slide(int32_t cell) const {
        if (isEmpty(cell + below + 1)) {
            move(cell, cell + below + 1);
        } else if (isEmpty(cell + below - 1) && isEmpty(cell - 1)) {
            move(cell, cell + below - 1);
        }
    }

    uint32_t stackedSides(int32_t cell) const {
        uint32_t sides = 0;
        if (hasBead(cell + 1) && hasBead(cell + below + 1)) {
            sides |= kRightStacked;
        }
        if (hasBead(cell - 1) && hasBead(cell + below - 1)) {
            sides |= kLeftStacked;
        }
        return sides;
    }

    // Below is empty and two below is not: the bead, or a stacked neighbour, takes the gap.
    void land(int32_t cell) const {
        const uint32_t index = (sharedRandom().next() & 7u) | stackedSides(cell);
        switch (kSlideChoice[index]) {
            case 0:
                move(cell, cell + below);
                return;
            case 1:
                move(cell + 1, cell + below);
                break;
            default:
                move(cell - 1, cell + below);
                break;
        }
        slide(cell);
    }

    void visit(int32_t cell) const {
        if (!hasBead(cell)) {
            return;
        }
        if (!isEmpty(cell + below)) {
            slide(cell);
        } else if (!isEmpty(cell + 2 * below)) {
            land(cell);
        } else if (isEmpty(cell + 3 * below)) {
            move(cell, cell + 3 * below);
        } else {
            move(cell, cell + 2 * below);
        }
    }
};

}  // namespace

void SandField::gravityStep() {
    if (!hasPlanes()) {
        return;
    }
    const GravityPass pass{backHue(), backKind(), stride()};
    // Bottom to top and right to left, so a moved bead lands where the pass has already been. The
    // lowest visible row never moves, which keeps three rows down inside the plane.
    for (int32_t row = height; row >= kBorder; --row) {
        for (int32_t column = width + kBorder - 1; column >= kBorder; --column) {
            pass.visit(row * stride() + column);
        }
    }
}

}  // namespace qv
