#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "field/sand_field.h"
#include "support/mt19937.h"

namespace qv::testing {

// Gives a field the game's 96 x 144 size and four empty planes, without the field's own storage
// code, so that drawing can be tested on its own.
inline void giveEmptyPlanes(SandField& field) {
    field.width = SandField::kVisibleWidth, field.height = SandField::kVisibleHeight;
    field.cellCount = (field.width + 2 * SandField::kBorder) * (field.height + 2 * SandField::kBorder);
    for (int32_t pair = 0; pair < 2; ++pair) {
        field.hue[pair] = std::make_unique<uint8_t[]>(field.cellCount);
        field.kind[pair] = std::make_unique<uint8_t[]>(field.cellCount);
    }
}

// A field in its ready state, with the shared generator freshly seeded so draws can be counted.
class ReadyField : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(field.allocate());
        field.reset();
        sharedRandom().seed(20240601);
    }
    // The back pair, the one pour and gravity edit.
    void putBead(int32_t x, int32_t y, int hue, uint8_t kind = kFirstBead) {
        field.backHue()[field.gridIndex(x, y)] = static_cast<uint8_t>(hue);
        field.backKind()[field.gridIndex(x, y)] = kind;
    }
    uint8_t backKindAt(int32_t x, int32_t y) const { return field.backKind()[field.gridIndex(x, y)]; }
    uint8_t backHueAt(int32_t x, int32_t y) const { return field.backHue()[field.gridIndex(x, y)]; }
    int32_t backBeads() const {
        return static_cast<int32_t>(std::count_if(field.backKind(), field.backKind() + field.cellCount, holdsBead));
    }
    // Draws taken since SetUp (within the generator's first block); nextDrawIs steers the next one.
    static int32_t drawsTaken() { return sharedRandom().index; }
    static void nextDrawIs(uint32_t value) { sharedRandom().block[sharedRandom().index] = value; }

    SandField field;
};

}  // namespace qv::testing
