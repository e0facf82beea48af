#include <gtest/gtest.h>

#include <numeric>

#include "image/bmp_recipes.h"
#include "image/bmp_writer.h"

// Pictures in and out of files, their sizes and their scaling. The reader runs over real files;
// under AddressSanitizer/UBSan its refusals also show no out-of-bounds access or leak.

// No picture these tests read needs more than 32 MiB at once: under AddressSanitizer a reader that
// sets a large block aside before it finds the data missing is refused it, and says so.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1:max_allocation_size_mb=32"; }

namespace qv {
namespace {

using namespace testing;

// 40-byte 8-bit files: every index goes through its palette entry; entries the file does not
// supply are black. The gap between headers and data offset tells the palette size; fewer than 2 or
// more than 256 entries mean a full palette of 256. The indices follow the palette, or start at
// the data offset when it lies further on.
TEST(ReadBmp, EightBitFilesConvertThroughThePalette) {
    // width, height, entries in the file, limit of the indices used, data offset, bytes of gap
    const std::array<int, 6> cases[] = {
        {3, 2, 2, 2, 62, 0},     {5, 3, 16, 16, 118, 0}, {7, 4, 256, 256, 1078, 0}, {3, 2, 2, 3, 62, 0},
        {7, 4, 256, 256, 54, 0}, {7, 4, 256, 256, 58, 0}, {7, 4, 256, 256, 50, 0},
        {7, 4, 256, 256, 54 + 4 * 257, 4}, {5, 3, 16, 16, 54 + 4 * 16 + 2, 2}};
    for (auto [width, height, entries, indexLimit, dataOffset, gap] : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::array{width, height, entries, indexLimit, dataOffset, gap}));
        std::vector<Colour> palette;  // none black
        for (int i = 0; i < entries; ++i) {
            palette.push_back({uint8_t(i), uint8_t(255 - i), uint8_t(i * 7 + 1)});
        }
        Bytes indices;
        for (int32_t i = 0; i < width * height; ++i) {
            indices.push_back(static_cast<uint8_t>((i * 37 + 3) % indexLimit));
        }
        Bytes file = put(bmpFile(width, height, 8, palette, indices), kDataOffset, uint32_t(dataOffset));
        file.insert(file.begin() + 54 + 4 * entries, gap, 0x77);
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

// A bad file is refused with its true reason and empties an image that held a picture.
TEST(ReadBmp, MalformedFilesAreRefusedWithTheirReason) {
    const Bytes pal = bmpFile(3, 2, 8, {{1, 2, 3}, {4, 5, 6}}, {0, 1, 0, 1, 1, 0});
    const Bytes rgb = bmpFile(3, 2, 24, {}, Bytes(18, 9));
    const auto sized = [](const Bytes& bytes, int32_t w, int32_t h) { return put(put(bytes, kWidth, w), kHeight, h); };
    const auto fields = [](std::vector<uint32_t> masks) {
        return bmpFrom({.width = 3, .height = 2, .bits = 16, .compression = kBitFields, .masks = masks, .pixels = Bytes(16)});
    };
    Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    png.resize(80);
    const Bytes runLength = bmpFrom({.bits = 8, .compression = kRle8, .palette = paletteOf(8), .pixels = runLengthData(false)});
    const std::tuple<const char*, Bytes, const char*> cases[] = {
        // name, file, the reason or its start
        {"a PNG file", png, "not a BMP file (a PNG picture)"},
        {"an OS/2 bitmap array", put(rgb, kType, 'B' | 'A' << 8, 2), "not a single picture (an OS/2 bitmap array)"},
        {"a 20-byte info header", put(rgb, kInfoSize, 20), "unsupported info header (size 20;"},
        {"a JPEG inside", put(put(rgb, kCompression, kJpeg), kBits, 0, 2), "a JPEG picture inside a BMP file is not supported"},
        {"a PNG inside", put(put(rgb, kCompression, kPng), kBits, 0, 2), "a PNG picture inside a BMP file is not supported"},
        {"OS/2 Huffman coding", bmpFrom({.infoSize = 64, .bits = 1, .compression = kBitFields}),
         "Huffman-compressed pictures are not supported"},
        {"OS/2 24-bit runs", bmpFrom({.infoSize = 64, .bits = 24, .compression = kJpeg}),
         "24-bit run-length (RLE24) pictures are not supported"},
        {"CMYK", put(rgb, kCompression, 11), "CMYK pictures are not supported"},
        {"an unknown compression", put(rgb, kCompression, 9), "unknown compression (9)"},
        {"2 bits", put(pal, kBits, 2, 2), "unsupported bit depth (2 bits per pixel)"},
        {"RLE8 at 4 bits", put(put(pal, kBits, 4, 2), kCompression, kRle8), "RLE8 compression needs 8 bits per pixel, not 4"},
        {"bit fields at 24 bits", put(rgb, kCompression, kBitFields), "a bit-field picture needs 16 or 32 bits per pixel, not 24"},
        {"a mask of two runs", fields({0x505, 0x3E0, 0x1F}), "red mask 0x00000505 is not one run of bits"},
        {"a mask beyond 16 bits", fields({0x7C00, 0x10000, 0x1F}), "green mask 0x00010000 does not fit a 16-bit pixel"},
        {"no room for a palette", bmpFrom({.infoSize = 124, .bits = 4, .pixels = Bytes(40)}),
         "no room for a palette before the pixel data (data offset 138)"},
        {"zero width", sized(rgb, 0, 2), "width must be positive, not 0"},
        {"negative width", sized(pal, -3, 2), "width must be positive, not -3"},
        {"zero height", sized(pal, 3, 0), "height must not be 0"},
        {"the most negative height", sized(rgb, 3, INT32_MIN), "picture too large"},
        {"row length beyond 32 bits", sized(rgb, INT32_MAX, 2), "picture too large"},
        {"image size beyond 32 bits", sized(rgb, 70000, 70000), "picture too large"},
        {"just over 256 MiB", sized(rgb, 4096, 21846), "picture too large"},
        {"8-bit over 256 MiB once converted", sized(pal, 65536, 1366), "picture too large"},
        {"huge with no pixel data", sized(rgb, 4096, 4096), "truncated pixel data"},
        {"huge 8-bit with no indices", sized(pal, 8192, 8192), "truncated pixel data"},
        {"huge run-length picture, its runs cut before the end", sized(Bytes(runLength.begin(), runLength.end() - 2), 8192, 8192),
         "truncated pixel data"},
    };
    for (const auto& [name, file, reason] : cases) {
        BmpImage image;
        ASSERT_EQ(loadFile(image, rgb), 1);
        EXPECT_EQ(loadFile(image, file), 0) << name;
        EXPECT_TRUE(!image.hasPixels() && image.rowBytes == 0 && image.width() == 0 && image.infoHeader.imageSize == 0)
            << name;
        EXPECT_TRUE(image.lastError().starts_with(reason)) << name << ": " << image.lastError();
    }
}

// Wherever a file ends early it is refused, naming the part cut short: headers, the masks after a
// 40-byte header, the palette (of 3-byte entries in OS/2 1.x files), the pixels or their runs.
TEST(ReadBmp, FilesCutShortAreRefusedNamingThePart) {
    const BmpRecipe recipes[] = {
        {.width = 3, .height = 2, .bits = 8, .palette = paletteOf(2), .pixels = Bytes(8, 1)},
        {.width = 3, .height = 2, .pixels = Bytes(24, 9)},
        {.width = 3, .height = 2, .bits = 16, .compression = kBitFields, .masks = {0xF800, 0x7E0, 0x1F}, .pixels = Bytes(16)},
        {.infoSize = 12, .width = 3, .height = 2, .bits = 4, .palette = paletteOf(16), .pixels = Bytes(8, 0x12)},
        {.infoSize = 124, .bits = 4, .compression = kRle4, .palette = paletteOf(8), .coloursUsed = 8,
         .pixels = runLengthData(true)},
    };
    for (const BmpRecipe& recipe : recipes) {
        const Bytes whole = bmpFrom(recipe);
        const std::size_t infoEnd = 14 + recipe.infoSize;
        const std::size_t masksEnd = infoEnd + (recipe.infoSize == 40 ? 4 * recipe.masks.size() : 0);
        const std::size_t paletteEnd = masksEnd + recipe.palette.size() * (recipe.infoSize == 12 ? 3 : 4);
        BmpImage image;
        ASSERT_EQ(loadFile(image, whole), 1) << image.lastError();
        for (std::size_t length = 0; length < whole.size(); ++length) {
            const std::string part = length < 14           ? "file header"
                                     : length < infoEnd    ? "info header"
                                     : length < masksEnd   ? "bit-field masks"
                                     : length < paletteEnd ? "palette"
                                                           : "pixel data";
            EXPECT_EQ(loadFile(image, Bytes(whole.begin(), whole.begin() + length)), 0) << length << " of " << whole.size();
            EXPECT_EQ(image.lastError(), "truncated " + part) << length << " of " << whole.size();
        }
    }
}

// Run-length pixels the data never reaches are black, whatever the palette's first entry; a run
// past the end of its row stops there, and a jump past the last row ends the picture. Rows stored
// top-down are placed as they say.
TEST(ReadBmp, RunLengthPixelsTheDataNeverReachesAreBlack) {
    const Colour red{0, 0, 255}, green{0, 255, 0}, black{};
    for (const int32_t height : {3, -3}) {
        const Bytes runs{6, 1, 0, 0, 0, 2, 1, 5};  // 6 of green on a row of 4, next row, jump out
        BmpImage image;
        ASSERT_EQ(loadFile(image, bmpFrom({.width = 4, .height = height, .bits = 8, .compression = kRle8,
                                           .palette = {red, green}, .coloursUsed = 2, .pixels = runs})),
                  1)
            << image.lastError();
        const int32_t firstStoredRow = height > 0 ? 2 : 0;
        for (int32_t i = 0; i < 12; ++i) {
            EXPECT_EQ(pixelAt(image, i % 4, i / 4), i / 4 == firstStoredRow ? green : black) << height << ": " << i;
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
