#include <gtest/gtest.h>

#include "field_fixture.h"

namespace qv {
namespace {

using Gravity = testing::ReadyField;

constexpr int32_t kBottom = 143;  // lowest visible row

// A lone bead falls 3 rows a frame; only a single free cell at the end (a landing) draws.
TEST_F(Gravity, ALoneBeadFallsToTheBottomRow) {
    struct Case { int32_t startRow, afterOneFrame, draws; };
    for (const Case c : {Case{0, 3, 0}, Case{1, 4, 1}, Case{140, 143, 0}, Case{142, 143, 1}}) {
        field.reset();
        sharedRandom().seed(1);
        putBead(30, c.startRow, 17, 4);
        field.gravityStep();
        EXPECT_EQ(backKindAt(30, c.afterOneFrame), 4) << "from row " << c.startRow;
        for (int frame = 0; frame < 60; ++frame) field.gravityStep();
        EXPECT_EQ(backHueAt(30, kBottom), 17) << "from row " << c.startRow;
        EXPECT_EQ(countBeads(field.backKind(), field.cellCount), 1);
        EXPECT_EQ(drawsTaken(), c.draws) << "from row " << c.startRow;
    }
}

// A bead at (50, 142) resting on the bottom row: it slides down-right first, down-left only when
// its left side is open too, and never into the wall.
TEST_F(Gravity, RestingBeadsSlideRightBeforeLeft) {
    struct Case { int32_t x; bool left, belowLeft, belowRight; int32_t endX, endY; };
    for (const Case c : {Case{50, false, false, false, 51, kBottom}, Case{50, false, false, true, 49, kBottom},
                         Case{50, true, false, true, 50, kBottom - 1}, Case{50, false, true, true, 50, kBottom - 1},
                         Case{95, false, true, false, 95, kBottom - 1}, Case{0, false, false, true, 0, kBottom - 1}}) {
        field.reset();
        putBead(c.x, kBottom - 1, 9);
        putBead(c.x, kBottom, 1);
        if (c.left) putBead(c.x - 1, kBottom - 1, 2);
        if (c.belowLeft) putBead(c.x - 1, kBottom, 3);
        if (c.belowRight) putBead(c.x + 1, kBottom, 4);
        nextDrawIs(0);  // a left bead over an open cell lands after this one; it then falls straight
        field.gravityStep();
        EXPECT_EQ(backHueAt(c.endX, c.endY), 9) << "bead at x " << c.x << " left " << c.left;
        EXPECT_TRUE(holdsBead(backKindAt(c.endX, c.endY)));
    }
}

// Landing case: a bead at (60, 141) over the gap (60, 142), with a full bottom row. A stacked side
// is a bead beside it and one diagonally below; the random bits pick who takes the gap.
TEST_F(Gravity, SlideChoiceDecidesWhoTakesTheGap) {
    struct Case { bool right, left; uint32_t bits; int32_t gapFilledFrom; };
    for (const Case c : {Case{false, false, 7, 0}, Case{true, false, 2, 0}, Case{true, false, 3, 1},
                         Case{true, false, 7, 1}, Case{false, true, 2, 0}, Case{false, true, 3, -1},
                         Case{true, true, 1, 0}, Case{true, true, 2, 1}, Case{true, true, 4, 1},
                         Case{true, true, 5, -1}, Case{true, true, 7, -1}}) {
        field.reset();
        for (int32_t x = 0; x < field.width; ++x) putBead(x, kBottom, 0);
        putBead(60, 141, 50);
        if (c.right) putBead(61, 141, 51), putBead(61, 142, 0), putBead(62, 142, 0);
        if (c.left) putBead(59, 141, 49), putBead(59, 142, 0);
        const int32_t draws = drawsTaken();
        nextDrawIs(0xABCDEF00u | c.bits);  // only the low three bits may matter
        field.gravityStep();
        EXPECT_EQ(drawsTaken(), draws + 1);
        EXPECT_EQ(backHueAt(60, 142), 50 + c.gapFilledFrom) << "right " << c.right << " left " << c.left
                                                            << " bits " << c.bits;
        if (c.gapFilledFrom == 1 && !c.left) {
            EXPECT_EQ(backHueAt(59, 142), 50);  // then it slid down-left
        }
    }
}

TEST_F(Gravity, BeadsFallIntoCarvedGapsOfTheBottomWall) {
    const int32_t lastRow = field.gridIndex(10, kBottom) + 2 * field.stride();
    field.backKind()[lastRow - field.stride()] = kEmpty;
    field.backKind()[lastRow] = kEmpty;
    putBead(10, kBottom - 1, 33);
    field.gravityStep();
    EXPECT_EQ(field.backHue()[lastRow], 33);
    EXPECT_TRUE(holdsBead(field.backKind()[lastRow]));
}

}  // namespace
}  // namespace qv
