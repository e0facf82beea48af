#include "palettised_bmp.h"

#include <fstream>

#include "image/bmp_headers.h"

namespace qv::tools {

bool writePalettisedBmp(const std::string& path, const PalettisedPicture& picture, std::string* error) {
    BmpFileHeader file;
    BmpInfoHeader info;
    const int32_t rowBytes = setHeaders(info, &file, picture.width, picture.height, 8);
    const auto paletteBytes = static_cast<uint32_t>(4 * picture.palette.size());
    file.dataOffset += paletteBytes;
    file.fileSize += paletteBytes;
    info.coloursUsed = static_cast<uint32_t>(picture.palette.size());

    std::ofstream out(path, std::ios::binary);
    const FileHeaderBytes fileBytes = encodeFileHeader(file);
    const InfoHeaderBytes infoBytes = encodeInfoHeader(info);
    out.write(reinterpret_cast<const char*>(fileBytes.data()), fileBytes.size());
    out.write(reinterpret_cast<const char*>(infoBytes.data()), infoBytes.size());
    for (const auto& entry : picture.palette) {
        const char bytes[4] = {static_cast<char>(entry[0]), static_cast<char>(entry[1]), static_cast<char>(entry[2]),
                               0};
        out.write(bytes, 4);
    }
    const std::string padding(static_cast<std::size_t>(rowBytes - picture.width), '\0');
    for (int32_t row = 0; row < picture.height; ++row) {
        out.write(reinterpret_cast<const char*>(picture.bottomUpIndices.data()) +
                      static_cast<std::size_t>(row) * picture.width,
                  picture.width);
        out.write(padding.data(), static_cast<std::streamsize>(padding.size()));
    }
    out.close();
    if (!out) {
        *error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace qv::tools
