#include "game_fixture.h"

namespace qv {
namespace {

using Input = testing::StartedGame;

TEST_F(Input, MousePositionsMapToClampedCursorCells) {
    struct Case {
        int32_t x, y, cellX, cellY;
    };
    const Case cases[] = {
        {200, 300, 42, 67}, {0, 0, 8, 10},     {445, 637, 88, 134}, {31, 50, 8, 10},
        {387, 300, 88, 67}, {388, 300, 88, 67}, {-70000, 2000000000, 8, 134},
    };
    for (const Case& c : cases) {
        game->onMouseMove(c.x, c.y);
        EXPECT_EQ(game->field.pendingX, c.cellX) << "x " << c.x;
        EXPECT_EQ(game->field.pendingY, c.cellY) << "y " << c.y;
    }
}

TEST_F(Input, APressPoursTheShownHueAndAPressDuringThePourOnlyMovesTheCursor) {
    const int32_t shownHue = game->nextHue;
    Mt19937 expected = sharedRandom();
    game->onLButtonDown(200, 300);
    EXPECT_TRUE(game->field.pouring);
    EXPECT_EQ(game->field.pourHue, shownHue);
    EXPECT_EQ(game->field.pourLimit, 300);
    EXPECT_EQ(game->nextHue, static_cast<int32_t>(expected.next() & 127)) << "one draw for the next hue";

    game->onFrame();
    const int32_t placed = game->field.pourCount;
    const int32_t next = game->nextHue;
    game->onLButtonDown(100, 100);
    EXPECT_EQ(game->field.pourHue, shownHue);
    EXPECT_EQ(game->field.pourCount, placed);
    EXPECT_EQ(game->nextHue, next);
    EXPECT_EQ(game->field.pendingX, 17);
    EXPECT_EQ(game->field.pendingY, 17);
}

TEST_F(Input, RightPressEndsTheGameButThePourRunsToItsEnd) {
    game->onLButtonDown(200, 300);
    game->onRButtonDown(0, 0);
    EXPECT_TRUE(game->scoreState.gameOver);
    for (int frames = 0; game->field.pouring && frames < 100; ++frames) {
        game->onFrame();
    }
    EXPECT_EQ(game->field.pourCount, 300);
}

TEST_F(Input, LeftPressOnTheEndedGameRestartsWithoutPouring) {
    game->onLButtonDown(200, 300);
    for (int i = 0; i < 20; ++i) {
        game->onFrame();
    }
    game->scoreState.score = 77;
    game->onRButtonDown(0, 0);
    Mt19937 expected = sharedRandom();
    game->onLButtonDown(300, 400);

    EXPECT_FALSE(game->scoreState.gameOver);
    EXPECT_EQ(game->scoreState.score, 0);
    EXPECT_FALSE(game->field.pouring);
    EXPECT_EQ(game->field.pendingX, 48) << "the press's position is not used";
    EXPECT_EQ(game->field.pendingY, 72);
    EXPECT_EQ(game->nextHue, static_cast<int32_t>(expected.next() & 127));
    for (int32_t cell = 0; cell < game->field.cellCount; ++cell) {
        ASSERT_FALSE(holdsBead(game->field.kind[0][cell]) || holdsBead(game->field.kind[1][cell]));
    }
    // The margins with the end-of-game lines are black again, like the rest of the back buffer.
    const BackBuffer& buffer = game->backBuffer;
    for (int32_t i = 0; i < buffer.rowBytes() * buffer.height; ++i) {
        ASSERT_EQ(buffer.bits[i], 0) << "byte " << i;
    }
}

}  // namespace
}  // namespace qv
