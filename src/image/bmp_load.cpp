#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "image/bmp_body.h"
#include "image/bmp_image.h"
#include "image/bmp_layout.h"
#include "image/bmp_palette.h"
#include "image/bmp_rows.h"
#include "image/bmp_run_length.h"
#include "image/little_endian.h"

// Reading BMP files. This is the one place where a file from outside reaches the program, so
// every size is checked before it is used and every read is checked for its full length.

namespace qv {

namespace {

struct FileCloser {
    void operator()(std::FILE* stream) const { std::fclose(stream); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Run-length data is read no further than this. Whole data for the largest picture we hold takes
// about two bytes a pixel at the most, well within it; what lies beyond could only be junk.
constexpr std::size_t kLongestRunLengthData = kMaxPictureBytes;

bool readExactly(std::FILE* stream, void* destination, std::size_t bytes) {
    return std::fread(destination, 1, bytes, stream) == bytes;
}

// What follows the info header that the picture needs: masks, palette, any gap, and the pixel data.
std::size_t bytesAfterHeaders(const BmpLayout& layout) {
    const uint64_t pixelBytes = layout.runLength() ? kLongestRunLengthData : layout.storedBytes();
    return static_cast<std::size_t>(std::min<uint64_t>(layout.pixelStart - layout.tablesStart + pixelBytes, SIZE_MAX));
}

// What a file that is not a picture file is, for the line that refuses it.
const char* kindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "a directory";
    if (S_ISFIFO(mode)) return "a named pipe (FIFO)";
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a regular file";
}

// Reads both headers and tells from them how the picture is stored. Empty on success; otherwise
// why the file is not a picture we read.
std::string readLayout(std::FILE* stream, BmpLayout& layout) {
    FileHeaderBytes fileBytes{};
    if (!readExactly(stream, fileBytes.data(), fileBytes.size())) {
        return "truncated file header";
    }
    if (std::string refusal = signatureRefusal(fileBytes); !refusal.empty()) {
        return refusal;
    }
    // The info header's first field is its size, which tells how much more of it there is.
    InfoHeaderBlock info{};
    if (!readExactly(stream, info.data(), 4)) {
        return "truncated info header";
    }
    const uint32_t infoSize = littleEndian32(info.data());
    if (!infoHeaderSizeRead(infoSize)) {
        return "unsupported info header (size " + std::to_string(infoSize) +
               "; the sizes read are 12, 16, 40, 52, 56, 64, 108 and 124)";
    }
    if (!readExactly(stream, info.data() + 4, infoSize - 4)) {
        return "truncated info header";
    }
    return describeLayout(decodeFileHeader(fileBytes), info, layout);
}

// Reads what lies between the info header and the pixel data: the bit-field masks that follow a
// 40-byte header, the palette, and any gap before the data offset.
std::string readTables(BmpBody& body, BmpLayout& layout, BmpPalette& palette) {
    std::array<uint8_t, 16> masks{};
    if (!body.read(masks.data(), layout.masksAfterHeader)) {
        return "truncated bit-field masks";
    }
    if (layout.masksAfterHeader > 0) {
        for (std::size_t channel = 0; channel < layout.masks.size(); ++channel) {
            layout.masks[channel] = littleEndian32(&masks[4 * channel]);
        }
    }
    if (layout.coding == BmpLayout::Coding::bitFields) {
        if (std::string refusal = maskRefusal(layout); !refusal.empty()) {
            return refusal;
        }
    }
    std::array<uint8_t, 256 * 4> paletteBytes{};
    const std::size_t paletteLength = std::size_t{layout.paletteEntries} * layout.paletteEntryBytes;
    if (!body.read(paletteBytes.data(), paletteLength)) {
        return "truncated palette";
    }
    palette = paletteFrom(std::span(paletteBytes).first(paletteLength), layout.paletteEntryBytes);
    const uint64_t tablesEnd = layout.tablesStart + layout.masksAfterHeader + paletteLength;
    if (!body.skip(static_cast<std::size_t>(std::min<uint64_t>(layout.pixelStart - tablesEnd, SIZE_MAX)))) {
        return "truncated pixel data";
    }
    return {};
}

// The file, when it is a regular file after following links; otherwise nothing, and `error` says
// what it is.
FileHandle openPictureFile(const char* fileName, std::string& error) {
    // Without O_NONBLOCK, opening a named pipe would wait for a writer that may never come.
    const int descriptor = ::open(fileName, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        error = std::string("cannot open ") + fileName + ": " + std::strerror(errno);
        return nullptr;
    }
    struct stat status {};
    FileHandle stream;
    if (::fstat(descriptor, &status) != 0) {
        error = std::string("cannot open ") + fileName + ": " + std::strerror(errno);
    } else if (!S_ISREG(status.st_mode)) {
        error = std::string(fileName) + " is " + kindOf(status.st_mode) + ", not a picture file";
    } else {
        stream.reset(::fdopen(descriptor, "rb"));
        if (!stream) {
            error = std::string("cannot open ") + fileName + ": " + std::strerror(errno);
        }
    }
    if (!stream) {
        ::close(descriptor);
    }
    return stream;
}

}  // namespace

int BmpImage::load(const char* fileName) {
    const FileHandle stream = openPictureFile(fileName, error);
    return stream ? loadFrom(stream.get()) : 0;
}

int BmpImage::loadFrom(std::FILE* stream) {
    clear();
    BmpLayout layout;
    if (std::string refusal = readLayout(stream, layout); !refusal.empty()) {
        return fail(std::move(refusal));
    }
    BmpBody body(stream);
    if (!body.sizeKnown() && !body.holdUpTo(bytesAfterHeaders(layout))) {
        return fail("out of memory for the picture");
    }
    BmpPalette palette;
    if (std::string refusal = readTables(body, layout, palette); !refusal.empty()) {
        return fail(std::move(refusal));
    }
    if (layout.runLength()) {
        return readRunLength(body, layout, palette);
    }
    return layout.coding == BmpLayout::Coding::trueColour ? readTrueColour(body, layout)
                                                          : readStoredRows(body, layout, palette);
}

int BmpImage::readTrueColour(BmpBody& body, const BmpLayout& layout) {
    // The size the file states is not trusted (it is often 0); the size its dimensions need is.
    if (layout.storedBytes() > body.available()) {
        return fail("truncated pixel data");
    }
    if (!allocate24(layout.width, layout.height)) {
        return fail("out of memory for the picture");
    }
    if (!body.read(pixels.get(), infoHeader.imageSize)) {
        return fail("truncated pixel data");
    }
    if (layout.topDown) {
        flipRows(view());
    }
    error.clear();
    return 1;
}

int BmpImage::readStoredRows(BmpBody& body, const BmpLayout& layout, const BmpPalette& palette) {
    const uint64_t storedBytes = layout.storedBytes();
    if (storedBytes > body.available()) {
        return fail("truncated pixel data");
    }
    std::unique_ptr<uint8_t[]> stored(new (std::nothrow) uint8_t[storedBytes]);
    if (!stored) {
        return fail("out of memory for the picture's rows");
    }
    if (!body.read(stored.get(), storedBytes)) {
        return fail("truncated pixel data");
    }
    if (!allocate24(layout.width, layout.height)) {
        return fail("out of memory for the picture");
    }
    convertStoredRows(layout, stored.get(), palette, view());
    error.clear();
    return 1;
}

int BmpImage::readRunLength(BmpBody& body, const BmpLayout& layout, const BmpPalette& palette) {
    if (!body.holdUpTo(std::min(body.available(), kLongestRunLengthData))) {
        return fail("out of memory for the picture");
    }
    // Walked once without a picture, so that data cut short is found before memory is set aside
    // for a picture it cannot fill.
    if (!decodeRunLength(layout, body.held(), palette, nullptr)) {
        return fail("truncated pixel data");
    }
    if (!allocate24(layout.width, layout.height)) {
        return fail("out of memory for the picture");
    }
    const PictureView destination = view();
    decodeRunLength(layout, body.held(), palette, &destination);
    error.clear();
    return 1;
}

}  // namespace qv
