#include "image/image_layer.h"

#include <cstring>

#include "image/frame_target.h"

namespace qv {

namespace {

// Byte offset of the first byte of picture pixel (column, row) in a bottom-up 24-bit picture,
// in 64 bits so that a window far outside the picture cannot overflow.
int64_t pictureOffset(int64_t column, int64_t row, int64_t height, int64_t rowBytes) {
    return (height - 1 - row) * rowBytes + 3 * column;
}

bool spanInside(int64_t start, int64_t length, int64_t limit) { return start >= 0 && start + length <= limit; }

}  // namespace

int ImageLayer::reload(const char* fileName) {
    image.clear();
    return image.load(fileName);
}

void ImageLayer::setSource(int32_t newSourceX, int32_t newSourceY, int32_t width, int32_t height) {
    sourceX = newSourceX;
    sourceY = newSourceY;
    sourceOffset = static_cast<int32_t>(pictureOffset(sourceX, sourceY, image.height(), image.rowBytes));
    sourceWidth = width;
    sourceHeight = height;
}

bool ImageLayer::windowInsideImage() const {
    // A window chosen before the image last changed size points at the wrong bytes.
    const bool offsetCurrent = sourceOffset == pictureOffset(sourceX, sourceY, image.height(), image.rowBytes);
    return image.hasPixels() && offsetCurrent && spanInside(sourceX, sourceWidth, image.width()) &&
           spanInside(sourceY, sourceHeight, image.height());
}

bool ImageLayer::destinationInsideTarget() const {
    // The frame target has no width of its own: rows are stride bytes of whole pixels.
    return frameTarget.pixels != nullptr && spanInside(x, sourceWidth, frameTarget.stride / 3) &&
           spanInside(y, sourceHeight, frameTarget.height);
}

bool ImageLayer::drawsWholeWindow() const {
    return sourceWidth > 0 && sourceHeight > 0 && windowInsideImage() && destinationInsideTarget();
}

void ImageLayer::draw() {
    if (!drawsWholeWindow()) {
        return;
    }
    // Both pictures are stored bottom-up, so one picture row down is one stride back in each.
    uint8_t* destination = frameTarget.pixels + pictureOffset(x, y, frameTarget.height, frameTarget.stride);
    const uint8_t* source = image.pixels.get() + sourceOffset;
    const auto rowLength = 3 * static_cast<std::size_t>(sourceWidth);
    for (std::ptrdiff_t row = 0; row < sourceHeight; ++row) {
        std::memcpy(destination - row * frameTarget.stride, source - row * image.rowBytes, rowLength);
    }
}

}  // namespace qv
