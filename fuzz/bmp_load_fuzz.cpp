// Feeds arbitrary bytes to the BMP reader the way the game meets them: as a file opened by name,
// and as a pipe that cannot seek. Both must give the same answer, and whatever the reader accepts
// must be a sound 24-bit picture that scales and draws without touching memory it does not own.

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
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

bool writeAll(int descriptor, const uint8_t* data, std::size_t size) {
    for (std::size_t sent = 0; sent < size;) {
        const ssize_t written = ::write(descriptor, data + sent, size - sent);
        if (written <= 0) {
            return false;
        }
        sent += static_cast<std::size_t>(written);
    }
    return true;
}

// The bytes as a regular file with a name, opened by load() exactly as the game opens its pictures.
int loadAsFile(qv::BmpImage& image, const uint8_t* data, std::size_t size) {
    const int file = ::memfd_create("bmp", MFD_CLOEXEC);
    require(file >= 0 && writeAll(file, data, size));
    const std::string name = "/proc/self/fd/" + std::to_string(file);
    const int result = image.load(name.c_str());
    ::close(file);
    return result;
}

// The bytes through a pipe, all written before reading starts; -1 when they do not fit its buffer.
int loadThroughPipe(qv::BmpImage& image, const uint8_t* data, std::size_t size) {
    int ends[2];
    require(::pipe2(ends, O_CLOEXEC) == 0);
    const int capacity = ::fcntl(ends[1], F_SETPIPE_SZ, static_cast<int>(std::min<std::size_t>(size, 1 << 20)));
    int result = -1;
    if (capacity >= 0 && static_cast<std::size_t>(capacity) >= size) {
        require(writeAll(ends[1], data, size));
        ::close(ends[1]);
        ends[1] = -1;
        std::unique_ptr<std::FILE, FileCloser> stream(::fdopen(ends[0], "rb"));
        require(stream != nullptr);
        ends[0] = -1;
        result = image.loadFrom(stream.get());
    }
    for (const int end : ends) {
        if (end >= 0) ::close(end);
    }
    return result;
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

bool samePicture(const qv::BmpImage& a, const qv::BmpImage& b) {
    return a.width() == b.width() && a.height() == b.height() && a.rowBytes == b.rowBytes &&
           std::memcmp(a.pixels.get(), b.pixels.get(), a.infoHeader.imageSize) == 0;
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
    qv::ImageLayer layer;
    const int result = loadAsFile(layer.image, data, size);
    if (result == 1) {
        checkSound(layer.image);
    } else {
        require(!layer.image.hasPixels() && !layer.image.lastError().empty());
    }
    qv::BmpImage piped;
    if (loadThroughPipe(piped, data, size) != -1) {
        require(piped.hasPixels() == (result == 1) && piped.lastError() == layer.image.lastError());
        require(result != 1 || samePicture(piped, layer.image));
    }
    if (result == 1) {
        exercise(layer, data, size);
    }
    return 0;
}
