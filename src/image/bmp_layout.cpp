#include "image/bmp_layout.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <string_view>

#include "image/little_endian.h"

// What a BMP file's headers say about its picture. The headers come from outside, so every value
// is checked here before the reader sizes anything by it, and positions are kept in 64 bits.

namespace qv {

namespace {

// The compression field's values.
enum Compression : uint32_t {
    kUncompressed = 0,
    kRunLength8 = 1,
    kRunLength4 = 2,
    kBitFields = 3,  // Huffman 1D in OS/2 files
    kJpeg = 4,       // 24-bit runs (RLE24) in OS/2 files
    kPng = 5,
    kAlphaBitFields = 6,
    kCmyk = 11,
    kCmykRunLength8 = 12,
    kCmykRunLength4 = 13,
};

constexpr uint32_t kCoreHeader = 12;          // OS/2 1.x: 16-bit sizes, no compression, 3-byte entries
constexpr uint32_t kWindowsHeader = 40;       // the header whose 8-bit palettes follow the old rule
constexpr uint32_t kHeaderWithMasks = 52;     // from here on the masks lie inside the header
constexpr uint32_t kLegacyPaletteEntries = 256;

// The fields we use, from any header size.
struct InfoFields {
    uint32_t size = 0;
    int64_t width = 0;
    int64_t height = 0;
    uint32_t bitsPerPixel = 0;
    uint32_t compression = kUncompressed;
    uint32_t coloursUsed = 0;
    std::array<uint32_t, 3> masks{};
};

InfoFields readFields(const InfoHeaderBlock& info) {
    InfoFields fields;
    fields.size = littleEndian32(&info[0]);
    if (fields.size == kCoreHeader) {
        fields.width = littleEndian16(&info[4]);
        fields.height = littleEndian16(&info[6]);
        fields.bitsPerPixel = littleEndian16(&info[10]);
        return fields;
    }
    fields.width = static_cast<int32_t>(littleEndian32(&info[4]));
    fields.height = static_cast<int32_t>(littleEndian32(&info[8]));
    fields.bitsPerPixel = littleEndian16(&info[14]);
    fields.compression = littleEndian32(&info[16]);
    fields.coloursUsed = littleEndian32(&info[32]);
    for (std::size_t channel = 0; channel < fields.masks.size(); ++channel) {
        fields.masks[channel] = littleEndian32(&info[40 + 4 * channel]);
    }
    return fields;
}

// OS/2 2.x headers give two compression values other meanings than Windows does.
bool os2Header(uint32_t size) { return size == 16 || size == 64; }

std::string compressionRefusal(const InfoFields& fields) {
    const bool os2 = os2Header(fields.size);
    switch (fields.compression) {
        case kUncompressed:
        case kRunLength8:
        case kRunLength4:
        case kAlphaBitFields:
            return {};
        case kBitFields:  // bit fields need 16 or 32 bits, so a 1-bit picture is OS/2's Huffman coding
            return os2 || fields.bitsPerPixel == 1 ? "Huffman-compressed pictures are not supported" : "";
        case kJpeg:
            return os2 || fields.bitsPerPixel == 24 ? "24-bit run-length (RLE24) pictures are not supported"
                                                    : "a JPEG picture inside a BMP file is not supported";
        case kPng:
            return "a PNG picture inside a BMP file is not supported";
        case kCmyk:
        case kCmykRunLength8:
        case kCmykRunLength4:
            return "CMYK pictures are not supported";
        default:
            return "unknown compression (" + std::to_string(fields.compression) + ")";
    }
}

std::string depthRefusal(const char* coding, const char* needs, uint32_t bitsPerPixel) {
    return std::string(coding) + " needs " + needs + " bits per pixel, not " + std::to_string(bitsPerPixel);
}

// The coding, from the compression and the bit depth; masks too where the header gives them.
std::string chooseCoding(const InfoFields& fields, BmpLayout& layout) {
    using Coding = BmpLayout::Coding;
    const uint32_t bits = fields.bitsPerPixel;
    switch (fields.compression) {
        case kRunLength8:
            layout.coding = Coding::runLength8;
            return bits == 8 ? "" : depthRefusal("RLE8 compression", "8", bits);
        case kRunLength4:
            layout.coding = Coding::runLength4;
            return bits == 4 ? "" : depthRefusal("RLE4 compression", "4", bits);
        case kBitFields:
        case kAlphaBitFields:
            layout.coding = Coding::bitFields;
            if (fields.size >= kHeaderWithMasks) {
                layout.masks = fields.masks;
            } else {  // a 40-byte header: the masks follow it, with the alpha mask when there is one
                layout.masksAfterHeader = fields.compression == kAlphaBitFields ? 16 : 12;
            }
            return bits == 16 || bits == 32 ? "" : depthRefusal("a bit-field picture", "16 or 32", bits);
        default:
            break;
    }
    switch (bits) {
        case 1:
        case 4:
        case 8:
            layout.coding = Coding::indexed;
            return {};
        case 16:  // five bits a colour
            layout.coding = Coding::bitFields;
            layout.masks = {0x7C00, 0x03E0, 0x001F};
            return {};
        case 24:
            layout.coding = Coding::trueColour;
            return {};
        case 32:  // a byte a colour, the fourth byte unused
            layout.coding = Coding::bitFields;
            layout.masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
            return {};
        default:
            return "unsupported bit depth (" + std::to_string(bits) + " bits per pixel)";
    }
}

std::string sizeRefusal(const InfoFields& fields, BmpLayout& layout) {
    if (fields.width <= 0) {
        return "width must be positive, not " + std::to_string(fields.width);
    }
    if (fields.height == 0) {
        return "height must not be 0";
    }
    const int64_t rows = fields.height < 0 ? -fields.height : fields.height;
    const auto largestDepth = static_cast<int32_t>(std::max<uint32_t>(24, fields.bitsPerPixel));
    if (rows > INT32_MAX || !pictureFits(static_cast<int32_t>(fields.width), static_cast<int32_t>(rows), largestDepth)) {
        return "picture too large";
    }
    layout.width = static_cast<int32_t>(fields.width);
    layout.height = static_cast<int32_t>(rows);
    layout.topDown = fields.height < 0;
    return {};
}

// A 40-byte, 8-bit uncompressed file has always been read this way: the gap between the headers and
// the data offset tells the palette's size, and a gap of fewer than 2 or more than 256 entries means
// a full palette. The pixels follow the palette, or start at the data offset when it lies further on.
void placeLegacyPalette(uint32_t dataOffset, BmpLayout& layout) {
    const uint32_t entries = (dataOffset - static_cast<uint32_t>(kBmpHeadersSize)) / layout.paletteEntryBytes;
    layout.paletteEntries = entries < 2 || entries > kLegacyPaletteEntries ? kLegacyPaletteEntries : entries;
    layout.pixelStart =
        std::max<uint64_t>(layout.tablesStart + uint64_t{layout.paletteEntries} * layout.paletteEntryBytes, dataOffset);
}

// Every other file: the palette holds the entries the header counts (all that the depth can index
// when it says 0), and the pixels start at the data offset, which cuts a palette that would reach
// past it. A data offset that points back into the headers is taken as unset.
std::string placePalette(const InfoFields& fields, uint32_t dataOffset, BmpLayout& layout) {
    const bool indexed = layout.coding == BmpLayout::Coding::indexed || layout.runLength();
    const uint32_t depthEntries = indexed ? uint32_t{1} << fields.bitsPerPixel : 0;
    const uint64_t storedEntries = fields.coloursUsed != 0 ? fields.coloursUsed : depthEntries;
    uint64_t entries = std::min<uint64_t>(storedEntries, depthEntries);
    const uint64_t paletteStart = layout.tablesStart + layout.masksAfterHeader;
    if (dataOffset >= paletteStart) {
        entries = std::min<uint64_t>(entries, (dataOffset - paletteStart) / layout.paletteEntryBytes);
        layout.pixelStart = dataOffset;
    } else {
        layout.pixelStart = paletteStart + storedEntries * layout.paletteEntryBytes;
    }
    layout.paletteEntries = static_cast<uint32_t>(entries);
    if (indexed && entries == 0) {
        return "no room for a palette before the pixel data (data offset " + std::to_string(dataOffset) + ")";
    }
    return {};
}

std::string hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
    return text;
}

}  // namespace

