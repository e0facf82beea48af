#pragma once

#include <gtest/gtest.h>

#include "field/sand_field.h"
#include "support/mt19937.h"

namespace qv::testing {

// A field in its ready state, with the shared generator freshly seeded so draws can be counted.
class ReadyField : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(field.allocate());
        field.reset();
        sharedRandom().seed(20240601);
    }

    // Writes a bead into the back pair, the one pour and gravity edit.
    void putBead(int32_t x, int32_t y, int hue, uint8_t kind = kFirstBead) {
        field.backHue()[field.gridIndex(x, y)] = static_cast<uint8_t>(hue);
        field.backKind()[field.gridIndex(x, y)] = kind;
    }
    uint8_t backKindAt(int32_t x, int32_t y) const { return field.backKind()[field.gridIndex(x, y)]; }
    uint8_t backHueAt(int32_t x, int32_t y) const { return field.backHue()[field.gridIndex(x, y)]; }
    uint8_t frontHueAt(int32_t x, int32_t y) const { return field.frontHue()[field.gridIndex(x, y)]; }

    // Draws taken from the shared generator since SetUp (within its first block).
    static int32_t drawsTaken() { return sharedRandom().index; }
    // Steers one random choice: the next draw returns `value`.
    static void nextDrawIs(uint32_t value) { sharedRandom().block[sharedRandom().index] = value; }

    static int32_t countBeads(const uint8_t* kinds, int32_t cells) {
        int32_t beads = 0;
        for (int32_t i = 0; i < cells; ++i) beads += holdsBead(kinds[i]) ? 1 : 0;
        return beads;
    }

    SandField field;
};

}  // namespace qv::testing
