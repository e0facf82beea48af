#include "app/boxes.h"
#include <vector>

#include "game/sand_game.h"
#include "replay/replay_recorder.h"

namespace qv {

int SandGame::onFrame() {
    playWatchedEvents();
    field.advance();
    scoreState.scoreFrame(field.liveSparkles);

    // The same bytes as drawing the picture and then rendering the field, drawn only where they changed.
    composer.compose(field, layers[1]);
    const std::vector<uint8_t>& tileRowsDrawn = composer.tileRowsDrawn();
    for (std::size_t row = 0; row < tileRowsDrawn.size(); ++row) {
        if (tileRowsDrawn[row] != 0) {
            noteRowsWritten(field.originY() + 4 * static_cast<int32_t>(row), 4);
        }
    }
    drawCursor();
    invalidate();
    ++framesRun_;
    if (recorder_ != nullptr) {
        recorder_->frameRan();
    }
    return 1;
}

void SandGame::drawCursor() {
    // The top-left pixel of the pour cell's tile; frame and square are both centred on its tile.
    const int32_t px = field.originX() + 4 * field.pourX;
    const int32_t py = field.originY() + 4 * field.pourY;
    constexpr int32_t kFrameSide = 53;
    constexpr int32_t kSquareSide = 17;
    const int32_t frameLeft = px - 24;
    const int32_t frameTop = py - 24;
    frameBox(backBuffer, frameLeft, frameTop, kFrameSide, kFrameSide, kGrey);
    fillBox(backBuffer, px - 6, py - 6, kSquareSide, kSquareSide, nextHueColour());
    // The next frame puts back what lay under the four sides of the frame and the square.
    composer.markWritten(frameLeft, frameTop, kFrameSide, 1);
    composer.markWritten(frameLeft, frameTop + kFrameSide - 1, kFrameSide, 1);
    composer.markWritten(frameLeft, frameTop, 1, kFrameSide);
    composer.markWritten(frameLeft + kFrameSide - 1, frameTop, 1, kFrameSide);
    composer.markWritten(px - 6, py - 6, kSquareSide, kSquareSide);
    noteRowsWritten(frameTop, kFrameSide);
}

void SandGame::noteRowsWritten(int32_t top, int32_t height) {
    trackRowsOf(backBuffer);
    changedRows.add(top, height);
}

void SandGame::trackRowsOf(const BackBuffer& picture) {
    // A new back buffer (or the first frame) has shown nothing yet.
    if (changedRows.height() != picture.height) {
        changedRows.reset(picture.height);
    }
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
