#pragma once

#include <array>
#include <cstdint>

#include "field/sand_field.h"

// The cell-by-cell work of a diffusion sweep, in two ways that give the same bytes and arm the same
// sparkles in the same order: one cell at a time anywhere, and sixteen cells at a time where the
// processor has 16-byte vectors.
namespace qv::diffusion {

using SparkleSlots = std::array<Sparkle, SandField::kSparkleSlots>;

// The back pair is only read; the front pair receives the kinds unchanged and the stepped hues.
struct Planes {
    const uint8_t* backHues;
    const uint8_t* backKinds;
    uint8_t* hues;
    uint8_t* kinds;
    int32_t below;  // one grid row down
};

// Diffuses the cells `first` to `last` (grid indices of one row), right to left, arming sparkles
// on steep crossings in that order.
void cellsOneByOne(const Planes& planes, int32_t first, int32_t last, SparkleSlots& sparkles);

// Whether `cellsSixteenAtOnce` has a vector path in this build; without one it works one by one.
bool sixteenAtOnceAvailable();
// The same as `cellsOneByOne`, sixteen cells at a time from the right; cells left over at the left
// end go one by one.
void cellsSixteenAtOnce(const Planes& planes, int32_t first, int32_t last, SparkleSlots& sparkles);

// A sparkle already on this cell (live or just freed) is renewed; otherwise the first free slot
// takes it; with every slot busy elsewhere the crossing goes without one.
void armSparkle(SparkleSlots& slots, int32_t cell);

}  // namespace qv::diffusion
