#include <algorithm>
#include <array>
#include <vector>

#include "app/font.h"
#include "game/score_display.h"
#include "game_fixture.h"

namespace qv::testing {
namespace {

using FrameUpdate = StartedGame;

// What the frames draw, pour and score is guarded by the recorded sessions (tests/tools/golden),
// which see every cell and every pixel of the back buffer; the pace and the title are not in them.
TEST_F(FrameUpdate, FramesCome17MillisecondsApartInAWindowTitledQuorvantile) {
    EXPECT_EQ(game->frameInterval, 17u);
    EXPECT_STREQ(game->title.data(), "Quorvantile");
}

using Restart = StartedGame;

// The margins around the field are in no recorded session's picture, and no frame repaints them:
// a restart blacks out the whole back buffer, and the end-of-game lines in the margins with it.
TEST_F(Restart, LeftPressOnTheEndedGameBlacksOutTheWholePicture) {
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

using Play = StartedGame;

// Play through pours, sparkles, scores set outright (the same twice, a jump, a shorter number),
// ends of the game and restarts. After every frame and paint the picture is the frame's own
// with the current lines drawn afresh on it, and every row whose bytes changed is among the rows
// handed to presenting; the first report, and those after a restart blacked everything out, hold
// every row.
TEST_F(Play, EveryPaintShowsTheCurrentLinesAndReportsEveryChangedRow) {
    const std::size_t bytes = game->backBuffer.rowBytes() * 640;
    BackBuffer fresh;
    ASSERT_TRUE(fresh.createBackBuffer(448, 640, 0));
    DrawContext context(game->backBuffer), freshContext(fresh);
    std::vector<uint8_t> before(game->backBuffer.bits, game->backBuffer.bits + bytes);
    for (int32_t frame = 0; frame < 400; ++frame) {
        if (frame % 25 == 0) game->onLButtonDown(60 + frame * 7 % 330, 100 + frame % 4 * 20);  // at 325 a restart
        if (frame == 1 || frame == 300) game->onRButtonDown(0, 0);
        if (frame == 2) game->onLButtonDown(0, 0);  // a restart that shows the same lines as before the end
        if (frame >= 100 && frame < 104) {
            game->scoreState.score = std::array{123, 123, 1234567890, 5}[frame - 100];
            game->scoreState.bonusCountdown = frame % 2 == 0 ? 0 : 7;
        }
        game->onMouseMove(40 + frame % 50 * 7, 200 + frame % 9 * 30);
        game->onFrame();
        std::copy(game->backBuffer.bits, game->backBuffer.bits + bytes, fresh.bits);
        freshContext.selectFont(game->scoreState.hudFont.get());
        for (const HudLine& line : scoreDisplayLines(game->scoreState)) freshContext.textOut(line.x, line.y, line.text, line.count);
        game->onDraw(context);
        ASSERT_TRUE(std::equal(fresh.bits, fresh.bits + bytes, game->backBuffer.bits)) << "frame " << frame;

        std::vector<bool> reported(640, false);
        for (const RowSpan& span : game->takeWrittenRows()) {
            for (int32_t y = span.top; y < span.top + span.height; ++y) reported[y] = true;
        }
        if (frame == 0 || frame == 2 || frame == 325) {
            ASSERT_EQ(std::count(reported.begin(), reported.end(), true), 640) << "frame " << frame;
        }
        for (int32_t y = 0; y < 640; ++y) {
            const uint8_t* now = game->backBuffer.pixelAt(0, y);
            const uint8_t* was = before.data() + (now - game->backBuffer.bits);
            ASSERT_TRUE(reported[y] || std::equal(now, now + game->backBuffer.rowBytes(), was)) << "frame " << frame << " row " << y;
        }
        before.assign(game->backBuffer.bits, game->backBuffer.bits + bytes);
    }
}

}  // namespace
}  // namespace qv::testing
