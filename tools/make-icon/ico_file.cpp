#include "ico_file.h"

namespace qv {

namespace {

constexpr uint32_t kHeaderBytes = 6;
constexpr uint32_t kEntryBytes = 16;
constexpr uint16_t kIconType = 1;
constexpr uint16_t kBitsPerPixel = 32;

void appendLittleEndian(std::vector<uint8_t>& bytes, uint32_t value, int count) {
    for (int byte = 0; byte < count; ++byte) {
        bytes.push_back(static_cast<uint8_t>(value >> (8 * byte)));
    }
}

// A side of 256 is written as 0, the field being one byte.
uint8_t sideByte(int32_t size) { return static_cast<uint8_t>(size & 0xFF); }

}  // namespace

std::vector<uint8_t> packIco(const std::vector<IcoPicture>& pictures) {
    std::vector<uint8_t> file;
    appendLittleEndian(file, 0, 2);  // reserved
    appendLittleEndian(file, kIconType, 2);
    appendLittleEndian(file, static_cast<uint32_t>(pictures.size()), 2);
    auto offset = static_cast<uint32_t>(kHeaderBytes + kEntryBytes * pictures.size());
    for (const IcoPicture& picture : pictures) {
        file.push_back(sideByte(picture.size));
        file.push_back(sideByte(picture.size));
        file.push_back(0);  // no palette
        file.push_back(0);  // reserved
        appendLittleEndian(file, 1, 2);  // colour planes
        appendLittleEndian(file, kBitsPerPixel, 2);
        appendLittleEndian(file, static_cast<uint32_t>(picture.png.size()), 4);
        appendLittleEndian(file, offset, 4);
        offset += static_cast<uint32_t>(picture.png.size());
    }
    for (const IcoPicture& picture : pictures) {
        file.insert(file.end(), picture.png.begin(), picture.png.end());
    }
    return file;
}

}  // namespace qv
