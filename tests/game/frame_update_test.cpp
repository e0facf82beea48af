#include <algorithm>
#include <vector>

#include "app/font.h"
#include "game/score_display.h"
#include "game_fixture.h"
#include "image/frame_target.h"

namespace qv {
namespace {

using FrameUpdate = testing::StartedGame;

struct Bgr {
    uint8_t blue, green, red;
    bool operator==(const Bgr&) const = default;
};

Bgr pixel(const BackBuffer& buffer, int32_t x, int32_t y) {
    const uint8_t* p = buffer.pixelAt(x, y);
    return Bgr{p[0], p[1], p[2]};
}

TEST_F(FrameUpdate, StartUpPublishesTheBackBufferAndPlacesEverythingAt32) {
    EXPECT_EQ(frameTarget.pixels, game->backBuffer.bits);
    EXPECT_EQ(frameTarget.stride, 1344);
    EXPECT_EQ(frameTarget.height, 640);
    EXPECT_EQ(game->field.originX() + game->field.originY(), 64);
    for (const ImageLayer& layer : game->layers) {
        EXPECT_EQ(layer.x + layer.y, 64);
        EXPECT_EQ(layer.sourceWidth * layer.sourceHeight, 384 * 576);
    }
    EXPECT_EQ(game->windowSpec.clientWidth * game->windowSpec.clientHeight, 448 * 640);
    EXPECT_EQ(game->frameInterval, 17u);
    EXPECT_STREQ(game->title.data(), "Quorvantile");
    Mt19937 reference;
    reference.seed(kSeed);
    EXPECT_EQ(game->nextHue, static_cast<int32_t>(reference.next() & 127)) << "the first draw after seeding";
}

TEST_F(FrameUpdate, ComposesBackgroundThenCursorFrameAndNextHueSquare) {
    game->onMouseMove(0, 0);  // cell (8, 10): pixel (64, 72)
    game->onFrame();
    const BackBuffer& buffer = game->backBuffer;
    const Bgr grey{128, 128, 128};
    for (const auto& [x, y] : {std::pair{40, 48}, {92, 100}, {92, 48}, {66, 48}}) {
        EXPECT_EQ(pixel(buffer, x, y), grey) << x << "," << y;
    }
    EXPECT_NE(pixel(buffer, 41, 49), grey) << "the frame is one pixel wide";

    const uint8_t* sample = game->field.tiles.data() + tileOffset(game->nextHue, 5) + 12;
    const Bgr hue{sample[0], sample[1], sample[2]};
    EXPECT_EQ(pixel(buffer, 58, 66), hue);
    EXPECT_EQ(pixel(buffer, 74, 82), hue);
    EXPECT_NE(pixel(buffer, 75, 82), hue);

    // Under the field lies the scaled back2_sml.bmp, unchanged; the margins stay black.
    const BmpImage& picture = game->layers[1].image;
    const uint8_t* source = picture.pixels.get() + (575 - 500) * picture.rowBytes + 3 * 10;
    EXPECT_EQ(pixel(buffer, 42, 532), (Bgr{source[0], source[1], source[2]}));
    EXPECT_EQ(pixel(buffer, 31, 300), (Bgr{0, 0, 0}));
    EXPECT_EQ(pixel(buffer, 200, 608), (Bgr{0, 0, 0}));
}

TEST_F(FrameUpdate, PouredBeadsAppearUnderTheCursorInTheNextFrame) {
    game->onLButtonDown(200, 300);  // cell (42, 67)
    game->onFrame();
    int32_t beadsNearCursor = 0;
    const uint8_t* drawn = game->field.backKind();  // the pair this frame drew
    for (int32_t y = 57; y <= 75; ++y) {
        for (int32_t x = 34; x <= 50; ++x) {
            beadsNearCursor += holdsBead(drawn[game->field.gridIndex(x, y)]) ? 1 : 0;
        }
    }
    EXPECT_GT(game->field.pourCount, 0);
    EXPECT_EQ(beadsNearCursor, game->field.pourCount);
}

TEST_F(FrameUpdate, ScoreOnlyGrowsWhilePlayingAndFreezesWhenOver) {
    int32_t previous = 0;
    const int32_t columns[] = {60, 380, 140, 300, 220, 100, 340, 180, 260};
    for (int pour = 0; pour < 30; ++pour) {  // pours sweeping across the field, as in play
        game->onLButtonDown(columns[pour % 9], 140);
        for (int i = 0; i < 18; ++i) {
            game->onFrame();
            ASSERT_GE(game->scoreState.score, previous);
            previous = game->scoreState.score;
        }
    }
    EXPECT_GT(previous, 0) << "pours of different hues make sparkles";
    game->onRButtonDown(0, 0);
    const ScoreState& score = game->scoreState;
    const auto frozen = std::tuple{score.score, score.combo, score.hits, score.bonusCountdown};
    for (int i = 0; i < 60; ++i) {
        game->onFrame();
    }
    EXPECT_EQ(std::tuple(score.score, score.combo, score.hits, score.bonusCountdown), frozen);
}

}  // namespace
}  // namespace qv

namespace qv::testing {
namespace {

class ScorePainting : public StartedGame {};

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

}  // namespace
}  // namespace qv::testing

namespace qv::testing {
namespace {

class ChangedRowsOfPlay : public StartedGame {};

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
