#pragma once

#include <cstdint>
#include <vector>

#include "app/changed_rows.h"

namespace qv {
class BackBuffer;
}

namespace qv::web {

// What the canvas shows, in the order a canvas takes pixels: top row first, four bytes a pixel in
// red, green, blue, alpha order. It is kept from one paint to the next, so that a paint converts
// only the rows the picture changed, and the page puts only those on the canvas.
class CanvasPicture {
public:
    // The canvas has lost what it showed (it was made anew, or the browser dropped its pixels):
    // the next update converts and reports every row.
    void forget() { whole_ = true; }

    // Brings the canvas rows that show the picture's rows `written` up to date (picture rows,
    // counted from the top; the canvas shows the picture from its (srcX, srcY) on) and returns the
    // canvas rows that changed. Canvas pixels with no picture pixel are black. A new canvas size,
    // a new picture offset or a forgotten canvas converts every row.
    std::vector<RowSpan> update(const BackBuffer& picture, int32_t width, int32_t height,
                                const std::vector<RowSpan>& written);

    const uint8_t* pixels() const { return rgba_.data(); }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }

private:
    void resize(int32_t width, int32_t height);
    void convertRow(const BackBuffer& picture, int32_t row);

    std::vector<uint8_t> rgba_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t srcX_ = 0;
    int32_t srcY_ = 0;
    bool whole_ = true;
};

}  // namespace qv::web
