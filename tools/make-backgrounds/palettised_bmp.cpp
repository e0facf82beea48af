#include "palettised_bmp.h"

#include <vector>

#include "image/bmp_headers.h"
#include "image/picture_file.h"

namespace qv::tools {

bool writePalettisedBmp(const std::string& path, const PalettisedPicture& picture, std::string* error) {
    BmpFileHeader file;
    BmpInfoHeader info;
    const int32_t rowBytes = setHeaders(info, &file, picture.width, picture.height, 8);
    const auto paletteBytes = static_cast<uint32_t>(4 * picture.palette.size());
    file.dataOffset += paletteBytes;
    file.fileSize += paletteBytes;
    info.coloursUsed = static_cast<uint32_t>(picture.palette.size());

    const FileHeaderBytes fileBytes = encodeFileHeader(file);
    const InfoHeaderBytes infoBytes = encodeInfoHeader(info);
    std::vector<uint8_t> contents(fileBytes.begin(), fileBytes.end());
    contents.insert(contents.end(), infoBytes.begin(), infoBytes.end());
    for (const auto& entry : picture.palette) {
        contents.insert(contents.end(), {entry[0], entry[1], entry[2], 0});
    }
    for (int32_t row = 0; row < picture.height; ++row) {
        const auto first = picture.bottomUpIndices.begin() + static_cast<std::ptrdiff_t>(row) * picture.width;
        contents.insert(contents.end(), first, first + picture.width);
        contents.resize(contents.size() + static_cast<std::size_t>(rowBytes - picture.width), 0);
    }
    return writeWholeFile(path, contents, error);
}

}  // namespace qv::tools
