#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

#include "field_fixture.h"

namespace qv {
namespace {

using Pour = testing::ReadyField;

TEST_F(Pour, FillsTheWholeDiscInOneCallWhenTheLimitAllows) {
    field.pourX = 48;
    field.pourY = 72;
    field.pourLimit = 300;
    field.pourHue = 93;
    EXPECT_TRUE(field.pour());
    EXPECT_EQ(field.pourCount, 208);
    EXPECT_EQ(drawsTaken(), 208);
    EXPECT_EQ(countBeads(field.backKind(), field.cellCount), 208);
    EXPECT_EQ(countBeads(field.frontKind(), field.cellCount), 0);
    // Disc rows span columns pourX-8..pourX+7 and rows pourY-10..pourY+5; corners stay empty.
    EXPECT_TRUE(holdsBead(backKindAt(48, 72)));
    EXPECT_TRUE(holdsBead(backKindAt(40, 67)));
    EXPECT_TRUE(holdsBead(backKindAt(55, 67)));
    EXPECT_TRUE(holdsBead(backKindAt(45, 62)));
    EXPECT_TRUE(holdsBead(backKindAt(50, 62)));
    EXPECT_EQ(backKindAt(44, 62), kEmpty);
    EXPECT_EQ(backKindAt(51, 62), kEmpty);
    EXPECT_EQ(backKindAt(40, 62), kEmpty);
    EXPECT_EQ(backKindAt(48, 78), kEmpty);
    for (int32_t y = 62; y <= 77; ++y) {
        for (int32_t x = 40; x <= 55; ++x) {
            if (holdsBead(backKindAt(x, y))) {
                EXPECT_EQ(backHueAt(x, y), 93);
                EXPECT_LE(backKindAt(x, y), kLastBead);
            }
        }
    }
}

TEST_F(Pour, StopsInsideTheDiscWhenTheLimitIsReached) {
    field.pourX = 48;
    field.pourY = 72;  // pourLimit is 100 after reset
    EXPECT_FALSE(field.pour());
    EXPECT_EQ(field.pourCount, 100);
    EXPECT_EQ(drawsTaken(), 100);
    // Rows 0 to 6 hold 88 cells, then bits 0 to 11 of row 7 (visible row 69).
    EXPECT_TRUE(holdsBead(backKindAt(48 - 8, 69)));
    EXPECT_TRUE(holdsBead(backKindAt(48 - 8 + 11, 69)));
    EXPECT_EQ(backKindAt(48 - 8 + 12, 69), kEmpty);
    EXPECT_EQ(backKindAt(48, 70), kEmpty);
    EXPECT_EQ(countBeads(field.backKind(), field.cellCount), 100);
}

TEST_F(Pour, AFullDiscPlacesNothingAndDrawsNothing) {
    field.pourX = 48;
    field.pourY = 72;
    field.pourLimit = 1000;
    ASSERT_TRUE(field.pour());
    const int32_t draws = drawsTaken();
    EXPECT_TRUE(field.pour());
    EXPECT_EQ(field.pourCount, 208);
    EXPECT_EQ(drawsTaken(), draws);
}

TEST_F(Pour, OccupiedCellsKeepTheirBead) {
    putBead(48, 72, 5, kLastBead);
    field.pourX = 48;
    field.pourY = 72;
    field.pourLimit = 300;
    field.pourHue = 60;
    field.pour();
    EXPECT_EQ(field.pourCount, 207);
    EXPECT_EQ(backHueAt(48, 72), 5);
    EXPECT_EQ(backKindAt(48, 72), kLastBead);
}

struct DiscCorner {
    int32_t pourX, pourY;
    int32_t left, top, right, bottom;  // the disc's outermost visible cells
};

std::ostream& operator<<(std::ostream& out, const DiscCorner& c) {
    return out << "pour cell (" << c.pourX << ", " << c.pourY << ")";
}

class PourAtTheLimits : public testing::ReadyField, public ::testing::WithParamInterface<DiscCorner> {};

// Pour cells outside the input's clamp are held to it, so the disc never leaves the visible cells.
TEST_P(PourAtTheLimits, DiscStaysInsideTheVisibleCells) {
    const DiscCorner expected = GetParam();
    field.pourX = expected.pourX;
    field.pourY = expected.pourY;
    field.pourLimit = 300;
    field.pour();
    EXPECT_EQ(field.pourCount, 208);
    int32_t left = 1000, top = 1000, right = -1, bottom = -1;
    for (int32_t y = 0; y < field.height; ++y) {
        for (int32_t x = 0; x < field.width; ++x) {
            if (holdsBead(backKindAt(x, y))) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
    }
    EXPECT_EQ(left, expected.left);
    EXPECT_EQ(top, expected.top);
    EXPECT_EQ(right, expected.right);
    EXPECT_EQ(bottom, expected.bottom);
}

INSTANTIATE_TEST_SUITE_P(Corners, PourAtTheLimits,
                         ::testing::Values(DiscCorner{8, 10, 0, 0, 15, 15}, DiscCorner{88, 134, 80, 124, 95, 139},
                                           DiscCorner{-50, -3, 0, 0, 15, 15},
                                           DiscCorner{4000, 1000, 80, 124, 95, 139}));

}  // namespace
}  // namespace qv
