#pragma once

#include <cstdint>

#include "image/picture_view.h"

namespace qv {

// Where every Drawable writes its pixels: a 24-bit picture stored bottom-up, blue-green-red, so
// pixel (x, y) with y from the top starts at byte (height - 1 - y) * stride + 3 * x.
struct FrameTarget {
    uint8_t* pixels = nullptr;
    int32_t stride = 0;  // bytes per row
    int32_t height = 0;  // rows

    // The same picture as a view; it has no width of its own, so a row is stride bytes of whole pixels.
    PictureView view() const { return {pixels, stride / 3, height, stride}; }
};

// The one frame target of the process; the game points it at the back buffer during start-up.
extern FrameTarget frameTarget;

}  // namespace qv
