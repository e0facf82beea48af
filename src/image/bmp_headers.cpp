#include "image/bmp_headers.h"

#include <type_traits>

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

// The file layout of each header, in one place for reading and writing: every field with its
// byte offset.
template <typename FileHeader, typename Visit>
void visitFileFields(FileHeader& file, Visit visit) {
    visit(0, file.type);
    visit(2, file.fileSize);
    visit(6, file.reserved1);
    visit(8, file.reserved2);
    visit(10, file.dataOffset);
}

template <typename InfoHeader, typename Visit>
void visitInfoFields(InfoHeader& info, Visit visit) {
    visit(0, info.size);
    visit(4, info.width);
    visit(8, info.height);
    visit(12, info.planes);
    visit(14, info.bitsPerPixel);
    visit(16, info.compression);
    visit(20, info.imageSize);
    visit(24, info.xResolution);
    visit(28, info.yResolution);
    visit(32, info.coloursUsed);
    visit(36, info.coloursImportant);
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
    visitFileFields(file, [&](std::size_t offset, auto field) { writeField(bytes, offset, field); });
    return bytes;
}

InfoHeaderBytes encodeInfoHeader(const BmpInfoHeader& info) {
    InfoHeaderBytes bytes{};
    visitInfoFields(info, [&](std::size_t offset, auto field) { writeField(bytes, offset, field); });
    return bytes;
}

BmpFileHeader decodeFileHeader(const FileHeaderBytes& bytes) {
    BmpFileHeader file;
    visitFileFields(file, [&](std::size_t offset, auto& field) {
        field = readField<std::remove_reference_t<decltype(field)>>(bytes, offset);
    });
    return file;
}

}  // namespace qv
