#include "app/font.h"
#include "app/messages.h"
#include "game/sand_game.h"
#include "game/score_display.h"

namespace qv {

int SandGame::onMessage(uint32_t message, uint64_t wParam, int64_t lParam) {
    if (message == kPaintMessage) {
        return onPaint();
    }
    return dispatchMouse(message, wParam, lParam) != 0 ? 1 : 0;
}

void SandGame::onDraw(DrawContext& dc) {
    dc.selectFont(scoreState.hudFont.get());
    for (const HudLine& line : scoreDisplayLines(scoreState)) {
        dc.textOut(line.x, line.y, line.text, line.count);
        // Lines that reach into the field are drawn over again after the frame has repainted them.
        composer.markWritten(line.x, line.y, kClientWidth, kHudLineHeight);
    }
}

}  // namespace qv
