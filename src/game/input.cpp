#include <algorithm>

#include "app/boxes.h"
#include "game/hue_draw.h"
#include "game/sand_game.h"

namespace qv {

namespace {

// The cursor cell keeps the whole pour disc inside the visible cells.
constexpr int32_t kCursorMarginX = 8;
constexpr int32_t kCursorMarginY = 10;

// Lower bound first, then the upper one, which wins.
int32_t clampCell(int32_t cell, int32_t low, int32_t high) { return std::min(std::max(cell, low), high); }

}  // namespace

void SandGame::setPendingCell(int32_t mouseX, int32_t mouseY) {
    // Arithmetic shifts round towards minus infinity, so a pixel left of or above the field gives
    // a negative cell; 64-bit differences keep extreme positions from overflowing.
    const auto cellX = static_cast<int32_t>((int64_t{mouseX} - field.originX()) >> 2);
    const auto cellY = static_cast<int32_t>((int64_t{mouseY} - field.originY()) >> 2);
    field.pendingX = clampCell(cellX, kCursorMarginX, field.width - kCursorMarginX);
    field.pendingY = clampCell(cellY, kCursorMarginY, field.height - kCursorMarginY);
}

void SandGame::onMouseMove(int32_t mouseX, int32_t mouseY) { setPendingCell(mouseX, mouseY); }

void SandGame::onLButtonDown(int32_t mouseX, int32_t mouseY) {
    if (scoreState.gameOver) {
        restart();
        return;
    }
    setPendingCell(mouseX, mouseY);
    if (field.pouring) {
        return;  // the running pour keeps its hue and limit; the press only moves the cursor
    }
    field.pouring = true;
    field.pourCount = 0;
    field.pourLimit = kBeadsPerPour;
    field.pourHue = nextHue;
    nextHue = drawHue();
}

void SandGame::onRButtonDown(int32_t /*mouseX*/, int32_t /*mouseY*/) { scoreState.gameOver = true; }

void SandGame::restart() {
    field.reset();
    scoreState.initScore();
    nextHue = drawHue();
    // The margins around the field are never repainted by a frame: black them out, and with them
    // the end-of-game lines.
    fillBox(backBuffer, 0, 0, windowSpec.clientWidth, windowSpec.clientHeight, kBlack);
    composer.forgetAll();
    hudShown.clear();
    noteRowsWritten(0, backBuffer.height);
}

}  // namespace qv
