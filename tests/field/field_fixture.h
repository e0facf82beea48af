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

    // Back pair: what pour and gravity edit.
    void putBead(int32_t x, int32_t y, uint8_t hue, uint8_t kind = kFirstBead) {
        const int32_t cell = field.gridIndex(x, y);
        field.backHue()[cell] = hue;
        field.backKind()[cell] = kind;
    }
    uint8_t backKindAt(int32_t x, int32_t y) const { return field.backKind()[field.gridIndex(x, y)]; }
    uint8_t backHueAt(int32_t x, int32_t y) const { return field.backHue()[field.gridIndex(x, y)]; }
    uint8_t frontKindAt(int32_t x, int32_t y) const { return field.frontKind()[field.gridIndex(x, y)]; }
    uint8_t frontHueAt(int32_t x, int32_t y) const { return field.frontHue()[field.gridIndex(x, y)]; }

    // Draws taken from the shared generator since SetUp (valid within its first block).
    static int32_t drawsTaken() { return sharedRandom().index; }

    // Makes the next draw return `value`, so a test can steer one random choice.
    static void nextDrawIs(uint32_t value) { sharedRandom().block[sharedRandom().index] = value; }

    static int32_t countBeads(const uint8_t* kinds, int32_t cells) {
        int32_t beads = 0;
        for (int32_t i = 0; i < cells; ++i) {
            beads += holdsBead(kinds[i]) ? 1 : 0;
        }
        return beads;
    }

    SandField field;
};

}  // namespace qv::testing
