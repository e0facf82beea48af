#include "web/canvas_picture.h"

#include <algorithm>
#include <cstring>

#include "app/back_buffer.h"

namespace qv::web {

namespace {

constexpr std::size_t kCanvasPixelBytes = 4;
constexpr uint8_t kOpaque = 255;

}  // namespace

void CanvasPicture::resize(int32_t width, int32_t height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    rgba_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * kCanvasPixelBytes, 0);
    for (std::size_t alpha = 3; alpha < rgba_.size(); alpha += kCanvasPixelBytes) {
        rgba_[alpha] = kOpaque;  // only the colour bytes are written after this
    }
}

std::vector<RowSpan> CanvasPicture::update(const BackBuffer& picture, int32_t width, int32_t height,
                                           const std::vector<RowSpan>& written) {
    if (width != width_ || height != height_) {
        resize(width, height);
        whole_ = true;
    }
    if (picture.srcX != srcX_ || picture.srcY != srcY_) {
        srcX_ = picture.srcX;
        srcY_ = picture.srcY;
        whole_ = true;
    }
    std::vector<RowSpan> shown;
    if (whole_) {
        shown.push_back(RowSpan{0, height_});
        whole_ = false;
    } else {
        for (const RowSpan& span : written) {
            // Picture row r is canvas row r - srcY; rows off the canvas are not shown.
            const int64_t top = std::max<int64_t>(int64_t{span.top} - srcY_, 0);
            const int64_t end = std::min<int64_t>(int64_t{span.top} + std::max(span.height, 0) - srcY_, height_);
            if (top < end) {
                shown.push_back(RowSpan{static_cast<int32_t>(top), static_cast<int32_t>(end - top)});
            }
        }
    }
    for (const RowSpan& span : shown) {
        for (int32_t row = span.top; row < span.top + span.height; ++row) {
            convertRow(picture, row);
        }
    }
    return shown;
}

// The bottom-up blue-green-red picture row becomes a top-down red-green-blue canvas row; the part
// of the row that no picture pixel covers is black.
void CanvasPicture::convertRow(const BackBuffer& picture, int32_t row) {
    uint8_t* out = rgba_.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(width_) * kCanvasPixelBytes;
    const auto blacken = [out](int64_t from, int64_t to) {
        for (int64_t x = from; x < to; ++x) {
            std::memset(out + x * kCanvasPixelBytes, 0, 3);
        }
    };
    const int64_t sourceY = int64_t{row} + srcY_;
    if (!picture.exists() || sourceY < 0 || sourceY >= picture.height) {
        blacken(0, width_);
        return;
    }
    const int64_t first = std::clamp<int64_t>(-int64_t{srcX_}, 0, width_);
    const int64_t end = std::clamp<int64_t>(int64_t{picture.width} - srcX_, first, width_);
    blacken(0, first);
    blacken(end, width_);
    if (first == end) {
        return;
    }
    const uint8_t* in = picture.pixelAt(static_cast<int32_t>(first + srcX_), static_cast<int32_t>(sourceY));
    uint8_t* to = out + first * kCanvasPixelBytes;
    for (int64_t x = first; x < end; ++x, in += 3, to += kCanvasPixelBytes) {
        to[0] = in[2];
        to[1] = in[1];
        to[2] = in[0];
    }
}

}  // namespace qv::web
