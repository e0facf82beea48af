#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Eight cells at a time, a byte each: which hold a bead (kind 2 or more) and which are empty. The
// high bit of each byte carries the answer, so no borrow or carry crosses from one cell to the next.
constexpr uint64_t kHighBits = 0x8080808080808080ULL;
constexpr uint64_t kLowSeven = 0x7F7F7F7F7F7F7F7FULL;
constexpr uint64_t kTwos = 0x0202020202020202ULL;

uint64_t eightKinds(const uint8_t* kinds) {
    uint64_t word;
    std::memcpy(&word, kinds, sizeof word);
    return word;
}
uint64_t beadBits(uint64_t kinds) { return ((((kinds & kLowSeven) | kHighBits) - kTwos) | kinds) & kHighBits; }
uint64_t emptyBits(uint64_t kinds) { return ~((((kinds & kLowSeven) + kLowSeven) | kinds)) & kHighBits; }

// Which of the eight cells from `first` could change in its visit (the high bit of its byte): a bead
// with an empty cell below it, below right, or below left and left. A visit fills cells only in
// lower rows and empties cells only of its own and the next ones in the row, so a cell found idle
// here stays idle until the pass reaches it.
uint64_t mayMove(const uint8_t* kinds, int32_t first, int32_t below) {
    const uint8_t* cell = kinds + first;
    const uint64_t beads = beadBits(eightKinds(cell));
    if (beads == 0) {
        return 0;
    }
    const uint64_t open = emptyBits(eightKinds(cell + below)) | emptyBits(eightKinds(cell + below + 1)) |
                          (emptyBits(eightKinds(cell + below - 1)) & emptyBits(eightKinds(cell - 1)));
    return beads & open;
}

constexpr int32_t kCellsPerWord = 8;

#if defined(__SSE2__)

constexpr int32_t kCellsPerChunk = 16;

__m128i sixteenKinds(const uint8_t* kinds) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(kinds)); }
__m128i emptyLanes(const uint8_t* kinds) { return _mm_cmpeq_epi8(sixteenKinds(kinds), _mm_setzero_si128()); }

// mayMove for sixteen cells at once: true when none of them could change in its visit. A settled
// pile is mostly such runs.
bool sixteenIdle(const uint8_t* kinds, int32_t first, int32_t below) {
    const uint8_t* cell = kinds + first;
    const __m128i kind = sixteenKinds(cell);
    const __m128i beads = _mm_cmpeq_epi8(_mm_max_epu8(kind, _mm_set1_epi8(2)), kind);
    const __m128i open = _mm_or_si128(_mm_or_si128(emptyLanes(cell + below), emptyLanes(cell + below + 1)),
                                      _mm_and_si128(emptyLanes(cell + below - 1), emptyLanes(cell - 1)));
    return _mm_movemask_epi8(_mm_and_si128(beads, open)) == 0;
}

#endif

}  // namespace

void SandField::gravityStep() {
    if (!hasPlanes()) {
        return;
    }
    const GravityPass pass{backHue(), backKind(), stride()};
    // Bottom to top and right to left, so a moved bead lands where the pass has already been. The
    // lowest visible row never moves, which keeps three rows down inside the plane.
    // Runs of eight cells where nothing can move are passed over whole; the rest visit cell by cell.
    for (int32_t row = height; row >= kBorder; --row) {
        int32_t column = width + kBorder - 1;
        for (; column - (kCellsPerWord - 1) >= kBorder; column -= kCellsPerWord) {
#if defined(__SSE2__)
            // Idle cells stay idle until the pass reaches them, so sixteen found idle are passed over.
            if (column - (kCellsPerChunk - 1) >= kBorder &&
                sixteenIdle(pass.kinds, row * stride() + column - (kCellsPerChunk - 1), pass.below)) {
                column -= kCellsPerChunk - kCellsPerWord;
                continue;
            }
#endif
            const int32_t first = row * stride() + column - (kCellsPerWord - 1);
            uint64_t moving = mayMove(pass.kinds, first, pass.below);
            if constexpr (std::endian::native == std::endian::little) {
                // The first cell is the lowest byte: visit the cells that may move, right to left.
                while (moving != 0) {
                    const int32_t lane = (63 - std::countl_zero(moving)) / 8;
                    pass.visit(first + lane);
                    moving &= ~(uint64_t{0xFF} << (8 * lane));
                }
            } else if (moving != 0) {
                for (int32_t cell = first + kCellsPerWord - 1; cell >= first; --cell) {
                    pass.visit(cell);
                }
            }
        }
        for (; column >= kBorder; --column) {
            pass.visit(row * stride() + column);
        }
    }
}

}  // namespace qv
