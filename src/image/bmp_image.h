#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "image/bmp_headers.h"
#include "image/picture_view.h"

namespace qv {

class BmpBody;
struct BmpLayout;
struct BmpPalette;

// One picture in memory, kept as an uncompressed 24-bit BMP: its two headers and its rows stored
// bottom-up, three bytes a pixel (blue, green, red), each row padded to a multiple of 4 bytes.
// view() addresses its pixels.
//
// Either the image has no pixels, or its headers are exactly those setHeaders writes for its size
// at 24 bits and `pixels` holds imageSize bytes.
class BmpImage {
public:
    BmpImage() { setEmptyHeaders(infoHeader, &fileHeader); }

    // Reads a BMP file: uncompressed or run-length, 1, 4, 8, 16, 24 or 32 bits per pixel, any of the
    // info headers that common tools write, rows bottom-up or top-down; the picture becomes 24-bit.
    // 1 on success. 0 when the file cannot be opened or is not a regular file after following
    // links, such as a directory or a named pipe (the image is unchanged), or is not a picture we
    // accept (the image is left empty); lastError() then says why.
    int load(const char* fileName);
    // The same from an open stream, read from its current position; the stream stays open. A
    // stream that cannot seek (a pipe) is read only as far as the picture needs, and memory is set
    // aside only for data that has arrived.
    int loadFrom(std::FILE* stream);
    // Nearest-neighbour resampling to newWidth x newHeight. 0, with nothing changed, for an image
    // without pixels or a size of 0 or less or beyond our picture limit; 0 and no pixels when
    // memory runs out.
    int scale(int32_t newWidth, int32_t newHeight);
    // Drops the pixels and writes the headers of the empty picture.
    void clear();

    bool hasPixels() const { return pixels != nullptr; }
    int32_t width() const { return infoHeader.width; }
    int32_t height() const { return infoHeader.height; }
    PictureView view() const { return {pixels.get(), width(), height(), rowBytes}; }
    // Why the last load or scale failed; empty after a success.
    const std::string& lastError() const { return error; }

    BmpFileHeader fileHeader;
    BmpInfoHeader infoHeader;
    std::unique_ptr<uint8_t[]> pixels;
    int32_t rowBytes = 0;

private:
    int fail(std::string reason);
    int readTrueColour(BmpBody& body, const BmpLayout& layout);
    int readStoredRows(BmpBody& body, const BmpLayout& layout, const BmpPalette& palette);
    int readRunLength(BmpBody& body, const BmpLayout& layout, const BmpPalette& palette);
    // Gives the image fresh 24-bit headers for width x height and a pixel block to match.
    int allocate24(int32_t newWidth, int32_t newHeight);

    std::string error;
};

}  // namespace qv
