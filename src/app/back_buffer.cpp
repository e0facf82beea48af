#include "app/back_buffer.h"

#include <cstring>
#include <new>

namespace qv {

int BackBuffer::createBackBuffer(int32_t newWidth, int32_t newHeight, int32_t sourceOffset) {
    releaseBackBuffer();
    // Larger than any window; keeps the byte count far inside 32 bits.
    constexpr int32_t kMaxSide = 16384;
    if (newWidth <= 0 || newHeight <= 0 || newWidth > kMaxSide || newHeight > kMaxSide) {
        return 0;
    }
    width = newWidth;
    height = newHeight;
    const auto bytes = static_cast<std::size_t>(rowBytes()) * static_cast<std::size_t>(height);
    storage.reset(new (std::nothrow) uint8_t[bytes]);
    if (!storage) {
        width = height = 0;
        return 0;
    }
    std::memset(storage.get(), 0, bytes);  // black
    bits = storage.get();
    srcX = srcY = sourceOffset;
    return 1;
}

int BackBuffer::releaseBackBuffer() {
    if (!storage) {
        return 0;
    }
    storage.reset();
    width = height = srcX = srcY = 0;
    bits = nullptr;
    return 1;
}

}  // namespace qv
