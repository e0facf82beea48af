#pragma once

#include <array>
#include <cstdint>

namespace qv {

// The 14-byte header at the start of a BMP file.
struct BmpFileHeader {
    static constexpr int32_t kSize = 14;
    static constexpr uint16_t kSignature = 0x4D42;  // "BM" read little-endian

    uint16_t type = 0;
    uint32_t fileSize = 0;
    uint16_t reserved1 = 0;
    uint16_t reserved2 = 0;
    uint32_t dataOffset = 0;  // bytes from the start of the file to the first pixel byte
};

// The 40-byte header that follows it and describes the picture.
struct BmpInfoHeader {
    static constexpr int32_t kSize = 40;

    uint32_t size = 0;
    int32_t width = 0;
    int32_t height = 0;  // positive: rows stored bottom-up
    uint16_t planes = 0;
    uint16_t bitsPerPixel = 0;
    uint32_t compression = 0;
    uint32_t imageSize = 0;  // row length x height
    int32_t xResolution = 0;
    int32_t yResolution = 0;
    uint32_t coloursUsed = 0;
    uint32_t coloursImportant = 0;
};

// Both headers together, as they open every file we read or write.
inline constexpr int32_t kBmpHeadersSize = BmpFileHeader::kSize + BmpInfoHeader::kSize;

// Writes the headers of an uncompressed picture and returns its row length: the bytes of one row
// rounded up to a multiple of 4. `file` may be null. The caller keeps the sizes small enough that
// the image size fits 32 bits (see pictureFits).
int32_t setHeaders(BmpInfoHeader& info, BmpFileHeader* file, int32_t width, int32_t height, int32_t bitsPerPixel);

// The empty picture: width 0, height 0, 1 bit per pixel, every size 0.
void setEmptyHeaders(BmpInfoHeader& info, BmpFileHeader* file);

// No picture we hold may be larger than this many bytes, so sizes never come near 32-bit limits.
inline constexpr int64_t kMaxPictureBytes = int64_t{256} << 20;

// Row length of a picture with `bitsPerPixel`, rounded up to 4 bytes, computed without overflow.
inline constexpr int64_t paddedRowBytes(int64_t width, int64_t bitsPerPixel) {
    return ((width * bitsPerPixel >> 3) + 3) & ~int64_t{3};
}

// True when a picture of width x height at `bitsPerPixel` has positive sides and at most
// kMaxPictureBytes of rows, so that setHeaders stays exact.
bool pictureFits(int32_t width, int32_t height, int32_t bitsPerPixel);

// Headers to and from their little-endian file layout, whatever the byte order of the machine.
using FileHeaderBytes = std::array<uint8_t, BmpFileHeader::kSize>;
using InfoHeaderBytes = std::array<uint8_t, BmpInfoHeader::kSize>;
FileHeaderBytes encodeFileHeader(const BmpFileHeader& file);
InfoHeaderBytes encodeInfoHeader(const BmpInfoHeader& info);
BmpFileHeader decodeFileHeader(const FileHeaderBytes& bytes);

}  // namespace qv
