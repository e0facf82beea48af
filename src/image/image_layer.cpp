#include "image/image_layer.h"

#include <cstring>

#include "image/frame_target.h"

namespace qv {

namespace {

bool spanInside(int64_t start, int64_t length, int64_t limit) { return start >= 0 && start + length <= limit; }

}  // namespace

int ImageLayer::reload(const char* fileName) {
    image.clear();
    return image.load(fileName);
}

void ImageLayer::setSource(int32_t newSourceX, int32_t newSourceY, int32_t width, int32_t height) {
    sourceX = newSourceX;
    sourceY = newSourceY;
    sourceOffset = static_cast<int32_t>(image.view().offsetOf(sourceX, sourceY));
    sourceWidth = width;
    sourceHeight = height;
}

bool ImageLayer::windowInsideImage() const {
    // A window chosen before the image last changed size points at the wrong bytes.
    const bool offsetCurrent = sourceOffset == image.view().offsetOf(sourceX, sourceY);
    return image.hasPixels() && offsetCurrent && spanInside(sourceX, sourceWidth, image.width()) &&
           spanInside(sourceY, sourceHeight, image.height());
}

bool ImageLayer::destinationInsideTarget() const {
    const PictureView target = frameTarget.view();
    return target.pixels != nullptr && spanInside(x, sourceWidth, target.width) && spanInside(y, sourceHeight, target.height);
}

bool ImageLayer::drawsWholeWindow() const {
    return sourceWidth > 0 && sourceHeight > 0 && windowInsideImage() && destinationInsideTarget();
}

void ImageLayer::draw() {
    if (!drawsWholeWindow()) {
        return;
    }
    // Both pictures are stored bottom-up, so one picture row down is one stride back in each.
    const PictureView target = frameTarget.view();
    uint8_t* destination = target.pixelAt(x, y);
    const uint8_t* source = image.pixels.get() + sourceOffset;
    const auto rowLength = 3 * static_cast<std::size_t>(sourceWidth);
    for (std::ptrdiff_t row = 0; row < sourceHeight; ++row) {
        std::memcpy(destination - row * target.stride, source - row * image.rowBytes, rowLength);
    }
}

}  // namespace qv
