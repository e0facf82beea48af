// Runs the field's whole frame sequence headlessly, in the game's order, and checks what a player
// would notice: pours end on time, beads neither vanish nor appear except under a sparkle, walls
// hold, colours blend and sparkles arise where contrasting hues meet.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "field_fixture.h"

namespace qv {
namespace {

class FieldRun : public testing::ReadyField {
protected:
    void pourAt(int32_t x, int32_t y, int32_t hue) {
        field.pendingX = x, field.pendingY = y, field.pourHue = hue;
        field.pouring = true, field.pourCount = 0, field.pourLimit = 300;
        for (int32_t f = 0; f < 200 && field.pouring && !HasFatalFailure(); ++f) frame();
    }
    void frames(int32_t count) {
        for (int32_t f = 0; f < count && !HasFatalFailure(); ++f) frame();
    }

    // One frame, checking each step's promise: pour adds what it counts, gravity conserves,
    // diffusion copies every kind, carving only empties, the side and top walls stay.
    void frame() {
        field.pourX = field.pendingX, field.pourY = field.pendingY;
        const int32_t beadsBefore = countBeads(field.backKind(), field.cellCount);
        const int32_t countBefore = field.pourCount;
        if (field.pouring) field.pouring = field.pour();
        beadsPoured += field.pourCount - countBefore;
        field.gravityStep();
        ASSERT_EQ(countBeads(field.backKind(), field.cellCount), beadsBefore + field.pourCount - countBefore);
        field.diffuse();
        const std::vector<uint8_t> beforeCarve(field.frontKind(), field.frontKind() + field.cellCount);
        field.carve();
        sparkleFrames += field.liveSparkles > 0 ? 1 : 0;
        const int32_t stride = field.stride();
        for (int32_t i = 0; i < field.cellCount; ++i) {
            const int32_t row = i / stride, column = i % stride;
            const uint8_t kind = field.frontKind()[i];
            if (row >= 2 && row < field.height + 2 && column >= 2 && column < field.width + 2) {
                ASSERT_EQ(beforeCarve[i], field.backKind()[i]) << "diffusion changed a kind";
                if (holdsBead(kind)) {
                    ASSERT_LT(field.frontHue()[i], kHueCount);
                }
            } else if (row < field.height + 2) {
                ASSERT_EQ(kind, kWall) << "side or top wall at row " << row << " column " << column;
            }
            ASSERT_TRUE(kind == beforeCarve[i] || kind == kEmpty) << "carving may only empty cells";
        }
        field.front = 1 - field.front;
    }

    int32_t beadsPoured = 0;
    int32_t sparkleFrames = 0;
};

TEST_F(FieldRun, APourEndsAfterExactlyThreeHundredBeads) {
    pourAt(48, 40, 70);
    EXPECT_FALSE(field.pouring);
    EXPECT_EQ(beadsPoured, 300);
    frames(5);
    EXPECT_EQ(countBeads(field.backKind(), field.cellCount), 300);
}

TEST_F(FieldRun, ContrastingPoursBlendIntoIntermediateHues) {
    pourAt(30, 120, 0);
    pourAt(60, 120, 40);
    frames(200);
    std::set<int> between;
    for (int32_t i = 0; i < field.cellCount; ++i) {
        const int hue = field.backHue()[i];
        if (holdsBead(field.backKind()[i]) && hue > 0 && hue < 40) between.insert(hue);
    }
    EXPECT_GT(between.size(), 10u);
}

TEST_F(FieldRun, SparklesAriseWhereContrastingHuesMeetAndCarveThePile) {
    for (const int32_t y : {100, 80, 60}) {  // layers of hues half the ring apart, side by side too
        for (const int32_t x : {20, 48, 76}) {
            pourAt(x, y, ((x + y) / 4 % 2) * 64);
            frames(10);
        }
    }
    frames(100);
    EXPECT_GT(sparkleFrames, 0);
    EXPECT_LT(countBeads(field.backKind(), field.cellCount), beadsPoured);
}

TEST_F(FieldRun, RandomPoursAllOverKeepEveryPromise) {
    for (int32_t round = 0; round < 25 && !HasFatalFailure(); ++round) {
        const uint32_t r = sharedRandom().next();
        pourAt(static_cast<int32_t>(8 + r % 81), static_cast<int32_t>(10 + (r >> 8) % 125),
               static_cast<int32_t>((r >> 16) & 127));
    }
    frames(200);
    EXPECT_GT(beadsPoured, 0);
}

}  // namespace
}  // namespace qv
