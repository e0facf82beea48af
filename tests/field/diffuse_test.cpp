#include <gtest/gtest.h>

#include <vector>

#include "field_fixture.h"

namespace qv {
namespace {

class Diffuse : public testing::ReadyField {
protected:
    void SetUp() override {
        ReadyField::SetUp();
        field.diffuseCounter = 1;  // the next call sweeps
    }
    // A bead at (40, 40) with its neighbours' hues; -1 leaves a cell empty.
    void placeCross(int hue, int right, int right2, int left, int left2, int below, int above) {
        field.reset();
        field.diffuseCounter = 1;
        putBead(40, 40, hue);
        const int32_t offsets[][3] = {{1, 0, right}, {2, 0, right2}, {-1, 0, left}, {-2, 0, left2},
                                      {0, 1, below}, {0, -1, above}};
        for (const auto& [dx, dy, h] : offsets) {
            if (h >= 0) putBead(40 + dx, 40 + dy, h);
        }
    }
    int32_t armedSlots() const {
        int32_t armed = 0;
        for (const Sparkle& slot : field.sparkles) armed += slot.countdown == SandField::kArmedCountdown ? 1 : 0;
        return armed;
    }
};

TEST_F(Diffuse, CopyFramesAndSweepFramesAlternate) {
    placeCross(40, 55, -1, 25, -1, 60, 20);  // would arm and blend on a sweep
    putBead(10, 10, 10), putBead(11, 10, 40);
    field.diffuseCounter = 0;
    field.frontKind()[0] = 0x5A;  // a sweep leaves the front border as it was, a copy does not
    field.diffuse();
    EXPECT_EQ(field.diffuseCounter, 1);
    EXPECT_EQ(std::vector<uint8_t>(field.frontHue(), field.frontHue() + field.cellCount),
              std::vector<uint8_t>(field.backHue(), field.backHue() + field.cellCount));
    EXPECT_EQ(armedSlots(), 0);
    field.frontKind()[0] = 0x5A;
    field.diffuse();
    EXPECT_EQ(field.diffuseCounter, 0);
    EXPECT_EQ(field.frontKind()[0], 0x5A);
    EXPECT_EQ(frontHueAt(10, 10), 11);
    EXPECT_EQ(backHueAt(10, 10), 10);  // the back pair is only read
    EXPECT_EQ(armedSlots(), 1);
}

TEST_F(Diffuse, HueStepsOneTowardsItsNeighbours) {
    struct Case { int hue, right, right2, left, left2, below, above, expected; };
    for (const Case c : {Case{10, -1, -1, -1, -1, -1, -1, 10}, Case{10, 13, -1, -1, -1, -1, -1, 11},
                         Case{10, 12, -1, -1, -1, -1, -1, 10}, Case{10, 7, -1, -1, -1, -1, -1, 9},
                         Case{127, 3, -1, -1, -1, -1, -1, 0}, Case{0, 125, -1, -1, -1, -1, -1, 127},
                         Case{10, -1, 30, -1, -1, -1, -1, 10},  // the second cell counts only through the first
                         Case{10, 11, 12, -1, -1, -1, -1, 11}, Case{10, -1, -1, 11, 12, -1, -1, 11},
                         Case{10, -1, -1, -1, -1, 13, -1, 11}, Case{10, -1, -1, -1, -1, -1, 13, 11},
                         Case{10, 74, -1, -1, -1, -1, -1, 9},    // half the ring away counts -128
                         Case{74, 10, -1, -1, -1, -1, -1, 73}, Case{10, 20, -1, 0, -1, -1, -1, 10}}) {
        placeCross(c.hue, c.right, c.right2, c.left, c.left2, c.below, c.above);
        field.diffuse();
        EXPECT_EQ(frontHueAt(40, 40), c.expected) << "hue " << c.hue << " right " << c.right << "," << c.right2
                                                  << " left " << c.left << "," << c.left2;
    }
}

TEST_F(Diffuse, ArmsOnlyWhereBothCrossingsAreSteepWithFourNeighbours) {
    struct Case { int left, right, above, below; bool fourNeighbours, arms; };
    for (const Case c : {Case{25, 55, 20, 60, true, true}, Case{25, 55, 30, 50, true, false},
                         Case{32, 48, 20, 60, true, false},  // |H| = 32 is not steep
                         Case{25, 55, 24, 56, true, false},  // |V| = 64 is not steep
                         Case{25, 55, 23, 57, true, true}, Case{31, 48, 7, 73, true, true},  // V wraps to -124
                         Case{25, 55, 20, 60, false, false}}) {
        placeCross(40, c.right, -1, c.left, -1, c.below, c.fourNeighbours ? c.above : -1);
        field.diffuse();
        EXPECT_EQ(armedSlots(), c.arms ? 1 : 0) << c.left << " " << c.right << " " << c.above << " " << c.below;
        EXPECT_EQ(field.sparkles[0].cell, c.arms ? field.gridIndex(40, 40) : -1);
    }
}

TEST_F(Diffuse, RenewsTheFirstSlotOfTheCellAndSkipsWhenAllSlotsAreBusy) {
    placeCross(40, 55, -1, 25, -1, 60, 20);
    const int32_t cell = field.gridIndex(40, 40);
    field.sparkles[3] = Sparkle{cell, -1};  // freed, but last held this cell
    field.sparkles[7] = Sparkle{cell, 9};
    field.diffuse();
    EXPECT_EQ(field.sparkles[3].countdown, 16);
    EXPECT_EQ(field.sparkles[7].countdown, 9);
    EXPECT_EQ(field.sparkles[0].countdown, -1);

    for (int32_t slot = 0; slot < SandField::kSparkleSlots; ++slot) field.sparkles[slot] = Sparkle{slot, 3};
    field.diffuseCounter = 1;
    field.diffuse();
    EXPECT_EQ(armedSlots(), 0);
}

TEST_F(Diffuse, LowestThenRightmostCrossingsWinTheSlots) {
    for (int32_t y = 20; y < 60; ++y) {  // a steep, even ramp both ways: every inner cell qualifies
        for (int32_t x = 10; x < 80; ++x) putBead(x, y, (20 * x + 40 * y) % 128);
    }
    field.diffuse();
    EXPECT_EQ(field.sparkles[0].cell, field.gridIndex(77, 58));
    for (int32_t slot = 1; slot < SandField::kSparkleSlots; ++slot) {
        EXPECT_LT(field.sparkles[slot].cell, field.sparkles[slot - 1].cell);
    }
}

}  // namespace
}  // namespace qv
