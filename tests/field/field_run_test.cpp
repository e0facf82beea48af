// Runs the field's whole frame sequence headlessly, as the game does, and checks what a player
// would notice: pours end on time, beads stay put in the walls' absence, colours blend, sparkles
// appear where contrasting hues meet.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "field_fixture.h"

namespace qv {
namespace {

class FieldRun : public testing::ReadyField {
protected:
    struct Pour {
        int32_t x, y, hue;
    };

    void startPour(const Pour& pour) {
        field.pendingX = pour.x;
        field.pendingY = pour.y;
        field.pouring = true;
        field.pourCount = 0;
        field.pourLimit = 300;
        field.pourHue = pour.hue;
    }

    // One frame in the game's order, checking each step's promise on the way.
    void frame() {
        field.pourX = field.pendingX;
        field.pourY = field.pendingY;
        const int32_t beadsAtStart = countBeads(field.backKind(), field.cellCount);
        const int32_t countBefore = field.pourCount;
        if (field.pouring) {
            field.pouring = field.pour();
        }
        const int32_t placed = field.pourCount - countBefore;
        beadsPoured += placed;
        field.gravityStep();
        ASSERT_EQ(countBeads(field.backKind(), field.cellCount), beadsAtStart + placed) << "gravity lost a bead";

        field.diffuse();
        for (int32_t y = 0; y < field.height; ++y) {
            for (int32_t x = 0; x < field.width; ++x) {
                ASSERT_EQ(frontKindAt(x, y), backKindAt(x, y)) << "diffusion changed a kind";
            }
        }
        const std::vector<uint8_t> beforeCarve(field.frontKind(), field.frontKind() + field.cellCount);
        field.carve();
        for (int32_t i = 0; i < field.cellCount; ++i) {
            const uint8_t now = field.frontKind()[i];
            ASSERT_TRUE(now == beforeCarve[i] || now == kEmpty) << "carving may only empty cells";
        }
        sparkleFrames += field.liveSparkles > 0 ? 1 : 0;
        checkDrawnPair();
        field.front = 1 - field.front;
        ++frames;
    }

    // What the player sees: walls intact on the sides and the top, hues on the ring.
    void checkDrawnPair() {
        const uint8_t* kinds = field.frontKind();
        const uint8_t* hues = field.frontHue();
        const int32_t stride = field.stride();
        for (int32_t row = 0; row < field.height + 2; ++row) {
            for (const int32_t column : {0, 1, stride - 2, stride - 1}) {
                ASSERT_EQ(kinds[row * stride + column], kWall) << "side wall at row " << row;
            }
        }
        for (int32_t column = 0; column < stride; ++column) {
            ASSERT_EQ(kinds[column], kWall);
            ASSERT_EQ(kinds[stride + column], kWall);
        }
        for (int32_t i = 0; i < field.cellCount; ++i) {
            if (holdsBead(kinds[i])) {
                ASSERT_LT(hues[i], kHueCount);
            }
        }
    }

    void runPour(const Pour& pour, int32_t maxFrames = 200) {
        startPour(pour);
        for (int32_t f = 0; f < maxFrames && field.pouring && !HasFatalFailure(); ++f) {
            frame();
        }
    }

    void settle(int32_t count) {
        for (int32_t f = 0; f < count && !HasFatalFailure(); ++f) {
            frame();
        }
    }

    std::set<uint8_t> visibleBeadHues() const {
        std::set<uint8_t> hues;
        for (int32_t y = 0; y < field.height; ++y) {
            for (int32_t x = 0; x < field.width; ++x) {
                if (holdsBead(backKindAt(x, y))) hues.insert(backHueAt(x, y));
            }
        }
        return hues;
    }

    int32_t beadsPoured = 0;
    int32_t sparkleFrames = 0;
    int32_t frames = 0;
};

TEST_F(FieldRun, APourEndsAfterExactlyThreeHundredBeads) {
    startPour({48, 40, 70});
    int32_t pourFrames = 0;
    while (field.pouring && pourFrames < 100) {
        frame();
        ++pourFrames;
        ASSERT_FALSE(HasFatalFailure());
    }
    EXPECT_FALSE(field.pouring);
    EXPECT_EQ(field.pourCount, 300);
    EXPECT_EQ(beadsPoured, 300);
    EXPECT_GT(pourFrames, 1);  // the disc holds 208: it takes more than one frame
    settle(5);
    EXPECT_EQ(beadsPoured, 300);
    EXPECT_EQ(countBeads(field.backKind(), field.cellCount), 300);
}

TEST_F(FieldRun, ContrastingPoursBlendIntoIntermediateHues) {
    runPour({30, 120, 0});
    runPour({60, 120, 40});
    settle(200);
    ASSERT_FALSE(HasFatalFailure());
    const std::set<uint8_t> hues = visibleBeadHues();
    const bool blended = std::any_of(hues.begin(), hues.end(), [](uint8_t h) { return h > 0 && h < 40; });
    EXPECT_TRUE(blended) << hues.size() << " hues";
}

TEST_F(FieldRun, SparklesAriseWhereContrastingHuesMeetAndCarveIntoThePile) {
    // Layers of hues half the ring apart, poured side by side and on top of each other.
    const std::vector<Pour> pours{{20, 100, 0},  {48, 100, 64}, {76, 100, 0},  {20, 80, 64},
                                  {48, 80, 0},   {76, 80, 64},  {20, 60, 0},   {48, 60, 64},
                                  {76, 60, 0},   {34, 40, 96},  {62, 40, 32}};
    for (const Pour& pour : pours) {
        runPour(pour);
        settle(10);
        ASSERT_FALSE(HasFatalFailure());
    }
    settle(100);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_GT(sparkleFrames, 0);
    const int32_t onScreen = countBeads(field.backKind(), field.cellCount);
    EXPECT_LT(onScreen, beadsPoured);  // carving took some beads away
}

TEST_F(FieldRun, ALongRunWithPoursEverywhereKeepsEveryPromise) {
    for (int32_t round = 0; round < 30 && !HasFatalFailure(); ++round) {
        const uint32_t r = sharedRandom().next();
        runPour({static_cast<int32_t>(8 + r % 81), static_cast<int32_t>(10 + (r >> 8) % 125),
                 static_cast<int32_t>((r >> 16) & 127)});
        settle(static_cast<int32_t>((r >> 24) % 8));
    }
    settle(300);
    EXPECT_GT(frames, 300);
}

}  // namespace
}  // namespace qv
