// Feeds arbitrary bytes to the BMP reader as a file. Whatever it accepts must be a sound 24-bit
// picture that scales and draws without touching memory it does not own.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "image/bmp_image.h"
#include "image/frame_target.h"
#include "image/image_layer.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* stream) const { std::fclose(stream); }
};

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// A loaded picture keeps the headers of its own size at 24 bits.
void checkSound(const qv::BmpImage& image) {
    require(image.hasPixels());
    require(image.width() > 0 && image.height() > 0);
    require(image.infoHeader.bitsPerPixel == 24);
    require(image.rowBytes >= 3 * image.width() && image.rowBytes % 4 == 0);
    require(image.infoHeader.imageSize ==
            static_cast<uint32_t>(image.rowBytes) * static_cast<uint32_t>(image.height()));
    require(image.lastError().empty());
}

// Draws the whole picture into a target just large enough, then scales it small and draws again.
void exercise(qv::ImageLayer& layer, const uint8_t* data, std::size_t size) {
    const int32_t width = layer.image.width();
    const int32_t height = layer.image.height();
    if (int64_t{width} * height <= 1 << 20) {
        std::vector<uint8_t> target(static_cast<std::size_t>(width) * 3 * height);
        qv::frameTarget = qv::FrameTarget{target.data(), width * 3, height};
        layer.setSource(0, 0, width, height);
        layer.draw();
        qv::frameTarget = qv::FrameTarget{};
    }
    const int32_t newWidth = 1 + data[size - 1] % 64;
    const int32_t newHeight = 1 + data[size / 2] % 64;
    require(layer.image.scale(newWidth, newHeight) == 1);
    checkSound(layer.image);
    std::vector<uint8_t> target(static_cast<std::size_t>(newWidth) * 3 * newHeight);
    qv::frameTarget = qv::FrameTarget{target.data(), newWidth * 3, newHeight};
    layer.setSource(0, 0, newWidth, newHeight);
    layer.draw();
    qv::frameTarget = qv::FrameTarget{};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    std::unique_ptr<std::FILE, FileCloser> stream(fmemopen(const_cast<uint8_t*>(data), size, "rb"));
    if (!stream) {
        return 0;
    }
    qv::ImageLayer layer;
    if (layer.image.loadFrom(stream.get()) == 1) {
        checkSound(layer.image);
        exercise(layer, data, size);
    } else {
        require(!layer.image.hasPixels() && !layer.image.lastError().empty());
    }
    return 0;
}
