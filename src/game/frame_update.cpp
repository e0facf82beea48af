#include "app/boxes.h"
#include "game/sand_game.h"

namespace qv {

int SandGame::onFrame() {
    field.advance();
    scoreState.scoreFrame(field.liveSparkles);

    layers[1].draw();
    field.render();
    drawCursor();
    invalidate();
    return 1;
}

void SandGame::drawCursor() {
    // The top-left pixel of the pour cell's tile; frame and square are both centred on its tile.
    const int32_t px = field.originX() + 4 * field.pourX;
    const int32_t py = field.originY() + 4 * field.pourY;
    frameBox(backBuffer, px - 24, py - 24, 53, 53, kGrey);
    fillBox(backBuffer, px - 6, py - 6, 17, 17, nextHueColour());
}

uint32_t SandGame::nextHueColour() const {
    // The second row's first pixel of the lightest bead shade: a bright sample of the hue.
    constexpr int32_t kCursorKind = 5;
    constexpr int32_t kSamplePixel = kTileRowBytes;
    const uint8_t* pixel = field.tiles.data() + tileOffset(nextHue, kCursorKind) + kSamplePixel;
    const uint32_t blue = pixel[0];
    const uint32_t green = pixel[1];
    const uint32_t red = pixel[2];
    return red | (green << 8) | (blue << 16);
}

}  // namespace qv
