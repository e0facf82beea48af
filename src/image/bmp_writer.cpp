#include "image/bmp_writer.h"

#include <algorithm>
#include <new>
#include <vector>

#include "image/bmp_headers.h"
#include "image/bmp_image.h"
#include "image/picture_file.h"

namespace qv {

namespace {

bool report(std::string* error, const std::string& reason) {
    if (error != nullptr) {
        *error = reason;
    }
    return false;
}

// Headers, then every row padded with zero bytes to the file's row length.
std::vector<uint8_t> fileContents(int32_t width, int32_t height, const uint8_t* rows, int32_t rowBytes) {
    BmpFileHeader file;
    BmpInfoHeader info;
    const int32_t fileRowBytes = setHeaders(info, &file, width, height, 24);
    const FileHeaderBytes fileBytes = encodeFileHeader(file);
    const InfoHeaderBytes infoBytes = encodeInfoHeader(info);
    std::vector<uint8_t> contents(file.fileSize, 0);
    auto out = std::copy(fileBytes.begin(), fileBytes.end(), contents.begin());
    out = std::copy(infoBytes.begin(), infoBytes.end(), out);
    for (int32_t i = 0; i < height; ++i, out += fileRowBytes) {
        std::copy_n(rows + static_cast<std::size_t>(i) * static_cast<std::size_t>(rowBytes),
                    3 * static_cast<std::size_t>(width), out);
    }
    return contents;
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
    try {
        return writeWholeFile(path, fileContents(width, height, bottomUpRows, rowBytes), error);
    } catch (const std::bad_alloc&) {
        return report(error, "cannot write " + path + ": out of memory");
    }
}

bool writeBmp24(const std::string& path, const BmpImage& image, std::string* error) {
    return writeBmp24(path, image.width(), image.height(), image.pixels.get(), image.rowBytes, error);
}

}  // namespace qv
