#pragma once

#include <cstdint>
#include <string>

namespace qv {

class BmpImage;

// Writes an uncompressed 24-bit BMP file from width x height pixels given as bottom-up rows of
// blue, green, red, each `rowBytes` apart (rowBytes >= 3 * width). True on success; on failure
// *error (when given) says why. The file is written as writeWholeFile does: a failed write never
// removes the path and leaves an old regular file as it was.
bool writeBmp24(const std::string& path, int32_t width, int32_t height, const uint8_t* bottomUpRows, int32_t rowBytes,
                std::string* error);
// The same for a picture held in memory.
bool writeBmp24(const std::string& path, const BmpImage& image, std::string* error);

}  // namespace qv