bool infoHeaderSizeRead(uint32_t size) {
    constexpr uint32_t sizes[] = {12, 16, 40, 52, 56, 64, 108, 124};
    return std::find(std::begin(sizes), std::end(sizes), size) != std::end(sizes);
}

uint64_t BmpLayout::storedRowBytes() const {
    return (uint64_t{static_cast<uint32_t>(width)} * static_cast<uint32_t>(bitsPerPixel) + 31) / 32 * 4;
}

uint64_t BmpLayout::storedBytes() const { return storedRowBytes() * static_cast<uint32_t>(height); }

int32_t BmpLayout::pictureRowOf(int64_t storedRow) const {
    return static_cast<int32_t>(topDown ? storedRow : height - 1 - storedRow);
}

std::string signatureRefusal(const FileHeaderBytes& bytes) {
    struct Kind {
        std::string_view start;
        const char* refusal;
    };
    static constexpr Kind kinds[] = {
        {"BM", ""},
        {"\x89PNG", "not a BMP file (a PNG picture)"},
        {"\xFF\xD8\xFF", "not a BMP file (a JPEG picture)"},
        {"GIF8", "not a BMP file (a GIF picture)"},
        {"BA", "not a single picture (an OS/2 bitmap array)"},
        {"CI", "not a picture (an OS/2 icon)"},
        {"IC", "not a picture (an OS/2 icon)"},
        {"CP", "not a picture (an OS/2 pointer)"},
        {"PT", "not a picture (an OS/2 pointer)"},
    };
    const std::string_view start(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    for (const Kind& kind : kinds) {
        if (start.starts_with(kind.start)) {
            return kind.refusal;
        }
    }
    return "not a BMP file (no \"BM\" signature)";
}

std::string describeLayout(const BmpFileHeader& file, const InfoHeaderBlock& info, BmpLayout& layout) {
    const InfoFields fields = readFields(info);
    layout = BmpLayout{};
    std::string refusal = compressionRefusal(fields);
    if (refusal.empty()) refusal = chooseCoding(fields, layout);
    if (refusal.empty()) refusal = sizeRefusal(fields, layout);
    if (!refusal.empty()) {
        return refusal;
    }
    layout.bitsPerPixel = static_cast<int32_t>(fields.bitsPerPixel);
    layout.tablesStart = BmpFileHeader::kSize + uint64_t{fields.size};
    layout.paletteEntryBytes = fields.size == kCoreHeader ? 3 : 4;
    if (fields.size == kWindowsHeader && fields.bitsPerPixel == 8 && fields.compression == kUncompressed) {
        placeLegacyPalette(file.dataOffset, layout);
        return {};
    }
    return placePalette(fields, file.dataOffset, layout);
}

std::string maskRefusal(const BmpLayout& layout) {
    static constexpr const char* names[] = {"red", "green", "blue"};
    for (std::size_t channel = 0; channel < layout.masks.size(); ++channel) {
        const uint32_t mask = layout.masks[channel];
        if (layout.bitsPerPixel == 16 && mask > 0xFFFF) {
            return std::string(names[channel]) + " mask " + hex(mask) + " does not fit a 16-bit pixel";
        }
        const uint32_t run = mask == 0 ? 0 : mask >> std::countr_zero(mask);
        if ((run & (run + 1)) != 0) {
            return std::string(names[channel]) + " mask " + hex(mask) + " is not one run of bits";
        }
    }
    return {};
}

}  // namespace qv
