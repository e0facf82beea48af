#include <gtest/gtest.h>

#include <algorithm>

#include "field_fixture.h"

namespace qv {
namespace {

using Pour = testing::ReadyField;

TEST_F(Pour, FillsTheDiscUntilTheLimit) {
    putBead(48, 72, 5, kLastBead);  // an occupied cell keeps its bead and costs no draw
    field.pourX = 48, field.pourY = 72, field.pourLimit = 300, field.pourHue = 93;
    EXPECT_TRUE(field.pour());
    EXPECT_EQ(field.pourCount, 207);
    EXPECT_EQ(drawsTaken(), 207);
    EXPECT_EQ(backHueAt(48, 72), 5);
    EXPECT_EQ(backKindAt(48, 72), kLastBead);
    EXPECT_EQ(backHueAt(45, 62), 93);  // first cell of the top row (bit 5)
    EXPECT_EQ(backKindAt(44, 62), kEmpty);
    EXPECT_EQ(countBeads(field.backKind(), field.cellCount), 208);

    EXPECT_TRUE(field.pour());  // a full disc places nothing, draws nothing, and does not end the pour
    EXPECT_EQ(drawsTaken(), 207);
}

TEST_F(Pour, EndsInsideTheDiscWhenTheLimitIsReached) {
    field.pourX = 48, field.pourY = 72;  // pourLimit is 100 after reset
    EXPECT_FALSE(field.pour());
    EXPECT_EQ(drawsTaken(), 100);
    // Rows 0 to 6 hold 88 cells, then bits 0 to 11 of row 7 (visible row 69).
    EXPECT_TRUE(holdsBead(backKindAt(40 + 11, 69)));
    EXPECT_EQ(backKindAt(40 + 12, 69), kEmpty);
    EXPECT_EQ(countBeads(field.backKind(), field.cellCount), 100);
}

// The disc's outermost cells for a pour cell at or beyond the clamp limits: it never leaves the
// visible cells.
TEST_F(Pour, DiscStaysInsideTheVisibleCells) {
    struct Case { int32_t pourX, pourY, left, top, right, bottom; };
    for (const Case c : {Case{8, 10, 0, 0, 15, 15}, Case{88, 134, 80, 124, 95, 139},
                         Case{-50, -3, 0, 0, 15, 15}, Case{4000, 1000, 80, 124, 95, 139}}) {
        field.reset();
        field.pourX = c.pourX, field.pourY = c.pourY, field.pourLimit = 300;
        field.pour();
        int32_t left = 999, top = 999, right = -1, bottom = -1;
        for (int32_t y = 0; y < field.height; ++y) {
            for (int32_t x = 0; x < field.width; ++x) {
                if (!holdsBead(backKindAt(x, y))) continue;
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
        EXPECT_EQ(field.pourCount, 208);
        EXPECT_EQ((std::array{left, top, right, bottom}), (std::array{c.left, c.top, c.right, c.bottom}))
            << "pour cell " << c.pourX << ", " << c.pourY;
    }
}

}  // namespace
}  // namespace qv
