#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "field_fixture.h"

namespace qv {
namespace {

class Carve : public testing::ReadyField {
protected:
    // Beads in every front cell, walls included, so every emptied cell shows.
    void SetUp() override {
        ReadyField::SetUp();
        std::fill(field.frontKind(), field.frontKind() + field.cellCount, kFirstBead);
        std::fill(field.frontHue(), field.frontHue() + field.cellCount, 42);
    }
    std::set<int32_t> carveOnce() {
        const std::vector<uint8_t> before(field.frontKind(), field.frontKind() + field.cellCount);
        field.carve();
        std::set<int32_t> emptied;
        for (int32_t i = 0; i < field.cellCount; ++i) {
            if (before[i] != kEmpty && field.frontKind()[i] == kEmpty) emptied.insert(i);
        }
        return emptied;
    }
};

TEST_F(Carve, EachCountdownEmptiesItsShapeAndMovesAsThePatternSays) {
    using Offsets = std::vector<std::pair<int32_t, int32_t>>;  // (column, row)
    const Offsets cell{{0, 0}}, cellAndBelow{{0, 0}, {0, 1}}, block2x2{{0, 0}, {1, 0}, {0, 1}, {1, 1}},
        block3x2{{-1, 0}, {0, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};
    const std::vector<std::pair<const Offsets*, bool>> byCountdown{
        {&cell, true},          {&cellAndBelow, true},  {&block2x2, false},     {&block3x2, true},
        {&block2x2, false},     {&block2x2, false},     {&block2x2, false},     {&cellAndBelow, false},
        {&cellAndBelow, false}, {&cellAndBelow, false}, {&cellAndBelow, true},  {&cell, false},
        {&cell, false},         {&cell, false},         {&cell, false},         {&cell, false},
        {&cell, false}};  // 16: the first step empties only the sparkle's cell
    for (int32_t countdown = 0; countdown <= 16; ++countdown) {
        SetUp();
        const int32_t start = field.gridIndex(50, 70);
        field.sparkles[4] = Sparkle{start, countdown};
        std::set<int32_t> expected;
        for (const auto& [column, row] : *byCountdown[countdown].first) {
            expected.insert(start + row * field.stride() + column);
        }
        EXPECT_EQ(carveOnce(), expected) << "countdown " << countdown;
        EXPECT_EQ(field.sparkles[4].cell, byCountdown[countdown].second ? start + field.stride() : start);
        EXPECT_EQ(field.sparkles[4].countdown, countdown - 1);
        EXPECT_EQ(field.liveSparkles, 1);
        EXPECT_EQ(field.frontHue()[start], 42);  // only kinds change
    }
}

// In the last grid row a shape's lower row lies past the plane and is left out (AddressSanitizer
// would catch a write there); a move down leaves the plane and frees the slot in the same step.
TEST_F(Carve, ASparkleInTheLastRowStaysInsideThePlane) {
    for (int32_t countdown = 0; countdown <= 16; ++countdown) {
        SetUp();
        const int32_t cell = field.cellCount - 2;
        field.sparkles[2] = Sparkle{cell, countdown};
        const std::set<int32_t> emptied = carveOnce();
        EXPECT_TRUE(emptied.count(cell)) << "countdown " << countdown;
        EXPECT_LT(*emptied.rbegin(), field.cellCount);
        const bool movesDown = countdown == 0 || countdown == 1 || countdown == 3 || countdown == 10;
        EXPECT_EQ(field.sparkles[2].countdown, movesDown ? -1 : countdown - 1) << "countdown " << countdown;
        EXPECT_EQ(field.liveSparkles, 1);
    }
}

}  // namespace
}  // namespace qv
