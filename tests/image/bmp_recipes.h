#pragma once

// BMP files of every layout that common tools write, built byte by byte from a recipe, and
// ImageMagick, which makes such files and reads them as the reference the reader must match.

#include <cstdio>
#include <optional>
#include <string>

#include "image/bmp_files.h"

namespace qv::testing {

// Compression values of the info header.
enum : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kJpeg = 4, kPng = 5, kAlphaBitFields = 6 };

struct BmpRecipe {
    uint32_t infoSize = 40;  // 12: OS/2 1.x, with 16-bit sizes and 3-byte palette entries
    int32_t width = 13;
    int32_t height = 5;  // negative: rows stored top-down
    uint16_t bits = 24;
    uint32_t compression = kRgb;
    std::vector<uint32_t> masks{};  // in the header from 52 bytes on, else right after it
    std::vector<Colour> palette{};
    uint32_t coloursUsed = 0;
    uint32_t gap = 0;  // bytes between the palette and the pixel data
    Bytes pixels{};  // the pixel data as stored
};

inline void append(Bytes& bytes, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

inline Bytes bmpFrom(const BmpRecipe& recipe) {
    Bytes info;
    append(info, recipe.infoSize, 4);
    const int sizeBytes = recipe.infoSize == 12 ? 2 : 4;
    append(info, uint32_t(recipe.width), sizeBytes);
    append(info, uint32_t(recipe.height), sizeBytes);
    append(info, 1, 2);
    append(info, recipe.bits, 2);
    if (recipe.infoSize > 16) {
        for (uint32_t field : {recipe.compression, uint32_t(recipe.pixels.size()), 2835u, 2835u, recipe.coloursUsed, 0u}) {
            append(info, field, 4);
        }
    }
    if (recipe.infoSize >= 52) {
        for (uint32_t mask : recipe.masks) append(info, mask, 4);
    }
    info.resize(recipe.infoSize, 0);
    if (recipe.infoSize == 40) {
        for (uint32_t mask : recipe.masks) append(info, mask, 4);
    }
    for (const Colour& entry : recipe.palette) {
        info.insert(info.end(), entry.begin(), entry.end());
        if (recipe.infoSize != 12) info.push_back(0);
    }
    info.resize(info.size() + recipe.gap, 0x5A);
    Bytes file{'B', 'M'};
    append(file, uint32_t(14 + info.size() + recipe.pixels.size()), 4);
    append(file, 0, 4);
    append(file, uint32_t(14 + info.size()), 4);
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), recipe.pixels.begin(), recipe.pixels.end());
    return file;
}

// `count` distinct, bright colours.
inline std::vector<Colour> paletteOf(int count) {
    std::vector<Colour> palette{};
    for (int i = 0; i < count; ++i) {
        palette.push_back({uint8_t(i * 37 + 11), uint8_t(i * 71 + 5), uint8_t(200 - i * 13)});
    }
    return palette;
}

// Rows of `bits`-bit values, each row padded to 4 bytes; value(x, storedRow) gives each pixel.
template <typename Value>
Bytes storedRows(int32_t width, int32_t rows, int bits, Value value) {
    Bytes bytes;
    for (int32_t row = 0; row < rows; ++row) {
        Bytes stored((static_cast<std::size_t>(width) * bits + 31) / 32 * 4, 0);
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t v = value(x, row);
            if (bits < 8) {
                stored[x * bits / 8] |= static_cast<uint8_t>(v << (8 - bits - x * bits % 8));
            } else {
                for (int i = 0; i < bits / 8; ++i) stored[x * bits / 8 + i] = static_cast<uint8_t>(v >> (8 * i));
            }
        }
        bytes.insert(bytes.end(), stored.begin(), stored.end());
    }
    return bytes;
}

// Run-length data for a 13 x 5 picture of 8 or 4 bits an index, stored row by row: runs and indices
// one by one (an odd and an even count) filling row 0; 3 set in row 1, then a jump right 3 and up 1;
// the rest of row 2; a run over row 3; 2 set in row 4, then the end of the picture. Some pixels are
// never set.
inline Bytes runLengthData(bool fourBits) {
    if (fourBits) {
        return {4, 0x12, 0, 5, 0x34, 0x56, 0x70, 0, 4, 0x23, 0, 0, 3, 0x45, 0, 2, 3, 1,
                0, 3, 0x67, 0x10, 4, 0x55, 0, 0, 13, 0x31, 0, 0, 2, 0x76, 0, 1};
    }
    return {4, 1, 0, 5, 3, 4, 5, 6, 7, 0, 4, 2, 0, 0, 3, 4, 0, 2, 3, 1,
            0, 3, 6, 7, 1, 0, 4, 5, 0, 0, 13, 3, 0, 0, 2, 7, 0, 1};
}

// Runs a shell command; its standard output, and whether it succeeded.
inline std::pair<std::string, bool> runCommand(const std::string& command) {
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return {"", false};
    std::string output;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, got);
    return {output, ::pclose(pipe) == 0};
}

// A picture as ImageMagick reads it: red, green, blue, top row first.
struct ReferencePicture {
    int width = 0;
    int height = 0;
    Bytes rgb;
};

// What ImageMagick reads from the file at `path`, through its 8-bit PPM form; nothing when it
// refuses the file. A picture it writes in full counts even when it complains: it reads past
// run-length data that ends early and then says the file ended unexpectedly.
inline std::optional<ReferencePicture> imageMagickReads(const std::string& path) {
    const std::string ppm = runCommand("convert '" + path + "' -depth 8 ppm:- 2>/dev/null").first;
    ReferencePicture picture;
    int maximum = 0, headerLength = 0;
    if (std::sscanf(ppm.c_str(), "P6 %d %d %d%n", &picture.width, &picture.height, &maximum, &headerLength) != 3 ||
        maximum != 255 || ppm.size() != headerLength + 1 + 3u * picture.width * picture.height) {
        return std::nullopt;
    }
    picture.rgb.assign(ppm.begin() + headerLength + 1, ppm.end());
    return picture;
}

// The number of pixels in which `image` differs from `reference`, or -1 when their sizes differ.
inline int pixelsDiffering(const BmpImage& image, const ReferencePicture& reference) {
    if (image.width() != reference.width || image.height() != reference.height) return -1;
    int differing = 0;
    for (int32_t i = 0; i < reference.width * reference.height; ++i) {
        const uint8_t* rgb = &reference.rgb[3 * std::size_t(i)];
        differing += pixelAt(image, i % reference.width, i / reference.width) != Colour{rgb[2], rgb[1], rgb[0]};
    }
    return differing;
}

}  // namespace qv::testing
