#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <vector>

#include "field_fixture.h"

namespace qv {
namespace {

class Diffuse : public testing::ReadyField {
protected:
    // The next diffuse call sweeps instead of copying.
    void SetUp() override {
        ReadyField::SetUp();
        field.diffuseCounter = 1;
    }
    std::vector<uint8_t> snapshot(const uint8_t* plane) const { return {plane, plane + field.cellCount}; }
};

TEST_F(Diffuse, CopyFramesAndSweepFramesAlternateAfterReset) {
    field.diffuseCounter = 0;
    putBead(10, 10, 10);
    putBead(11, 10, 40);
    field.sparkles[0] = Sparkle{field.gridIndex(3, 3), -1};
    const auto backHues = snapshot(field.backHue());
    const auto backKinds = snapshot(field.backKind());

    field.diffuse();
    EXPECT_EQ(field.diffuseCounter, 1);
    EXPECT_EQ(snapshot(field.frontHue()), backHues);
    EXPECT_EQ(snapshot(field.frontKind()), backKinds);
    EXPECT_EQ(field.sparkles[0].countdown, -1);

    field.diffuse();
    EXPECT_EQ(field.diffuseCounter, 0);
    EXPECT_EQ(frontHueAt(10, 10), 11);  // pulled up by its neighbour
    EXPECT_EQ(snapshot(field.backHue()), backHues);  // the back pair is only read
}

TEST_F(Diffuse, SweepLeavesFrontBorderAloneAndCopiesEmptyCells) {
    field.frontKind()[0] = 0x5A;
    field.frontHue()[field.stride() + 1] = 0x33;
    field.backHue()[field.gridIndex(20, 20)] = 99;  // an empty cell with a stale hue
    field.diffuse();
    EXPECT_EQ(field.frontKind()[0], 0x5A);
    EXPECT_EQ(field.frontHue()[field.stride() + 1], 0x33);
    EXPECT_EQ(frontHueAt(20, 20), 99);
    EXPECT_EQ(frontKindAt(20, 20), kEmpty);
}

// A bead at (40, 40) with neighbours given as hues (-1: no bead there).
struct HueStepCase {
    int cell, right, right2, left, left2, below, above;
    int expected;
};

std::ostream& operator<<(std::ostream& out, const HueStepCase& c) {
    return out << "hue " << c.cell << " right " << c.right << "," << c.right2 << " left " << c.left << ","
               << c.left2 << " below " << c.below << " above " << c.above;
}

class DiffuseHueStep : public Diffuse, public ::testing::WithParamInterface<HueStepCase> {};

TEST_P(DiffuseHueStep, StepsOneHueTowardsItsNeighbours) {
    const HueStepCase c = GetParam();
    const int32_t x = 40, y = 40;
    putBead(x, y, static_cast<uint8_t>(c.cell));
    const auto place = [&](int dx, int dy, int hue) {
        if (hue >= 0) putBead(x + dx, y + dy, static_cast<uint8_t>(hue));
    };
    place(1, 0, c.right);
    place(2, 0, c.right2);
    place(-1, 0, c.left);
    place(-2, 0, c.left2);
    place(0, 1, c.below);
    place(0, -1, c.above);
    field.diffuse();
    EXPECT_EQ(frontHueAt(x, y), c.expected);
    EXPECT_EQ(field.sparkles[0].countdown, -1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DiffuseHueStep,
    ::testing::Values(HueStepCase{10, -1, -1, -1, -1, -1, -1, 10},   // alone
                      HueStepCase{10, 13, -1, -1, -1, -1, -1, 11},   // D = 6 steps
                      HueStepCase{10, 12, -1, -1, -1, -1, -1, 10},   // D = 4 does not
                      HueStepCase{10, 7, -1, -1, -1, -1, -1, 9},     // and downwards
                      HueStepCase{127, 3, -1, -1, -1, -1, -1, 0},    // wraps up across the ring
                      HueStepCase{0, 125, -1, -1, -1, -1, -1, 127},  // wraps down across the ring
                      HueStepCase{10, -1, 30, -1, -1, -1, -1, 10},   // second cell counts only through the first
                      HueStepCase{10, 11, 12, -1, -1, -1, -1, 11},   // 2 + 4 = 6 with the second cell
                      HueStepCase{10, -1, -1, 11, 12, -1, -1, 11},   // the same on the left
                      HueStepCase{10, -1, -1, -1, -1, 13, -1, 11},   // below
                      HueStepCase{10, -1, -1, -1, -1, -1, 13, 11},   // above
                      HueStepCase{10, 74, -1, -1, -1, -1, -1, 9},    // half the ring above: -128
                      HueStepCase{74, 10, -1, -1, -1, -1, -1, 73},   // half the ring below: -128 too
                      HueStepCase{10, 20, -1, 0, -1, -1, -1, 10}));  // pulls cancel

TEST_F(Diffuse, ASteepCrossingBothWaysArmsASparkle) {
    const int32_t x = 40, y = 40;
    putBead(x, y, 40);
    putBead(x - 1, y, 25);
    putBead(x + 1, y, 55);
    putBead(x, y - 1, 20);
    putBead(x, y + 1, 60);
    field.diffuse();
    EXPECT_EQ(frontHueAt(x, y), 40);
    EXPECT_EQ(field.sparkles[0].cell, field.gridIndex(x, y));
    EXPECT_EQ(field.sparkles[0].countdown, SandField::kArmedCountdown);
    EXPECT_EQ(field.sparkles[1].countdown, -1);
}

struct CrossingCase {
    int left, right, above, below;
    bool withAllFourNeighbours;
    bool arms;
};

std::ostream& operator<<(std::ostream& out, const CrossingCase& c) {
    return out << "left " << c.left << " right " << c.right << " above " << c.above << " below " << c.below
               << (c.withAllFourNeighbours ? "" : " (no bead above)");
}

class DiffuseCrossing : public Diffuse, public ::testing::WithParamInterface<CrossingCase> {};

TEST_P(DiffuseCrossing, ArmsOnlyWhereBothCrossingsAreSteep) {
    const CrossingCase c = GetParam();
    const int32_t x = 40, y = 40;
    putBead(x, y, 40);
    putBead(x - 1, y, static_cast<uint8_t>(c.left));
    putBead(x + 1, y, static_cast<uint8_t>(c.right));
    putBead(x, y - 1, static_cast<uint8_t>(c.above), c.withAllFourNeighbours ? kFirstBead : kEmpty);
    putBead(x, y + 1, static_cast<uint8_t>(c.below));
    field.diffuse();
    const bool armed = std::any_of(field.sparkles.begin(), field.sparkles.end(),
                                   [&](const Sparkle& s) { return s.cell == field.gridIndex(x, y); });
    EXPECT_EQ(armed, c.arms);
}

INSTANTIATE_TEST_SUITE_P(Cases, DiffuseCrossing,
                         ::testing::Values(CrossingCase{25, 55, 20, 60, true, true},
                                           CrossingCase{25, 55, 30, 50, true, false},   // V = 40
                                           CrossingCase{32, 48, 20, 60, true, false},   // H = 32: not above
                                           CrossingCase{31, 48, 7, 73, true, true},     // V wraps to -124
                                           CrossingCase{25, 55, 24, 56, true, false},   // V = 64: not above
                                           CrossingCase{25, 55, 23, 57, true, true},    // V = 68
                                           CrossingCase{25, 55, 20, 60, false, false}));  // three neighbours

TEST_F(Diffuse, RenewsTheSlotOfTheSameCellAndSkipsWhenAllSlotsAreBusy) {
    const int32_t x = 40, y = 40;
    putBead(x, y, 40);
    putBead(x - 1, y, 25);
    putBead(x + 1, y, 55);
    putBead(x, y - 1, 20);
    putBead(x, y + 1, 60);
    const int32_t cell = field.gridIndex(x, y);

    field.sparkles[3] = Sparkle{cell, 5};
    field.sparkles[7] = Sparkle{cell, 9};
    field.diffuse();
    EXPECT_EQ(field.sparkles[3].countdown, 16);  // the first slot holding the cell is renewed
    EXPECT_EQ(field.sparkles[7].countdown, 9);
    EXPECT_EQ(field.sparkles[0].countdown, -1);

    field.sparkles[3] = Sparkle{cell, -1};  // a freed slot that last held the cell is taken again
    field.diffuseCounter = 1;
    field.diffuse();
    EXPECT_EQ(field.sparkles[3].countdown, 16);

    for (int32_t slot = 0; slot < SandField::kSparkleSlots; ++slot) {
        field.sparkles[slot] = Sparkle{slot, 3};
    }
    field.diffuseCounter = 1;
    field.diffuse();
    for (int32_t slot = 0; slot < SandField::kSparkleSlots; ++slot) {
        EXPECT_EQ(field.sparkles[slot].cell, slot);
        EXPECT_EQ(field.sparkles[slot].countdown, 3);
    }
}

TEST_F(Diffuse, LowestThenRightmostCrossingsWinTheSlots) {
    // A steep, even ramp both ways: every inner cell has balanced pulls and qualifies.
    for (int32_t y = 20; y < 60; ++y) {
        for (int32_t x = 10; x < 80; ++x) {
            putBead(x, y, static_cast<uint8_t>((20 * x + 40 * y) % 128));
        }
    }
    field.diffuse();
    EXPECT_EQ(field.sparkles[0].cell, field.gridIndex(77, 58));
    int32_t previous = field.cellCount;
    for (const Sparkle& slot : field.sparkles) {
        ASSERT_EQ(slot.countdown, SandField::kArmedCountdown);
        EXPECT_LT(slot.cell, previous);  // slots fill in sweep order: bottom-up, right to left
        previous = slot.cell;
    }
}

TEST_F(Diffuse, ABeadInTheBottomBorderCountsAsANeighbour) {
    const int32_t bottom = field.gridIndex(30, 143);
    putBead(30, 143, 10);
    field.backKind()[bottom + field.stride()] = kFirstBead;
    field.backHue()[bottom + field.stride()] = 13;
    field.diffuse();
    EXPECT_EQ(frontHueAt(30, 143), 11);
}

}  // namespace
}  // namespace qv
