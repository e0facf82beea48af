#include <algorithm>

#include "game_fixture.h"

// Where the cursor goes, what a press pours, when a right press ends the game and what a restart
// resets are guarded by the recorded sessions (tests/tools/golden), which see every cell and the
// field's picture. The margins around the field are not in those pictures; they are checked here.

namespace qv {
namespace {

using Input = testing::StartedGame;

// No frame repaints the margins, so a restart blacks out the whole back buffer, and the
// end-of-game lines in the margins with it.
TEST_F(Input, LeftPressOnTheEndedGameBlacksOutTheWholePicture) {
    game->onLButtonDown(200, 300);
    for (int i = 0; i < 20; ++i) {
        game->onFrame();
    }
    game->onRButtonDown(0, 0);
    game->onLButtonDown(300, 400);
    EXPECT_FALSE(game->scoreState.gameOver);
    const BackBuffer& buffer = game->backBuffer;
    EXPECT_TRUE(std::all_of(buffer.bits, buffer.bits + buffer.rowBytes() * buffer.height, [](uint8_t b) { return b == 0; }));
}

}  // namespace
}  // namespace qv
