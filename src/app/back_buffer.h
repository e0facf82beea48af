#pragma once

#include <cstdint>
#include <memory>

#include "image/picture_view.h"

namespace qv {

// The off-screen picture every frame is composed in: 24 bits a pixel in blue, green, red order,
// rows stored bottom-up (the first row in memory is the bottom of the picture), each row padded to
// a multiple of 4 bytes. Presenting it in a window is the shell's business.
class BackBuffer {
public:
    // Makes a black picture of width x height; 0 (and an empty back buffer) for a size of 0 or
    // less or when memory runs out. A back buffer held before is released first.
    int createBackBuffer(int32_t newWidth, int32_t newHeight, int32_t sourceOffset);
    // 1 when a picture was released, 0 when there was none.
    int releaseBackBuffer();

    bool exists() const { return bits != nullptr; }
    int32_t rowBytes() const { return (width * 3 + 3) & ~3; }
    PictureView view() const { return {bits, width, height, rowBytes()}; }
    // The first byte of pixel (px, py), py counted from the top.
    uint8_t* pixelAt(int32_t px, int32_t py) const { return view().pixelAt(px, py); }

    int32_t width = 0;
    int32_t height = 0;
    int32_t srcX = 0;  // where the copy to the window starts
    int32_t srcY = 0;
    uint8_t* bits = nullptr;

private:
    std::unique_ptr<uint8_t[]> storage;
};

}  // namespace qv
