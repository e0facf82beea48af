#include <gtest/gtest.h>

#include <numeric>

#include "image/bmp_files.h"
#include "image/bmp_writer.h"

// Pictures in and out of files, their sizes and their scaling. The reader runs over real files;
// under AddressSanitizer/UBSan its refusals also show no out-of-bounds access or leak.

// No picture these tests read needs more than 32 MiB at once: under AddressSanitizer a reader that
// sets a large block aside before it finds the data missing is refused it, and says so.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1:max_allocation_size_mb=32"; }

namespace qv {
namespace {

using namespace testing;

// Every index goes through its palette entry; entries the file does not supply are black. The gap
// between headers and data offset tells the palette size; fewer than 2 or more than 256 entries
// mean a full palette of 256.
TEST(ReadBmp, EightBitFilesConvertThroughThePalette) {
    // width, height, entries in the file, limit of the indices used, data offset
    const std::array<int, 5> cases[] = {{3, 2, 2, 2, 62},     {5, 3, 16, 16, 118},     {7, 4, 256, 256, 1078},
                                        {3, 2, 2, 3, 62},     {7, 4, 256, 256, 54},    {7, 4, 256, 256, 58},
                                        {7, 4, 256, 256, 50}, {7, 4, 256, 256, 54 + 4 * 257}};
    for (auto [width, height, entries, indexLimit, dataOffset] : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::array{width, height, entries, indexLimit, dataOffset}));
        std::vector<Colour> palette;  // none black
        for (int i = 0; i < entries; ++i) {
            palette.push_back({uint8_t(i), uint8_t(255 - i), uint8_t(i * 7 + 1)});
        }
        Bytes indices;
        for (int32_t i = 0; i < width * height; ++i) {
            indices.push_back(static_cast<uint8_t>((i * 37 + 3) % indexLimit));
        }
        const Bytes file = put(bmpFile(width, height, 8, palette, indices), kDataOffset, uint32_t(dataOffset));
        BmpImage image;
        ASSERT_EQ(loadFile(image, file), 1) << image.lastError();
        for (int32_t i = 0; i < width * height; ++i) {
            const Colour expected = indices[i] < entries ? palette[indices[i]] : Colour{};
            EXPECT_EQ(pixelAt(image, i % width, i / width), expected) << "pixel " << i;
        }
    }
}

// A 24-bit file with padded rows, whatever image size it states, and what the writer makes of the
// picture read from it, read back unchanged; rows shorter than the picture is wide write no file.
TEST(ReadBmp, TrueColourFilesReadPaddedRowsBottomUp) {
    Bytes pixels(5 * 3 * 3);  // rows of 15 bytes
    std::iota(pixels.begin(), pixels.end(), 1);
    BmpImage image, written;
    constexpr unsigned kStatedImageSize = 34;
    ASSERT_EQ(loadFile(image, put(bmpFile(5, 3, 24, {}, pixels), kStatedImageSize, 0x7FFFFFFF)), 1) << image.lastError();
    const ScratchFolder folder;
    const std::string path = folder.in("written.bmp");
    std::string error;
    ASSERT_TRUE(writeBmp24(path, image, &error)) << error;  // from rows 16 bytes apart
    ASSERT_EQ(written.load(path.c_str()), 1) << written.lastError();
    EXPECT_EQ(image.rowBytes + written.rowBytes, 16 + 16);
    for (int32_t i = 0; i < 15; ++i) {
        const Colour expected{pixels[3 * i], pixels[3 * i + 1], pixels[3 * i + 2]};
        EXPECT_EQ(pixelAt(image, i % 5, i / 5), expected) << i;
        EXPECT_EQ(pixelAt(written, i % 5, i / 5), expected) << i;
    }
    std::filesystem::remove(path);
    EXPECT_FALSE(writeBmp24(path, 5, 2, pixels.data(), 14, &error) || std::filesystem::exists(path));
}

