#include <algorithm>
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

using ScorePainting = StartedGame;

// Painting again leaves unchanged lines as they are and redraws the rest, so that the picture
// always equals the display of the current score drawn afresh on what the frame composed; a restart
// blacks everything out and the next paint shows the lines again.
TEST_F(ScorePainting, EveryPaintShowsTheCurrentLinesAsAFreshDrawWould) {
    const auto picture = [&] {
        return std::vector<uint8_t>(game->backBuffer.bits, game->backBuffer.bits + game->backBuffer.rowBytes() * 640);
    };
    const auto freshDraw = [&] {
        const std::vector<uint8_t> before = picture();
        BackBuffer copy;
        copy.createBackBuffer(448, 640, 0);
        std::copy(before.begin(), before.end(), copy.bits);
        DrawContext context(copy);
        context.selectFont(game->scoreState.hudFont.get());
        for (const HudLine& line : scoreDisplayLines(game->scoreState)) context.textOut(line.x, line.y, line.text, line.count);
        return std::vector<uint8_t>(copy.bits, copy.bits + copy.rowBytes() * 640);
    };
    DrawContext context(game->backBuffer);
    for (const int32_t score : {0, 0, 123, 123, 1234567890, 5}) {
        game->scoreState.score = score;
        game->scoreState.bonusCountdown = score % 2 == 0 ? 0 : 7;
        game->onFrame();
        const std::vector<uint8_t> expected = freshDraw();
        game->onDraw(context);
        ASSERT_TRUE(picture() == expected) << "score " << score;
    }
    game->onRButtonDown(0, 0);
    game->onFrame();
    std::vector<uint8_t> expected = freshDraw();
    game->onDraw(context);
    ASSERT_TRUE(picture() == expected) << "game over";
    game->onLButtonDown(100, 100);  // restart
    game->onFrame();
    expected = freshDraw();
    game->onDraw(context);
    EXPECT_TRUE(picture() == expected) << "after the restart";
}

using ChangedRowsOfPlay = StartedGame;

// Every row whose bytes a frame and its paint changed is among the rows handed to presenting,
// through pours, sparkles, the end of the game and a restart; the first report and the one after
// the restart hold every row.
TEST_F(ChangedRowsOfPlay, EveryChangedRowIsReported) {
    const std::size_t rowBytes = game->backBuffer.rowBytes();
    DrawContext context(game->backBuffer);
    std::vector<uint8_t> before(game->backBuffer.bits, game->backBuffer.bits + rowBytes * 640);
    for (int32_t frame = 0; frame < 400; ++frame) {
        if (frame % 25 == 0) game->onLButtonDown(60 + frame * 7 % 330, 100 + frame % 4 * 20);
        if (frame == 300) game->onRButtonDown(0, 0);
        game->onMouseMove(40 + frame % 50 * 7, 200 + frame % 9 * 30);
        game->onFrame();
        game->onDraw(context);
        std::vector<bool> reported(640, false);
        for (const RowSpan& span : game->takeWrittenRows()) {
            for (int32_t y = span.top; y < span.top + span.height; ++y) reported[y] = true;
        }
        if (frame == 0 || frame == 325) {  // the first frame; the click that restarts the ended game
            ASSERT_EQ(std::count(reported.begin(), reported.end(), true), 640) << "frame " << frame;
        }
        for (int32_t y = 0; y < 640; ++y) {
            const uint8_t* now = game->backBuffer.pixelAt(0, y);
            const uint8_t* was = before.data() + (now - game->backBuffer.bits);
            ASSERT_TRUE(reported[y] || std::equal(now, now + rowBytes, was)) << "frame " << frame << " row " << y;
        }
        before.assign(game->backBuffer.bits, game->backBuffer.bits + rowBytes * 640);
        if (frame == 350) game->onLButtonDown(100, 100);  // the restart
    }
}

}  // namespace
}  // namespace qv::testing
