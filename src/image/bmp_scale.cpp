#include <cstring>

#include "image/bmp_image.h"

namespace qv {

namespace {

// The source index of a running position; the clamp guards against a long running sum creeping
// past the last source pixel when a tiny step is added millions of times.
std::size_t sourceIndex(double position, int32_t count) {
    const auto index = static_cast<int32_t>(position);
    return static_cast<std::size_t>(index < count ? index : count - 1);
}

}  // namespace

// Nearest-neighbour sampling with no half-pixel offset: destination (0, 0) takes the old top-left
// pixel. The source position is a running sum of the step rather than index x step, so where
// repeats fall for inexact steps (such as 1/3) is decided by the accumulated rounding.
int BmpImage::scale(int32_t newWidth, int32_t newHeight) {
    if (!hasPixels()) {
        error = "no picture to scale";
        return 0;
    }
    if (!pictureFits(newWidth, newHeight, 24)) {
        error = "cannot scale to that size";
        return 0;
    }
    const double stepX = static_cast<double>(width()) / newWidth;
    const double stepY = static_cast<double>(height()) / newHeight;
    const std::unique_ptr<uint8_t[]> oldPixels = std::move(pixels);
    const PictureView old{oldPixels.get(), width(), height(), rowBytes};

    if (!allocate24(newWidth, newHeight)) {
        return fail("out of memory for the scaled picture");
    }
    double sourceY = 0.0;
    for (int32_t row = 0; row < newHeight; ++row, sourceY += stepY) {
        const uint8_t* source = old.pixelAt(0, static_cast<int32_t>(sourceIndex(sourceY, old.height)));
        uint8_t* destination = view().pixelAt(0, row);
        double sourceX = 0.0;
        for (int32_t column = 0; column < newWidth; ++column, sourceX += stepX) {
            std::memcpy(destination + 3 * column, source + 3 * sourceIndex(sourceX, old.width), 3);
        }
    }
    error.clear();
    return 1;
}

}  // namespace qv
