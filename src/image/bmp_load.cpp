#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>

#include "image/bmp_image.h"

// Reading BMP files. This is the one place where a file from outside reaches the program, so
// every size is checked before it is used and every read is checked for its full length.

namespace qv {

namespace {

struct FileCloser {
    void operator()(std::FILE* stream) const { std::fclose(stream); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

constexpr int32_t kPaletteEntries = 256;
constexpr int32_t kPaletteEntryBytes = 4;  // blue, green, red, reserved

bool readExactly(std::FILE* stream, void* destination, std::size_t bytes) {
    return std::fread(destination, 1, bytes, stream) == bytes;
}

// The palette entries a file holds, told by the gap between the headers and its data offset.
// Files that claim fewer than 2 or more than 256 entries are read with a full palette.
uint32_t paletteEntryCount(uint32_t dataOffset) {
    const uint32_t entries = (dataOffset - static_cast<uint32_t>(kBmpHeadersSize)) / kPaletteEntryBytes;
    return entries < 2 || entries > kPaletteEntries ? kPaletteEntries : entries;
}

// The bytes left between the stream's position and its end, so that a tiny file cannot make the
// reader set aside a large block before it finds the data missing. Unknown (the largest value)
// for a stream that cannot seek.
std::size_t remainingBytes(std::FILE* stream) {
    const long position = std::ftell(stream);
    if (position < 0 || std::fseek(stream, 0, SEEK_END) != 0) {
        return SIZE_MAX;
    }
    const long end = std::ftell(stream);
    if (std::fseek(stream, position, SEEK_SET) != 0 || end < position) {
        return SIZE_MAX;
    }
    return static_cast<std::size_t>(end - position);
}

}  // namespace

int BmpImage::load(const char* fileName) {
    FileHandle stream(std::fopen(fileName, "rb"));
    if (!stream) {
        error = std::string("cannot open ") + fileName + ": " + std::strerror(errno);
        return 0;
    }
    return loadFrom(stream.get());
}

int BmpImage::loadFrom(std::FILE* stream) {
    clear();
    FileHeaderBytes fileBytes{};
    if (!readExactly(stream, fileBytes.data(), fileBytes.size())) {
        return fail("truncated file header");
    }
    InfoHeaderBytes infoBytes{};
    if (!readExactly(stream, infoBytes.data(), infoBytes.size())) {
        return fail("truncated info header");
    }
    fileHeader = decodeFileHeader(fileBytes);
    infoHeader = decodeInfoHeader(infoBytes);

    if (fileHeader.type != BmpFileHeader::kSignature) {
        return fail("not a BMP file (no \"BM\" signature)");
    }
    if (infoHeader.size != BmpInfoHeader::kSize) {
        return fail("unsupported info header (size is not 40)");
    }
    if (infoHeader.compression != 0) {
        return fail("compressed pictures are not supported");
    }
    if (infoHeader.bitsPerPixel != 8 && infoHeader.bitsPerPixel != 24) {
        return fail("unsupported bit depth (only 8 and 24 bits per pixel)");
    }
    if (infoHeader.width <= 0 || infoHeader.height <= 0) {
        return fail("width and height must be positive (top-down pictures are not supported)");
    }
    // The 24-bit block is the larger of the two an 8-bit file needs, so one check covers both.
    if (!pictureFits(infoHeader.width, infoHeader.height, 24)) {
        return fail("picture too large");
    }
    return infoHeader.bitsPerPixel == 8 ? readPalettised(stream) : readTrueColour(stream);
}

int BmpImage::readPalettised(std::FILE* stream) {
    const int32_t pictureWidth = infoHeader.width;
    const int32_t pictureHeight = infoHeader.height;
    const auto indexRowBytes = static_cast<std::size_t>(paddedRowBytes(pictureWidth, 8));
    const std::size_t indexBytes = indexRowBytes * static_cast<std::size_t>(pictureHeight);
    const uint32_t entries = paletteEntryCount(fileHeader.dataOffset);
    const std::size_t paletteBytes = std::size_t{entries} * kPaletteEntryBytes;
    const std::size_t available = remainingBytes(stream);
    if (paletteBytes > available) {
        return fail("truncated palette");
    }
    if (indexBytes > available - paletteBytes) {
        return fail("truncated pixel data");
    }
    std::unique_ptr<uint8_t[]> indices(new (std::nothrow) uint8_t[indexBytes]);
    if (!indices) {
        return fail("out of memory for the picture's indices");
    }

    // Entries the file does not supply stay black.
    std::array<uint8_t, kPaletteEntries * kPaletteEntryBytes> palette{};
    if (!readExactly(stream, palette.data(), paletteBytes)) {
        return fail("truncated palette");
    }
    if (!readExactly(stream, indices.get(), indexBytes)) {
        return fail("truncated pixel data");
    }

    if (!allocate24(pictureWidth, pictureHeight)) {
        return fail("out of memory for the picture");
    }
    for (int32_t row = 0; row < pictureHeight; ++row) {
        const uint8_t* source = indices.get() + static_cast<std::size_t>(row) * indexRowBytes;
        uint8_t* destination = pixels.get() + static_cast<std::size_t>(row) * static_cast<std::size_t>(rowBytes);
        for (int32_t column = 0; column < pictureWidth; ++column) {
            const uint8_t* entry = &palette[std::size_t{source[column]} * kPaletteEntryBytes];
            std::memcpy(destination + 3 * column, entry, 3);
        }
    }
    error.clear();
    return 1;
}

int BmpImage::readTrueColour(std::FILE* stream) {
    // Pixels are read straight after the headers; a file that puts them elsewhere would be
    // misread, so it is refused.
    if (fileHeader.dataOffset != static_cast<uint32_t>(kBmpHeadersSize)) {
        return fail("24-bit pixel data must start right after the headers (data offset 54)");
    }
    // The size the file states is not trusted (it is often 0); the size its dimensions need is.
    const std::size_t pixelBytes = static_cast<std::size_t>(paddedRowBytes(infoHeader.width, 24)) *
                                   static_cast<std::size_t>(infoHeader.height);
    if (pixelBytes > remainingBytes(stream)) {
        return fail("truncated pixel data");
    }
    if (!allocate24(infoHeader.width, infoHeader.height)) {
        return fail("out of memory for the picture");
    }
    if (!readExactly(stream, pixels.get(), infoHeader.imageSize)) {
        return fail("truncated pixel data");
    }
    error.clear();
    return 1;
}

}  // namespace qv
