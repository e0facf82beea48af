#include "image/bmp_image.h"

#include <new>
#include <utility>

namespace qv {

void BmpImage::clear() {
    pixels.reset();
    rowBytes = 0;
    setEmptyHeaders(infoHeader, &fileHeader);
}

int BmpImage::fail(std::string reason) {
    clear();
    error = std::move(reason);
    return 0;
}

int BmpImage::allocate24(int32_t newWidth, int32_t newHeight) {
    clear();
    rowBytes = setHeaders(infoHeader, &fileHeader, newWidth, newHeight, 24);
    // Zeroed, so that row padding never holds stale heap bytes.
    pixels.reset(new (std::nothrow) uint8_t[infoHeader.imageSize]());
    return pixels ? 1 : 0;
}

}  // namespace qv
