#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "field_fixture.h"

namespace qv {
namespace {

using Gravity = testing::ReadyField;

constexpr int32_t kBottom = 143;  // lowest visible row

struct FallCase {
    int32_t startRow;
    std::vector<int32_t> firstRows;  // rows after the first frames
    int32_t landingDraws;            // draws when the last free cell is a single one
};

std::ostream& operator<<(std::ostream& out, const FallCase& c) { return out << "from row " << c.startRow; }

class GravityFall : public testing::ReadyField, public ::testing::WithParamInterface<FallCase> {};

TEST_P(GravityFall, ALoneBeadFallsThreeRowsAFrameAndRestsOnTheBottomRow) {
    const FallCase c = GetParam();
    putBead(30, c.startRow, 17, 4);
    std::vector<int32_t> rows;
    for (int frame = 0; frame < 60; ++frame) {
        field.gravityStep();
        for (int32_t y = 0; y < field.height; ++y) {
            if (holdsBead(backKindAt(30, y))) {
                rows.push_back(y);
            }
        }
    }
    ASSERT_EQ(rows.size(), 60u);
    EXPECT_TRUE(std::equal(c.firstRows.begin(), c.firstRows.end(), rows.begin()));
    EXPECT_EQ(rows.back(), kBottom);
    EXPECT_EQ(backHueAt(30, kBottom), 17);
    EXPECT_EQ(backKindAt(30, kBottom), 4);
    EXPECT_EQ(countBeads(field.backKind(), field.cellCount), 1);
    EXPECT_EQ(drawsTaken(), c.landingDraws);
}

// From row 0 the last move is 141 -> 143 (two free cells); from row 1 it ends 139 -> 142 -> landing.
INSTANTIATE_TEST_SUITE_P(StartRows, GravityFall,
                         ::testing::Values(FallCase{0, {3, 6, 9}, 0}, FallCase{1, {4, 7, 10}, 1},
                                           FallCase{140, {143, 143}, 0}, FallCase{142, {143, 143}, 1}));

TEST_F(Gravity, AStackFallsAsABlock) {
    for (int32_t y = 10; y < 15; ++y) {
        putBead(20, y, static_cast<uint8_t>(y));
    }
    field.gravityStep();
    for (int32_t y = 13; y < 18; ++y) {
        EXPECT_EQ(backHueAt(20, y), y - 3);
        EXPECT_TRUE(holdsBead(backKindAt(20, y)));
    }
    EXPECT_EQ(countBeads(field.backKind(), field.cellCount), 5);
    EXPECT_EQ(drawsTaken(), 0);
}

TEST_F(Gravity, BottomRowBeadsNeverMove) {
    putBead(40, kBottom, 1);
    putBead(41, kBottom, 2);
    putBead(41, kBottom - 1, 3);
    field.gravityStep();
    EXPECT_EQ(backHueAt(40, kBottom), 1);
    EXPECT_EQ(backHueAt(41, kBottom), 2);
    EXPECT_EQ(backHueAt(42, kBottom), 3);  // the bead above them slid down-right
    EXPECT_EQ(countBeads(field.backKind(), field.cellCount), 3);
}

// A bead at (50, 142) resting on the bottom row, with some of its neighbours filled.
struct SlideCase {
    bool left, belowLeft, belowRight;
    int32_t endDx;  // column offset where it ends in the bottom row
    bool stays;
};

std::ostream& operator<<(std::ostream& out, const SlideCase& c) {
    return out << "left " << c.left << " below-left " << c.belowLeft << " below-right " << c.belowRight;
}

class GravitySlide : public testing::ReadyField, public ::testing::WithParamInterface<SlideCase> {};

TEST_P(GravitySlide, RestingBeadSlidesRightBeforeLeft) {
    const SlideCase c = GetParam();
    const int32_t x = 50, y = kBottom - 1;
    putBead(x, y, 9);
    putBead(x, kBottom, 1);
    if (c.left) putBead(x - 1, y, 2);
    if (c.belowLeft) putBead(x - 1, kBottom, 3);
    if (c.belowRight) putBead(x + 1, kBottom, 4);
    nextDrawIs(0);  // a left bead over an open cell lands after this one; it then falls straight
    field.gravityStep();
    if (c.stays) {
        EXPECT_EQ(backHueAt(x, y), 9);
        EXPECT_TRUE(holdsBead(backKindAt(x, y)));
    } else {
        EXPECT_EQ(backKindAt(x, y), kEmpty);
        EXPECT_EQ(backHueAt(x + c.endDx, kBottom), 9);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, GravitySlide,
                         ::testing::Values(SlideCase{false, false, false, 1, false},  // both open: right wins
                                           SlideCase{true, false, false, 1, false},   // left bead is no matter
                                           SlideCase{false, false, true, -1, false},  // only left open
                                           SlideCase{true, false, true, 0, true},     // left side has a bead
                                           SlideCase{false, true, true, 0, true}));   // both diagonals full

TEST_F(Gravity, EdgeColumnsNeverSlideIntoTheWall) {
    putBead(0, kBottom - 1, 7);
    putBead(0, kBottom, 1);
    putBead(1, kBottom, 1);
    putBead(95, kBottom - 1, 8);
    putBead(95, kBottom, 1);
    putBead(94, kBottom, 1);
    field.gravityStep();
    EXPECT_EQ(backHueAt(0, kBottom - 1), 7);
    EXPECT_EQ(backHueAt(95, kBottom - 1), 8);
    EXPECT_EQ(field.backKind()[field.gridIndex(0, kBottom) - 1], kWall);
    EXPECT_EQ(field.backKind()[field.gridIndex(95, kBottom) + 1], kWall);
}

// Landing case: a bead at (60, 141) with the gap (60, 142) below it and a full bottom row.
struct LandingCase {
    bool rightStacked, leftStacked;
    uint32_t randomBits;
    int32_t gapFilledFrom;  // column offset of the bead that ends in the gap (0: the bead itself)
};

std::ostream& operator<<(std::ostream& out, const LandingCase& c) {
    return out << "right stacked " << c.rightStacked << " left stacked " << c.leftStacked << " bits " << c.randomBits;
}

class GravityLanding : public testing::ReadyField, public ::testing::WithParamInterface<LandingCase> {
protected:
    void fillBottomRow() {
        for (int32_t x = 0; x < field.width; ++x) putBead(x, kBottom, 0);
    }
};

TEST_P(GravityLanding, SlideChoiceDecidesWhoTakesTheGap) {
    const LandingCase c = GetParam();
    const int32_t x = 60, y = kBottom - 2;
    fillBottomRow();
    putBead(x, y, 50);
    // A stacked side: a bead beside and one diagonally below, held in place by the row under it.
    if (c.rightStacked) putBead(x + 1, y, 51), putBead(x + 1, y + 1, 0), putBead(x + 2, y + 1, 0);
    if (c.leftStacked) putBead(x - 1, y, 49), putBead(x - 1, y + 1, 0);
    nextDrawIs(0xABCDEF00u | c.randomBits);  // only the low three bits may matter
    field.gravityStep();
    EXPECT_EQ(drawsTaken(), 1);
    EXPECT_EQ(backHueAt(x, y + 1), 50 + c.gapFilledFrom);
    if (c.gapFilledFrom != 0) {
        EXPECT_EQ(backKindAt(x + c.gapFilledFrom, y), kEmpty);
    }
}

INSTANTIATE_TEST_SUITE_P(Choices, GravityLanding,
                         ::testing::Values(LandingCase{false, false, 7, 0}, LandingCase{true, false, 2, 0},
                                           LandingCase{true, false, 3, 1}, LandingCase{true, false, 7, 1},
                                           LandingCase{false, true, 2, 0}, LandingCase{false, true, 3, -1},
                                           LandingCase{false, true, 7, -1}, LandingCase{true, true, 1, 0},
                                           LandingCase{true, true, 2, 1}, LandingCase{true, true, 4, 1},
                                           LandingCase{true, true, 5, -1}, LandingCase{true, true, 7, -1}));

TEST_F(Gravity, AfterTheRightNeighbourTakesTheGapTheBeadSlidesDownLeft) {
    const int32_t x = 60, y = kBottom - 2;
    for (int32_t column = 0; column < field.width; ++column) putBead(column, kBottom, 0);
    putBead(x, y, 50);
    putBead(x + 1, y, 51), putBead(x + 1, y + 1, 0), putBead(x + 2, y + 1, 0);
    nextDrawIs(5);
    field.gravityStep();
    EXPECT_EQ(backHueAt(x, y + 1), 51);
    EXPECT_EQ(backHueAt(x - 1, y + 1), 50);
    EXPECT_EQ(backKindAt(x, y), kEmpty);
    EXPECT_EQ(backKindAt(x + 1, y), kEmpty);
}

TEST_F(Gravity, BeadsFallIntoCarvedGapsOfTheBottomWall) {
    const int32_t firstWallRow = field.gridIndex(10, kBottom) + field.stride();
    const int32_t lastWallRow = firstWallRow + field.stride();
    field.backKind()[firstWallRow] = kEmpty;
    field.backKind()[lastWallRow] = kEmpty;
    putBead(10, kBottom - 1, 33);
    field.gravityStep();
    EXPECT_EQ(field.backHue()[lastWallRow], 33);
    EXPECT_TRUE(holdsBead(field.backKind()[lastWallRow]));
    EXPECT_EQ(drawsTaken(), 0);
}

TEST_F(Gravity, AnEmptyFieldStaysUnchangedAndDrawsNothing) {
    const std::vector<uint8_t> before(field.backKind(), field.backKind() + field.cellCount);
    field.gravityStep();
    EXPECT_TRUE(std::equal(before.begin(), before.end(), field.backKind()));
    EXPECT_EQ(drawsTaken(), 0);
}

}  // namespace
}  // namespace qv
