#pragma once

// Builds BMP files byte by byte for the reader's tests, independently of the program's own header
// code, and writes them into a private temporary folder.

#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace qv::testing {

using Bytes = std::vector<uint8_t>;
using Colour = std::array<uint8_t, 3>;  // blue, green, red

inline void put16(Bytes& bytes, std::size_t offset, uint32_t value) {
    bytes[offset] = static_cast<uint8_t>(value);
    bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
}

inline void put32(Bytes& bytes, std::size_t offset, uint32_t value) {
    put16(bytes, offset, value & 0xFFFF);
    put16(bytes, offset + 2, value >> 16);
}

// Offsets of the header fields in a file.
enum HeaderField : std::size_t {
    kType = 0,
    kDataOffset = 10,
    kInfoSize = 14,
    kWidth = 18,
    kHeight = 22,
    kBitsPerPixel = 28,
    kCompression = 30,
};

inline Bytes headers(int32_t width, int32_t height, uint32_t bitsPerPixel, uint32_t dataOffset) {
    Bytes bytes(54, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(bytes, kDataOffset, dataOffset);
    put32(bytes, kInfoSize, 40);
    put32(bytes, kWidth, static_cast<uint32_t>(width));
    put32(bytes, kHeight, static_cast<uint32_t>(height));
    put16(bytes, 26, 1);
    put16(bytes, kBitsPerPixel, bitsPerPixel);
    return bytes;
}

inline std::size_t paddedToFour(std::size_t bytes) { return (bytes + 3) & ~std::size_t{3}; }

// An 8-bit file: `palette` entries right after the headers (data offset to match), then index
// rows bottom-up. `topDownIndices` holds width x height indices, top row first.
inline Bytes palettisedFile(int32_t width, int32_t height, const std::vector<Colour>& palette,
                            const Bytes& topDownIndices) {
    Bytes bytes = headers(width, height, 8, static_cast<uint32_t>(54 + 4 * palette.size()));
    for (const Colour& entry : palette) {
        bytes.insert(bytes.end(), {entry[0], entry[1], entry[2], 0});
    }
    const std::size_t rowLength = paddedToFour(static_cast<std::size_t>(width));
    for (int32_t row = height - 1; row >= 0; --row) {
        Bytes stored(rowLength, 0xEE);  // padding that must never be read as a pixel
        std::copy_n(topDownIndices.begin() + row * width, width, stored.begin());
        bytes.insert(bytes.end(), stored.begin(), stored.end());
    }
    return bytes;
}

// A 24-bit file; `topDownPixels` holds width x height colours, top row first.
inline Bytes trueColourFile(int32_t width, int32_t height, const std::vector<Colour>& topDownPixels) {
    Bytes bytes = headers(width, height, 24, 54);
    const std::size_t rowLength = paddedToFour(3 * static_cast<std::size_t>(width));
    for (int32_t row = height - 1; row >= 0; --row) {
        Bytes stored(rowLength, 0xEE);
        for (int32_t column = 0; column < width; ++column) {
            std::copy_n(topDownPixels[row * width + column].begin(), 3, stored.begin() + 3 * column);
        }
        bytes.insert(bytes.end(), stored.begin(), stored.end());
    }
    return bytes;
}

// A folder of its own under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        static std::atomic<int> counter{0};
        path_ = std::filesystem::temp_directory_path() /
                ("qv-image-tests-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }
    std::string write(const std::string& name, const Bytes& bytes) const {
        const std::string path = file(name);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

private:
    std::filesystem::path path_;
};

}  // namespace qv::testing
