#include "image/bmp_writer.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "image/bmp_headers.h"
#include "image/bmp_image.h"

namespace qv {

namespace {

bool report(std::string* error, const std::string& reason) {
    if (error != nullptr) {
        *error = reason;
    }
    return false;
}

bool writeAll(std::FILE* stream, const void* bytes, std::size_t count) {
    return std::fwrite(bytes, 1, count, stream) == count;
}

// Headers, then every row padded with zero bytes to the file's row length.
bool writeContents(std::FILE* stream, int32_t width, int32_t height, const uint8_t* rows, int32_t rowBytes) {
    BmpFileHeader file;
    BmpInfoHeader info;
    const int32_t fileRowBytes = setHeaders(info, &file, width, height, 24);
    const FileHeaderBytes fileBytes = encodeFileHeader(file);
    const InfoHeaderBytes infoBytes = encodeInfoHeader(info);
    if (!writeAll(stream, fileBytes.data(), fileBytes.size()) ||
        !writeAll(stream, infoBytes.data(), infoBytes.size())) {
        return false;
    }
    std::vector<uint8_t> row(static_cast<std::size_t>(fileRowBytes), 0);
    for (int32_t i = 0; i < height; ++i) {
        std::copy_n(rows + static_cast<std::size_t>(i) * static_cast<std::size_t>(rowBytes),
                    3 * static_cast<std::size_t>(width), row.begin());
        if (!writeAll(stream, row.data(), row.size())) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool writeBmp24(const std::string& path, int32_t width, int32_t height, const uint8_t* bottomUpRows, int32_t rowBytes,
                std::string* error) {
    if (!pictureFits(width, height, 24)) {
        return report(error, "picture size out of range");
    }
    if (bottomUpRows == nullptr || int64_t{rowBytes} < 3 * int64_t{width}) {
        return report(error, "no pixels, or rows shorter than the picture is wide");
    }
    std::FILE* stream = std::fopen(path.c_str(), "wb");
    if (stream == nullptr) {
        return report(error, "cannot create " + path);
    }
    const bool written = writeContents(stream, width, height, bottomUpRows, rowBytes);
    const bool closed = std::fclose(stream) == 0;
    if (!written || !closed) {
        std::remove(path.c_str());
        return report(error, "cannot write " + path);
    }
    return true;
}

bool writeBmp24(const std::string& path, const BmpImage& image, std::string* error) {
    return writeBmp24(path, image.width(), image.height(), image.pixels.get(), image.rowBytes, error);
}

}  // namespace qv
