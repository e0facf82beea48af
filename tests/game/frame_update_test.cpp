#include <array>

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

TEST_F(FrameUpdate, StartUpPublishesTheBackBufferAndPlacesEverything) {
    EXPECT_EQ(frameTarget.pixels, game->backBuffer.bits);
    EXPECT_EQ(frameTarget.stride, 1344);
    EXPECT_EQ(frameTarget.height, 640);
    EXPECT_EQ(game->field.originX(), 32);
    EXPECT_EQ(game->field.originY(), 32);
    for (const ImageLayer& layer : game->layers) {
        EXPECT_EQ(layer.x, 32);
        EXPECT_EQ(layer.y, 32);
        EXPECT_EQ(layer.sourceWidth, 384);
        EXPECT_EQ(layer.sourceHeight, 576);
    }
    EXPECT_EQ(game->windowSpec.clientWidth, 448);
    EXPECT_EQ(game->windowSpec.clientHeight, 640);
    EXPECT_EQ(game->frameInterval, 17u);
    EXPECT_STREQ(game->title.data(), "Quorvantile");
    EXPECT_STREQ(game->className.data(), "QUORVANTILE");
    EXPECT_EQ(game->icon.width, 32);
    EXPECT_EQ(game->scoreState.score, 0);
    EXPECT_FALSE(game->scoreState.gameOver);
}

TEST_F(FrameUpdate, NextHueIsTheFirstDrawAfterSeeding) {
    Mt19937 reference;
    reference.seed(kSeed);
    EXPECT_EQ(game->nextHue, static_cast<int32_t>(reference.next() & 127));
}

TEST_F(FrameUpdate, CursorFrameAndSquareSurroundThePourCell) {
    game->onMouseMove(0, 0);  // cell (8, 10): pixel (64, 72)
    game->onFrame();
    const BackBuffer& buffer = game->backBuffer;
    const Bgr grey{128, 128, 128};
    EXPECT_EQ(pixel(buffer, 40, 48), grey);
    EXPECT_EQ(pixel(buffer, 92, 100), grey);
    EXPECT_EQ(pixel(buffer, 92, 48), grey);
    EXPECT_EQ(pixel(buffer, 66, 48), grey);
    EXPECT_NE(pixel(buffer, 41, 49), grey) << "the frame is one pixel wide";

    const uint8_t* sample = game->field.tiles.data() + tileOffset(game->nextHue, 5) + 12;
    const Bgr hue{sample[0], sample[1], sample[2]};
    EXPECT_EQ(pixel(buffer, 58, 66), hue);
    EXPECT_EQ(pixel(buffer, 74, 82), hue);
    EXPECT_NE(pixel(buffer, 75, 82), hue);
    EXPECT_NE(pixel(buffer, 58, 65), hue);
}

TEST_F(FrameUpdate, TheBackgroundCoversTheFieldAndTheMarginsStayBlack) {
    game->onFrame();
    const BackBuffer& buffer = game->backBuffer;
    const Bgr black{0, 0, 0};
    EXPECT_EQ(pixel(buffer, 31, 300), black);
    EXPECT_EQ(pixel(buffer, 416, 300), black);
    EXPECT_EQ(pixel(buffer, 200, 608), black);
    // The picture under the field is the scaled back2_sml.bmp, drawn unchanged.
    const BmpImage& picture = game->layers[1].image;
    const uint8_t* source = picture.pixels.get() + (575 - 500) * picture.rowBytes + 3 * 10;
    EXPECT_EQ(pixel(buffer, 42, 532), (Bgr{source[0], source[1], source[2]}));
}

TEST_F(FrameUpdate, PouredBeadsAppearUnderTheCursorInTheNextFrame) {
    game->onLButtonDown(200, 300);  // cell (42, 67)
    game->onFrame();
    EXPECT_GT(game->field.pourCount, 0);
    int32_t beadsNearCursor = 0;
    const uint8_t* drawn = game->field.backKind();  // the pair this frame drew
    for (int32_t y = 57; y <= 75; ++y) {
        for (int32_t x = 34; x <= 50; ++x) {
            beadsNearCursor += holdsBead(drawn[game->field.gridIndex(x, y)]) ? 1 : 0;
        }
    }
    EXPECT_EQ(beadsNearCursor, game->field.pourCount);
}

TEST_F(FrameUpdate, ScoreOnlyGrowsWhilePlayingAndFreezesWhenOver) {
    int32_t previous = 0;
    const std::array<std::array<int32_t, 2>, 4> pours{{{100, 200}, {300, 200}, {200, 250}, {150, 260}}};
    int frame = 0;
    for (const auto& at : pours) {
        game->onLButtonDown(at[0], at[1]);
        for (int i = 0; i < 120; ++i, ++frame) {
            game->onFrame();
            ASSERT_GE(game->scoreState.score, previous);
            previous = game->scoreState.score;
        }
    }
    game->onRButtonDown(0, 0);
    const ScoreState frozen = [&] {
        ScoreState copy;
        copy.score = game->scoreState.score;
        copy.combo = game->scoreState.combo;
        copy.hits = game->scoreState.hits;
        copy.bonusCountdown = game->scoreState.bonusCountdown;
        return copy;
    }();
    for (int i = 0; i < 60; ++i) {
        game->onFrame();
    }
    EXPECT_EQ(game->scoreState.score, frozen.score);
    EXPECT_EQ(game->scoreState.combo, frozen.combo);
    EXPECT_EQ(game->scoreState.hits, frozen.hits);
    EXPECT_EQ(game->scoreState.bonusCountdown, frozen.bonusCountdown);
}

}  // namespace
}  // namespace qv
