#include "app/boxes.h"
#include "app/core_app.h"
#include "app/font.h"

namespace qv {

namespace {

// The colour a bare window shows: what the overlay is drawn on when there is no back buffer.
constexpr uint32_t kWindowColour = 0xFFFFFF;

}  // namespace

// The overlay goes into the back buffer over whatever the last frame left there, and then the rows
// written since the last paint are copied; the window keeps the others as they were shown.
int CoreApp::onPaint() {
    if (backBuffer.exists()) {
        DrawContext context(backBuffer);
        onDraw(context);
        presentRows(backBuffer, takeWrittenRows());
        return 1;
    }
    // No back buffer: the overlay is drawn on a picture of the bare client area, shown as it is.
    const int32_t width = window != nullptr ? windowSpec.clientWidth : 0;
    const int32_t height = window != nullptr ? windowSpec.clientHeight : 0;
    BackBuffer bare;
    if (bare.createBackBuffer(width, height, 0) != 0) {
        fillBox(bare, 0, 0, width, height, kWindowColour);
    }
    DrawContext context(bare);
    onDraw(context);
    present(bare);
    return 1;
}

}  // namespace qv
