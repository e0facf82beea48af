// Runs the field's whole frame sequence headlessly, in the game's order, and checks what a player
// would notice: pours end on time, beads neither vanish nor appear except under a sparkle, walls
// hold, colours blend and sparkles arise where contrasting hues meet.
#include <gtest/gtest.h>

#include "field/field_planes.h"

namespace qv {

class FieldRun : public testing::ReadyField {
protected:
    // One frame of the field's own `advance`, then its promises: pouring adds what it counts and
    // gravity conserves (in the pair it edited), diffusion copies every kind and carving only
    // empties, at most six cells for each live sparkle (in the pair they wrote); the side and top
    // walls stay. Then the pairs swap, as rendering does.
    void frame() {
        if (HasFatalFailure()) return;
        const bool wasPouring = field.pouring;
        const int32_t beadsBefore = backBeads(), pourCountBefore = field.pourCount;
        field.advance();
        ASSERT_EQ(backBeads(), beadsBefore + (wasPouring ? field.pourCount - pourCountBefore : 0));
        int32_t emptied = 0;
        for (int32_t i = 0; i < field.cellCount; ++i) {
            const int32_t row = i / field.stride(), column = i % field.stride();
            const uint8_t kind = field.frontKind()[i];
            const bool interior = row >= 2 && row < field.height + 2 && column >= 2 && column < field.width + 2;
            ASSERT_TRUE(interior ? kind == field.backKind()[i] || kind == kEmpty : row >= field.height + 2 || kind == kWall)
                << "row " << row << " column " << column;
            ASSERT_TRUE(!interior || !holdsBead(kind) || field.frontHue()[i] < kHueCount);
            emptied += interior && kind != field.backKind()[i];
        }
        ASSERT_LE(emptied, 6 * field.liveSparkles) << "carving may only empty cells around sparkles";
        field.front = 1 - field.front;
    }
};

// Pours of 300 beads all over the range of the cursor, in layers of hues half the ring apart side
// by side; each must end within 200 frames.
TEST_F(FieldRun, ContrastingPoursKeepEveryPromise) {
    for (const auto& [x, y] : {std::pair{48, 40}, {0, 200}, {200, 200}, {-10, -10}, {200, 0}, {20, 100}, {48, 100},
                               {76, 100}, {20, 80}, {48, 80}, {76, 80}, {20, 60}, {48, 60}, {76, 60}}) {
        field.pendingX = x, field.pendingY = y, field.pourHue = (x + y + 1000) / 4 % 2 * 64;
        field.pouring = true, field.pourCount = 0, field.pourLimit = 300;
        for (int32_t f = 0; f < 200 && field.pouring; ++f) frame();
        EXPECT_TRUE(!field.pouring && field.pourCount == 300) << "pour at " << x << ", " << y;
        for (int32_t f = 0; f < 10; ++f) frame();
    }
    for (int32_t f = 0; f < 100; ++f) frame();
    EXPECT_GT(std::set<uint8_t>(field.backHue(), field.backHue() + field.cellCount).size(), 10u);  // blended hues
    EXPECT_LT(backBeads(), 14 * 300);  // sparkles arose and carved the pile
}

}  // namespace qv
