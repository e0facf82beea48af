#include <gtest/gtest.h>

#include "image/bmp_files.h"
#include "image/bmp_image.h"

namespace qv {
namespace {

using testing::Bytes;
using testing::Colour;

// Picture pixel (column, row), row from the top, of a loaded image.
Colour pixelAt(const BmpImage& image, int32_t column, int32_t row) {
    const uint8_t* pixel = image.pixels.get() + (image.height() - 1 - row) * image.rowBytes + 3 * column;
    return {pixel[0], pixel[1], pixel[2]};
}

std::vector<Colour> distinctColours(std::size_t count) {
    std::vector<Colour> colours;
    for (std::size_t i = 0; i < count; ++i) {
        colours.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 7 + 1)});
    }
    return colours;
}

struct PalettisedCase {
    int32_t width;
    int32_t height;
    std::size_t paletteEntries;
};

class PalettisedLoad : public ::testing::TestWithParam<PalettisedCase> {};

// Every index picks its own palette entry, whatever the palette size and row padding.
TEST_P(PalettisedLoad, ConvertsEveryIndexThroughThePalette) {
    const auto [width, height, entries] = GetParam();
    const std::vector<Colour> palette = distinctColours(entries);
    Bytes indices;
    for (int32_t i = 0; i < width * height; ++i) {
        indices.push_back(static_cast<uint8_t>((i * 5 + 3) % entries));
    }
    testing::TempFolder folder;
    BmpImage image;
    ASSERT_EQ(image.load(folder.write("p.bmp", testing::palettisedFile(width, height, palette, indices)).c_str()), 1)
        << image.lastError();

    EXPECT_EQ(image.width(), width);
    EXPECT_EQ(image.height(), height);
    EXPECT_EQ(image.infoHeader.bitsPerPixel, 24);
    EXPECT_EQ(image.rowBytes, static_cast<int32_t>(testing::paddedToFour(3 * static_cast<std::size_t>(width))));
    EXPECT_EQ(image.fileHeader.dataOffset, 54u);  // the held picture is 24-bit, with no palette
    for (int32_t row = 0; row < height; ++row) {
        for (int32_t column = 0; column < width; ++column) {
            EXPECT_EQ(pixelAt(image, column, row), palette[indices[row * width + column]]) << column << "," << row;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(PaletteSizesAndOddWidths, PalettisedLoad,
                         ::testing::Values(PalettisedCase{3, 2, 2}, PalettisedCase{5, 3, 16}, PalettisedCase{7, 4, 256},
                                           PalettisedCase{1, 1, 2}, PalettisedCase{8, 2, 16}));

// The gap between the headers and the data offset tells the palette size; a gap of fewer than 2
// or more than 256 entries means a full palette of 256 all the same.
TEST(PaletteCount, OffsetsClaimingTooFewOrTooManyEntriesReadAFullPalette) {
    const std::vector<Colour> palette = distinctColours(256);
    const Bytes indices{0, 1, 255, 128};
    Bytes file = testing::palettisedFile(2, 2, palette, indices);
    testing::TempFolder folder;
    for (uint32_t dataOffset : {54u, 58u, 50u, 0u, 54u + 4 * 257}) {
        testing::put32(file, testing::kDataOffset, dataOffset);
        BmpImage image;
        ASSERT_EQ(image.load(folder.write("p.bmp", file).c_str()), 1) << dataOffset << ": " << image.lastError();
        EXPECT_EQ(pixelAt(image, 0, 1), palette[255]) << dataOffset;
        EXPECT_EQ(pixelAt(image, 1, 1), palette[128]) << dataOffset;
        EXPECT_EQ(pixelAt(image, 1, 0), palette[1]) << dataOffset;
    }
}

TEST(PaletteCount, EntriesTheFileDoesNotSupplyAreBlack) {
    const Bytes file = testing::palettisedFile(3, 1, distinctColours(2), {1, 2, 200});
    testing::TempFolder folder;
    BmpImage image;
    ASSERT_EQ(image.load(folder.write("p.bmp", file).c_str()), 1);
    EXPECT_EQ(pixelAt(image, 1, 0), (Colour{0, 0, 0}));
    EXPECT_EQ(pixelAt(image, 2, 0), (Colour{0, 0, 0}));
}

TEST(TrueColourLoad, ReadsPaddedRowsBottomUp) {
    const int32_t width = 5;
    const int32_t height = 3;
    const std::vector<Colour> pixels = distinctColours(width * height);
    testing::TempFolder folder;
    BmpImage image;
    ASSERT_EQ(image.load(folder.write("t.bmp", testing::trueColourFile(width, height, pixels)).c_str()), 1);
    EXPECT_EQ(image.rowBytes, 16);
    for (int32_t row = 0; row < height; ++row) {
        for (int32_t column = 0; column < width; ++column) {
            EXPECT_EQ(pixelAt(image, column, row), pixels[row * width + column]);
        }
    }
}

TEST(LoadFailure, MissingFileLeavesTheImageAsItWas) {
    testing::TempFolder folder;
    BmpImage image;
    ASSERT_EQ(image.load(folder.write("t.bmp", testing::trueColourFile(1, 1, {{1, 2, 3}})).c_str()), 1);
    EXPECT_EQ(image.load(folder.file("absent.bmp").c_str()), 0);
    EXPECT_NE(image.lastError().find("cannot open"), std::string::npos) << image.lastError();
    ASSERT_TRUE(image.hasPixels());
    EXPECT_EQ(pixelAt(image, 0, 0), (Colour{1, 2, 3}));
}

TEST(LoadFailure, ABadFileEmptiesAnImageThatHeldAPicture) {
    testing::TempFolder folder;
    BmpImage image;
    ASSERT_EQ(image.load(folder.write("t.bmp", testing::trueColourFile(1, 1, {{1, 2, 3}})).c_str()), 1);
    EXPECT_EQ(image.load(folder.write("bad.bmp", Bytes(10, 0)).c_str()), 0);
    EXPECT_FALSE(image.hasPixels());
    EXPECT_EQ(image.width(), 0);
    EXPECT_EQ(image.infoHeader.imageSize, 0u);
}

}  // namespace
}  // namespace qv
