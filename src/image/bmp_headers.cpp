#include "image/bmp_headers.h"

namespace qv {

namespace {

// Little-endian field access at a byte offset of a header.
template <typename Value, std::size_t N>
Value readField(const std::array<uint8_t, N>& bytes, std::size_t offset) {
    uint32_t value = 0;
    for (std::size_t i = 0; i < sizeof(Value); ++i) {
        value |= uint32_t{bytes[offset + i]} << (8 * i);
    }
    return static_cast<Value>(value);
}

template <typename Value, std::size_t N>
void writeField(std::array<uint8_t, N>& bytes, std::size_t offset, Value field) {
    const auto value = static_cast<uint32_t>(field);
    for (std::size_t i = 0; i < sizeof(Value); ++i) {
        bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

}  // namespace

int32_t setHeaders(BmpInfoHeader& info, BmpFileHeader* file, int32_t width, int32_t height, int32_t bitsPerPixel) {
    const int64_t rowBytes = paddedRowBytes(width, bitsPerPixel);
    const auto imageSize = static_cast<uint32_t>(rowBytes * height);
    info = BmpInfoHeader{};
    info.size = BmpInfoHeader::kSize;
    info.width = width;
    info.height = height;
    info.planes = 1;
    info.bitsPerPixel = static_cast<uint16_t>(bitsPerPixel);
    info.imageSize = imageSize;
    if (file != nullptr) {
        *file = BmpFileHeader{};
        file->type = BmpFileHeader::kSignature;
        file->dataOffset = kBmpHeadersSize;
        file->fileSize = imageSize + kBmpHeadersSize;
    }
    return static_cast<int32_t>(rowBytes);
}

void setEmptyHeaders(BmpInfoHeader& info, BmpFileHeader* file) { setHeaders(info, file, 0, 0, 1); }

bool pictureFits(int32_t width, int32_t height, int32_t bitsPerPixel) {
    if (width <= 0 || height <= 0 || bitsPerPixel <= 0) {
        return false;
    }
    const int64_t rowBytes = paddedRowBytes(width, bitsPerPixel);
    // Checked one factor at a time so that the product itself cannot overflow.
    return rowBytes <= kMaxPictureBytes && rowBytes * height <= kMaxPictureBytes;
}

FileHeaderBytes encodeFileHeader(const BmpFileHeader& file) {
    FileHeaderBytes bytes{};
    writeField(bytes, 0, file.type);
    writeField(bytes, 2, file.fileSize);
    writeField(bytes, 6, file.reserved1);
    writeField(bytes, 8, file.reserved2);
    writeField(bytes, 10, file.dataOffset);
    return bytes;
}

InfoHeaderBytes encodeInfoHeader(const BmpInfoHeader& info) {
    InfoHeaderBytes bytes{};
    writeField(bytes, 0, info.size);
    writeField(bytes, 4, info.width);
    writeField(bytes, 8, info.height);
    writeField(bytes, 12, info.planes);
    writeField(bytes, 14, info.bitsPerPixel);
    writeField(bytes, 16, info.compression);
    writeField(bytes, 20, info.imageSize);
    writeField(bytes, 24, info.xResolution);
    writeField(bytes, 28, info.yResolution);
    writeField(bytes, 32, info.coloursUsed);
    writeField(bytes, 36, info.coloursImportant);
    return bytes;
}

BmpFileHeader decodeFileHeader(const FileHeaderBytes& bytes) {
    BmpFileHeader file;
    file.type = readField<uint16_t>(bytes, 0);
    file.fileSize = readField<uint32_t>(bytes, 2);
    file.reserved1 = readField<uint16_t>(bytes, 6);
    file.reserved2 = readField<uint16_t>(bytes, 8);
    file.dataOffset = readField<uint32_t>(bytes, 10);
    return file;
}

BmpInfoHeader decodeInfoHeader(const InfoHeaderBytes& bytes) {
    BmpInfoHeader info;
    info.size = readField<uint32_t>(bytes, 0);
    info.width = readField<int32_t>(bytes, 4);
    info.height = readField<int32_t>(bytes, 8);
    info.planes = readField<uint16_t>(bytes, 12);
    info.bitsPerPixel = readField<uint16_t>(bytes, 14);
    info.compression = readField<uint32_t>(bytes, 16);
    info.imageSize = readField<uint32_t>(bytes, 20);
    info.xResolution = readField<int32_t>(bytes, 24);
    info.yResolution = readField<int32_t>(bytes, 28);
    info.coloursUsed = readField<uint32_t>(bytes, 32);
    info.coloursImportant = readField<uint32_t>(bytes, 36);
    return info;
}

}  // namespace qv