// A bad file is refused with a reason and empties an image that held a picture.
TEST(ReadBmp, MalformedFilesAreRefusedWithAReason) {
    const Bytes pal = bmpFile(3, 2, 8, {{1, 2, 3}, {4, 5, 6}}, {0, 1, 0, 1, 1, 0});
    const Bytes rgb = bmpFile(3, 2, 24, {}, Bytes(18, 9));
    auto cut = [](const Bytes& bytes, std::size_t length) { return Bytes(bytes.begin(), bytes.begin() + length); };
    auto sized = [](const Bytes& bytes, int32_t w, int32_t h) { return put(put(bytes, kWidth, w), kHeight, h); };
    const std::tuple<const char*, Bytes, const char*> cases[] = {
        // name, file, a part of the reason
        {"core header size", put(rgb, kInfoSize, 12), "size is not 40"},
        {"run-length compression", put(pal, kCompression, 1), "compressed"},
        {"16 bits", put(rgb, kBits, 16, 2), "bit depth"},
        {"32 bits", put(rgb, kBits, 32, 2), "bit depth"},
        {"zero width", sized(rgb, 0, 2), "positive"},
        {"negative width", sized(pal, -3, 2), "positive"},
        {"zero height", sized(pal, 3, 0), "positive"},
        {"top-down rows", sized(rgb, 3, -2), "positive"},
        {"row length beyond 32 bits", sized(rgb, INT32_MAX, 2), "too large"},
        {"image size beyond 32 bits", sized(rgb, 70000, 70000), "too large"},
        {"just over 256 MiB", sized(rgb, 4096, 21846), "too large"},
        {"8-bit over 256 MiB once converted", sized(pal, 65536, 1366), "too large"},
        {"24-bit data offset 58", put(rgb, kDataOffset, 58), "data offset 54"},
        {"huge with no pixel data", sized(rgb, 4096, 4096), "truncated pixel data"},
        {"huge 8-bit with no indices", sized(pal, 8192, 8192), "truncated pixel data"},
    };
    for (const auto& [name, file, reason] : cases) {
        BmpImage image;
        ASSERT_EQ(loadFile(image, rgb), 1);
        EXPECT_EQ(loadFile(image, file), 0) << name;
        EXPECT_TRUE(!image.hasPixels() && image.rowBytes == 0 && image.width() == 0 && image.infoHeader.imageSize == 0)
            << name;
        EXPECT_NE(image.lastError().find(reason), std::string::npos) << name << ": " << image.lastError();
    }
    for (const Bytes& whole : {pal, rgb}) {  // wherever a file ends early, it is refused, naming the part cut short
        for (std::size_t length = 0; length < whole.size(); ++length) {
            const std::string part = length < 14                        ? "file header"
                                     : length < 54                      ? "info header"
                                     : whole[kBits] == 8 && length < 62 ? "palette"
                                                                        : "pixel data";
            BmpImage image;
            EXPECT_EQ(loadFile(image, cut(whole, length)), 0) << length << " of " << whole.size();
            EXPECT_EQ(image.lastError(), "truncated " + part) << length << " of " << whole.size();
        }
    }
}

// Nearest neighbour from the top-left corner: new pixel (x, y) takes old (x * w / W, y * h / H).
TEST(Scale, EveryNewPixelComesFromItsNearestOldPixel) {
    EXPECT_EQ(BmpImage().scale(4, 4), 0);  // nothing to scale
    for (auto [width, height, newWidth, newHeight] :
         {std::array{2, 2, 4, 4}, {1, 3, 1, 2}, {3, 5, 11, 13}, {6, 4, 3, 2}, {300, 2, 600, 1}}) {
        BmpImage image = coordinatePicture(width, height);
        // Bad sizes are refused and leave the picture as it was, which the good scale then shows.
        EXPECT_EQ(image.scale(0, 4) + image.scale(4, -1) + image.scale(INT32_MAX, INT32_MAX), 0);
        ASSERT_EQ(image.scale(newWidth, newHeight), 1);
        EXPECT_EQ(std::pair(image.width(), image.height()), std::pair(newWidth, newHeight));
        for (int32_t i = 0; i < newWidth * newHeight; ++i) {
            const int32_t column = i % newWidth, row = i / newWidth;
            EXPECT_EQ(pixelAt(image, column, row), coordinates(column * width / newWidth, row * height / newHeight))
                << width << "x" << height << " to " << newWidth << "x" << newHeight << " at " << column << "," << row;
        }
    }
}

}  // namespace
}  // namespace qv
