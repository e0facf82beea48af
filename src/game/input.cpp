#include <algorithm>

#include "app/boxes.h"
#include "game/frame_columns.h"
#include "game/hue_draw.h"
#include "game/sand_game.h"
#include "replay/replay_recorder.h"

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

void SandGame::recordInto(replay::ReplayRecorder* recorder) {
    recorder_ = recorder;
    if (recorder != nullptr) {
        recorder->takeColumnsFrom([this](int32_t framesRun) { return frameColumns(framesRun, *this); });
    }
}

// Every mouse event the shells deliver, and every one a replay delivers, passes through these
// operations; a recording sees them here with their full positions.
void SandGame::record(replay::MouseAction action, int32_t mouseX, int32_t mouseY, bool changedNothing) {
    if (recorder_ != nullptr) {
        recorder_->record(action, mouseX, mouseY, changedNothing);
    }
}

void SandGame::onMouseMove(int32_t mouseX, int32_t mouseY) {
    const int32_t wasX = field.pendingX;
    const int32_t wasY = field.pendingY;
    setPendingCell(mouseX, mouseY);
    // A move sets the pending cell and nothing else: one that leaves the cell where it was changes nothing.
    record(replay::MouseAction::Move, mouseX, mouseY, field.pendingX == wasX && field.pendingY == wasY);
}

void SandGame::onLButtonDown(int32_t mouseX, int32_t mouseY) {
    record(replay::MouseAction::LeftDown, mouseX, mouseY);
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

void SandGame::onRButtonDown(int32_t mouseX, int32_t mouseY) {
    record(replay::MouseAction::RightDown, mouseX, mouseY);
    scoreState.gameOver = true;
}

void SandGame::onLButtonUp(int32_t mouseX, int32_t mouseY) { record(replay::MouseAction::LeftUp, mouseX, mouseY); }

void SandGame::onRButtonUp(int32_t mouseX, int32_t mouseY) { record(replay::MouseAction::RightUp, mouseX, mouseY); }

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
