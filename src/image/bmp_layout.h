#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "image/bmp_headers.h"

namespace qv {

// The longest info header we read (the fifth Windows version). Every header is read into a block of
// this size; the fields a shorter header lacks read as zero.
inline constexpr uint32_t kLargestInfoHeader = 124;
using InfoHeaderBlock = std::array<uint8_t, kLargestInfoHeader>;

// The info header sizes we read: OS/2 1.x (12), OS/2 2.x (16, 64) and the Windows versions (40 to 124).
bool infoHeaderSizeRead(uint32_t size);

// How a BMP file stores its picture, as its headers tell; where they leave a choice (a data offset
// that points back into the headers), the reading chosen here.
struct BmpLayout {
    enum class Coding {
        indexed,     // 1, 4 or 8 bits a pixel, each an index into the palette
        runLength8,  // 8-bit indices in runs
        runLength4,  // 4-bit indices in runs
        bitFields,   // 16 or 32 bits a pixel, each colour a run of bits that its mask picks out
        trueColour,  // 24 bits a pixel: blue, green, red
    };

    int32_t width = 0;
    int32_t height = 0;     // rows, always positive
    bool topDown = false;   // the first stored row is the top of the picture, not the bottom
    int32_t bitsPerPixel = 0;
    Coding coding = Coding::trueColour;
    std::array<uint32_t, 3> masks{};  // red, green, blue, for bit fields
    uint32_t masksAfterHeader = 0;    // bytes of masks that follow a 40-byte header, else 0
    uint32_t paletteEntries = 0;      // entries to read; indices beyond them are black
    uint32_t paletteEntryBytes = 4;   // blue, green, red and a spare byte; 3 in OS/2 1.x files
    uint64_t tablesStart = 0;         // the end of the info header, where masks or palette begin
    uint64_t pixelStart = 0;          // where the pixel data begins

    bool runLength() const { return coding == Coding::runLength8 || coding == Coding::runLength4; }
    // One stored row of the file, padded to a multiple of 4 bytes, and all of them.
    uint64_t storedRowBytes() const;
    uint64_t storedBytes() const;
    // The picture row, counted from the top, that stored row `storedRow` holds.
    int32_t pictureRowOf(int64_t storedRow) const;
};

// Empty for a file that starts with "BM"; otherwise why it is not a BMP file we read, naming the
// kind of file when its first bytes tell it.
std::string signatureRefusal(const FileHeaderBytes& bytes);

// Fills `layout` from the file header and the info header; the info header's own size is its first
// field. Empty on success; otherwise why the file is not a picture we read.
std::string describeLayout(const BmpFileHeader& file, const InfoHeaderBlock& info, BmpLayout& layout);

// Empty when the bit-field masks are ones we read (each a single run of bits inside the pixel);
// otherwise which mask is not.
std::string maskRefusal(const BmpLayout& layout);

}  // namespace qv
