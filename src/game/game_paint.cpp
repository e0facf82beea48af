#include <algorithm>
#include <vector>

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
    const bool intoBackBuffer = &dc.target() == &backBuffer && backBuffer.bits == hudShownIn;
    std::vector<HudLine> drawn;
    for (HudLine& line : scoreDisplayLines(scoreState)) {
        line.text.resize(std::min(line.count, line.text.size()));
        line.count = line.text.size();
        if (!(intoBackBuffer && stillShown(line))) {
            dc.textOut(line.x, line.y, line.text, line.count);
            // Lines that reach into the field are drawn over again after the frame has repainted them.
            composer.markWritten(line.x, line.y, kClientWidth, kHudLineHeight);
            if (&dc.target() == &backBuffer) {
                noteRowsWritten(line.y, kHudLineHeight);
            }
        }
        drawn.push_back(std::move(line));
    }
    if (&dc.target() == &backBuffer) {
        hudShown = std::move(drawn);
        hudShownIn = backBuffer.bits;
    }
}

std::vector<RowSpan> SandGame::takeWrittenRows() {
    // Spans this close together are shown as one: a window update of its own costs more than the
    // few rows between them.
    constexpr int32_t kJoinGap = 16;
    trackRowsOf(backBuffer);
    return changedRows.take(kJoinGap);
}

bool SandGame::stillShown(const HudLine& line) const {
    // Frames draw only into the field's rectangle, so a line above or below it stays as it was
    // drawn until a restart blacks the back buffer out.
    const bool clearOfField = line.y + kHudLineHeight <= field.originY() || line.y >= field.originY() + 4 * field.height;
    return clearOfField && std::any_of(hudShown.begin(), hudShown.end(), [&](const HudLine& shown) {
               return shown.x == line.x && shown.y == line.y && shown.text == line.text;
           });
}

}  // namespace qv
