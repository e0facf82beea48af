#pragma once

// Builds BMP files byte by byte, independently of the program's own header code, loads them back
// from real files, and makes pictures in memory whose pixels tell where they came from.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include "helpers/scratch_folder.h"
#include "image/bmp_image.h"

namespace qv::testing {

using Bytes = std::vector<uint8_t>;
using Colour = std::array<uint8_t, 3>;  // blue, green, red

// Offsets of header fields in a file.
constexpr unsigned kType = 0, kDataOffset = 10, kInfoSize = 14, kWidth = 18, kHeight = 22, kBits = 28,
                   kCompression = 30;

// `bytes` with `value` written little-endian into `size` bytes at `offset`.
inline Bytes put(Bytes bytes, std::size_t offset, uint32_t value, int size = 4) {
    for (int i = 0; i < size; ++i) {
        bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    }
    return bytes;
}

// Headers, `palette` (data offset right after it), then `rows` (width x height
// pixels of bits / 8 bytes, top row first) stored bottom-up, padded with bytes that must never be
// read as pixels.
inline Bytes bmpFile(int32_t width, int32_t height, int bits, const std::vector<Colour>& palette, const Bytes& rows) {
    Bytes bytes = put(put(put(Bytes(54, 0), kType, 0x4D42, 2), kDataOffset, 54 + 4 * palette.size()), kInfoSize, 40);
    bytes = put(put(put(put(bytes, kWidth, width), kHeight, height), 26, 1, 2), kBits, bits, 2);  // 26: planes
    for (const Colour& entry : palette) {
        bytes.insert(bytes.end(), {entry[0], entry[1], entry[2], 0});
    }
    const auto rowLength = static_cast<std::size_t>(width * bits / 8);
    for (int32_t row = height - 1; row >= 0; --row) {
        Bytes stored((rowLength + 3) & ~std::size_t{3}, 0xEE);  // rows padded to a multiple of four bytes
        std::copy_n(rows.begin() + row * rowLength, rowLength, stored.begin());
        bytes.insert(bytes.end(), stored.begin(), stored.end());
    }
    return bytes;
}

// Picture pixel (column, row), row from the top, of a 24-bit image.
inline Colour pixelAt(const BmpImage& image, int32_t column, int32_t row) {
    const uint8_t* pixel = image.view().pixelAt(column, row);
    return {pixel[0], pixel[1], pixel[2]};
}

// What pixel (column, row) of coordinatePicture holds: its own place, distinct up to 4096 x 4096.
inline Colour coordinates(int32_t column, int32_t row) {
    return {static_cast<uint8_t>(column), static_cast<uint8_t>(row), static_cast<uint8_t>(column >> 8 | row >> 8 << 4)};
}

inline BmpImage coordinatePicture(int32_t width, int32_t height) {
    BmpImage image;
    image.rowBytes = setHeaders(image.infoHeader, &image.fileHeader, width, height, 24);
    image.pixels = std::make_unique<uint8_t[]>(image.infoHeader.imageSize);
    for (int32_t i = 0; i < width * height; ++i) {
        const Colour colour = coordinates(i % width, i / width);
        std::copy_n(colour.begin(), 3, image.view().pixelAt(i % width, i / width));
    }
    return image;
}

// A test with a folder of its own, removed afterwards.
class InOwnFolder : public ::testing::Test {
protected:
    std::string in(const std::string& name) const { return folder_.in(name); }

    ScratchFolder folder_;
};

// Writes `bytes` to a real file, loads it into `image` and removes the file.
inline int loadFile(BmpImage& image, const Bytes& bytes) {
    const ScratchFolder folder;
    const std::string path = folder.in("load.bmp");
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::ssize(bytes));
    return image.load(path.c_str());
}

}  // namespace qv::testing
