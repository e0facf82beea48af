#include "png_file.h"

#include <zlib.h>

#include <cstdint>
#include <vector>

namespace qv {

namespace {

void appendBigEndian(std::vector<uint8_t>& bytes, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        bytes.push_back(static_cast<uint8_t>(value >> shift));
    }
}

// A chunk: length, type, data, and the CRC of type and data.
void appendChunk(std::vector<uint8_t>& file, const char (&type)[5], const std::vector<uint8_t>& data) {
    appendBigEndian(file, static_cast<uint32_t>(data.size()));
    const std::size_t typeStart = file.size();
    file.insert(file.end(), type, type + 4);
    file.insert(file.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, file.data() + typeStart, static_cast<uInt>(file.size() - typeStart));
    appendBigEndian(file, static_cast<uint32_t>(crc));
}

// Each row is preceded by its filter type, 0 (none).
std::vector<uint8_t> filteredRows(const IconImage& picture) {
    const std::size_t rowBytes = static_cast<std::size_t>(picture.width) * 4;
    std::vector<uint8_t> rows;
    rows.reserve((rowBytes + 1) * static_cast<std::size_t>(picture.height));
    for (int32_t y = 0; y < picture.height; ++y) {
        rows.push_back(0);
        const auto row = picture.rgba.begin() + static_cast<std::ptrdiff_t>(rowBytes * static_cast<std::size_t>(y));
        rows.insert(rows.end(), row, row + static_cast<std::ptrdiff_t>(rowBytes));
    }
    return rows;
}

}  // namespace

std::optional<std::vector<uint8_t>> encodePng(const IconImage& picture) {
    const std::vector<uint8_t> rows = filteredRows(picture);
    uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, rows.data(), static_cast<uLong>(rows.size()), Z_BEST_COMPRESSION) != Z_OK) {
        return std::nullopt;
    }
    packed.resize(packedSize);

    std::vector<uint8_t> header;
    appendBigEndian(header, static_cast<uint32_t>(picture.width));
    appendBigEndian(header, static_cast<uint32_t>(picture.height));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits a sample, RGBA, deflate, no filter, no interlace

    std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    appendChunk(file, "IHDR", header);
    appendChunk(file, "IDAT", packed);
    appendChunk(file, "IEND", {});
    return file;
}

}  // namespace qv
