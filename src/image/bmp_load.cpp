#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "image/bmp_image.h"

// Reading BMP files. This is the one place where a file from outside reaches the program, so
// every size is checked before it is used and every read is checked for its full length.

namespace qv {

namespace {

struct FileCloser {
    void operator()(std::FILE* stream) const { std::fclose(stream); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

constexpr int32_t kPaletteEntries = 256;
constexpr int32_t kPaletteEntryBytes = 4;  // blue, green, red, reserved
constexpr std::size_t kUnknownSize = SIZE_MAX;
constexpr std::size_t kFirstCopyStep = std::size_t{64} << 10;

bool readExactly(std::FILE* stream, void* destination, std::size_t bytes) {
    return std::fread(destination, 1, bytes, stream) == bytes;
}

// The palette entries a file holds, told by the gap between the headers and its data offset.
// Files that claim fewer than 2 or more than 256 entries are read with a full palette.
uint32_t paletteEntryCount(uint32_t dataOffset) {
    const uint32_t entries = (dataOffset - static_cast<uint32_t>(kBmpHeadersSize)) / kPaletteEntryBytes;
    return entries < 2 || entries > kPaletteEntries ? kPaletteEntries : entries;
}

std::size_t paletteBytesOf(const BmpFileHeader& file) {
    return std::size_t{paletteEntryCount(file.dataOffset)} * kPaletteEntryBytes;
}

// The bytes of a picture's stored rows at `bitsPerPixel`; the caller has checked pictureFits.
std::size_t rowsBytesOf(const BmpInfoHeader& info, int32_t bitsPerPixel) {
    return static_cast<std::size_t>(paddedRowBytes(info.width, bitsPerPixel)) * static_cast<std::size_t>(info.height);
}

// What follows the headers of a picture we accept: the palette and the index rows, or the pixel rows.
std::size_t bodyBytesOf(const BmpFileHeader& file, const BmpInfoHeader& info) {
    return info.bitsPerPixel == 8 ? paletteBytesOf(file) + rowsBytesOf(info, 8) : rowsBytesOf(info, 24);
}

// The bytes left between the stream's position and its end, so that a tiny file cannot make the
// reader set aside a large block before it finds the data missing. Unknown for a stream that
// cannot seek.
std::size_t remainingBytes(std::FILE* stream) {
    const long position = std::ftell(stream);
    if (position < 0 || std::fseek(stream, 0, SEEK_END) != 0) {
        return kUnknownSize;
    }
    const long end = std::ftell(stream);
    if (std::fseek(stream, position, SEEK_SET) != 0 || end < position) {
        return kUnknownSize;
    }
    return static_cast<std::size_t>(end - position);
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

}  // namespace

// The bytes after the headers. A stream that can seek says how many it still holds; one that
// cannot is copied into memory first, in steps that grow with the data that has arrived, so that a
// header's claim alone never sets memory aside.
class BmpImage::Body {
public:
    explicit Body(std::FILE* stream) : stream_(stream), available_(remainingBytes(stream)) {}

    bool sizeKnown() const { return available_ != kUnknownSize; }
    std::size_t available() const { return available_; }

    // Copies up to `bytes` from the stream, fewer when it ends first. False when memory runs out.
    bool copyUpTo(std::size_t bytes) {
        copied_ = true;
        std::size_t step = kFirstCopyStep;
        try {
            while (copy_.size() < bytes) {
                const std::size_t start = copy_.size();
                const std::size_t wanted = std::min(bytes - start, step);
                copy_.resize(start + wanted);
                const std::size_t got = std::fread(copy_.data() + start, 1, wanted, stream_);
                copy_.resize(start + got);
                if (got < wanted) {
                    break;
                }
                step = copy_.size();
            }
        } catch (const std::bad_alloc&) {
            return false;
        }
        available_ = copy_.size();
        return true;
    }

    // Exactly `bytes`, or false when fewer are left.
    bool read(void* destination, std::size_t bytes) {
        if (bytes > available_) {
            return false;
        }
        available_ -= bytes;
        if (!copied_) {
            return readExactly(stream_, destination, bytes);
        }
        std::memcpy(destination, copy_.data() + position_, bytes);
        position_ += bytes;
        return true;
    }

private:
    std::FILE* stream_;
    std::size_t available_;
    bool copied_ = false;
    std::vector<uint8_t> copy_;
    std::size_t position_ = 0;
};

namespace {

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
    FileHeaderBytes fileBytes{};
    if (!readExactly(stream, fileBytes.data(), fileBytes.size())) {
        return fail("truncated file header");
    }
    InfoHeaderBytes infoBytes{};
    if (!readExactly(stream, infoBytes.data(), infoBytes.size())) {
        return fail("truncated info header");
    }
    fileHeader = decodeFileHeader(fileBytes);
    infoHeader = decodeInfoHeader(infoBytes);

    if (fileHeader.type != BmpFileHeader::kSignature) {
        return fail("not a BMP file (no \"BM\" signature)");
    }
    if (infoHeader.size != BmpInfoHeader::kSize) {
        return fail("unsupported info header (size is not 40)");
    }
    if (infoHeader.compression != 0) {
        return fail("compressed pictures are not supported");
    }
    if (infoHeader.bitsPerPixel != 8 && infoHeader.bitsPerPixel != 24) {
        return fail("unsupported bit depth (only 8 and 24 bits per pixel)");
    }
    if (infoHeader.width <= 0 || infoHeader.height <= 0) {
        return fail("width and height must be positive (top-down pictures are not supported)");
    }
    // The 24-bit block is the larger of the two an 8-bit file needs, so one check covers both.
    if (!pictureFits(infoHeader.width, infoHeader.height, 24)) {
        return fail("picture too large");
    }
    // Pixels are read straight after the headers; a 24-bit file that puts them elsewhere would be
    // misread, so it is refused.
    if (infoHeader.bitsPerPixel == 24 && fileHeader.dataOffset != static_cast<uint32_t>(kBmpHeadersSize)) {
        return fail("24-bit pixel data must start right after the headers (data offset 54)");
    }
    Body body(stream);
    if (!body.sizeKnown() && !body.copyUpTo(bodyBytesOf(fileHeader, infoHeader))) {
        return fail("out of memory for the picture");
    }
    return infoHeader.bitsPerPixel == 8 ? readPalettised(body) : readTrueColour(body);
}

int BmpImage::readPalettised(Body& body) {
    const int32_t pictureWidth = infoHeader.width;
    const int32_t pictureHeight = infoHeader.height;
    const auto indexRowBytes = static_cast<std::size_t>(paddedRowBytes(pictureWidth, 8));
    const std::size_t indexBytes = rowsBytesOf(infoHeader, 8);
    const std::size_t paletteBytes = paletteBytesOf(fileHeader);
    if (paletteBytes > body.available()) {
        return fail("truncated palette");
    }
    if (indexBytes > body.available() - paletteBytes) {
        return fail("truncated pixel data");
    }
    std::unique_ptr<uint8_t[]> indices(new (std::nothrow) uint8_t[indexBytes]);
    if (!indices) {
        return fail("out of memory for the picture's indices");
    }

    // Entries the file does not supply stay black.
    std::array<uint8_t, kPaletteEntries * kPaletteEntryBytes> palette{};
    if (!body.read(palette.data(), paletteBytes)) {
        return fail("truncated palette");
    }
    if (!body.read(indices.get(), indexBytes)) {
        return fail("truncated pixel data");
    }

    if (!allocate24(pictureWidth, pictureHeight)) {
        return fail("out of memory for the picture");
    }
    for (int32_t row = 0; row < pictureHeight; ++row) {
        const uint8_t* source = indices.get() + static_cast<std::size_t>(row) * indexRowBytes;
        uint8_t* destination = pixels.get() + static_cast<std::size_t>(row) * static_cast<std::size_t>(rowBytes);
        for (int32_t column = 0; column < pictureWidth; ++column) {
            const uint8_t* entry = &palette[std::size_t{source[column]} * kPaletteEntryBytes];
            std::memcpy(destination + 3 * column, entry, 3);
        }
    }
    error.clear();
    return 1;
}

int BmpImage::readTrueColour(Body& body) {
    // The size the file states is not trusted (it is often 0); the size its dimensions need is.
    if (rowsBytesOf(infoHeader, 24) > body.available()) {
        return fail("truncated pixel data");
    }
    if (!allocate24(infoHeader.width, infoHeader.height)) {
        return fail("out of memory for the picture");
    }
    if (!body.read(pixels.get(), infoHeader.imageSize)) {
        return fail("truncated pixel data");
    }
    error.clear();
    return 1;
}

}  // namespace qv
