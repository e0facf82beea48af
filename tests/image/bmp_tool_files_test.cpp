#include <gtest/gtest.h>

#include "image/bmp_recipes.h"

// Pictures as players make them: files that ImageMagick writes, and files of every layout that
// common tools write, built here. Each reads to exactly the pixels that ImageMagick's own reader
// gives for it.

namespace qv {
namespace {

using namespace testing;

class ToolFiles : public InOwnFolder {
protected:
    // Loads the file at `path` and checks it against ImageMagick's reading of `reference`.
    void expectReadAsImageMagickReads(const std::string& path, const std::string& reference, const std::string& name) {
        BmpImage image;
        ASSERT_EQ(image.load(path.c_str()), 1) << name << ": " << image.lastError();
        const std::optional<ReferencePicture> expected = imageMagickReads(reference);
        ASSERT_TRUE(expected) << name << ": ImageMagick cannot read " << reference;
        EXPECT_EQ(pixelsDiffering(image, *expected), 0) << name;
    }
    std::string write(const std::string& name, const Bytes& bytes) const {
        const std::string path = in(name);
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::ssize(bytes));
        return path;
    }
};

TEST_F(ToolFiles, ImageMagickFilesReadAsImageMagickReadsThem) {
    // 37 pixels wide, so that every depth pads its rows.
    ASSERT_TRUE(runCommand("convert -size 37x23 -seed 7 plasma:fractal '" + in("photo.ppm") + "'").second)
        << "ImageMagick's convert is missing; scripts/install-deps installs it";
    const std::string alpha = "-alpha set -channel A -fx i/w +channel";
    struct Case {
        std::string options, format;
        uint32_t infoSize, bits, compression;  // what the file is, so that a change in ImageMagick shows
    };
    const Case cases[] = {
        {"", "BMP", 124, 24, kRgb},
        {"-colorspace Gray", "BMP", 108, 24, kRgb},
        {"-type Palette", "BMP", 124, 8, kRle8},
        {"-type Palette -compress None", "BMP", 124, 8, kRgb},
        {"-colors 16", "BMP", 124, 4, kRgb},
        {"-monochrome", "BMP", 108, 1, kRgb},
        {alpha, "BMP", 124, 32, kBitFields},
        {"-define bmp:subtype=RGB565", "BMP", 124, 16, kBitFields},
        {"-define bmp:subtype=RGB555", "BMP", 124, 16, kBitFields},
        {"", "BMP3", 40, 24, kRgb},
        {"-type Palette", "BMP3", 40, 8, kRle8},
        {"-colors 16", "BMP3", 40, 4, kRgb},
        {"", "BMP2", 12, 24, kRgb},
        {"-type Palette", "BMP2", 12, 8, kRgb},
        {"-colors 16", "BMP2", 12, 4, kRgb},
    };
    for (const Case& c : cases) {
        const std::string path = in("picture.bmp"), name = c.options + " " + c.format;
        ASSERT_TRUE(runCommand("convert '" + in("photo.ppm") + "' " + c.options + " '" + c.format + ":" + path + "'").second)
            << name;
        std::ifstream file(path, std::ios::binary);
        const Bytes bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        const bool core = c.infoSize == 12;
        ASSERT_EQ(std::tuple(uint32_t{bytes[kInfoSize]}, uint32_t{bytes[core ? 24 : kBits]}, core ? 0u : bytes[kCompression]),
                  std::tuple(c.infoSize, c.bits, c.compression))
            << name;
        expectReadAsImageMagickReads(path, path, name);
    }
}

// The same picture in a form that ImageMagick reads right. It misreads OS/2 2.x headers (16 bytes
// it refuses, 64 it reads with 3-byte palette entries), and refuses the alpha bit-field compression
// and palettes of more than 256 entries.
BmpRecipe imageMagickTwin(BmpRecipe recipe) {
    if (recipe.infoSize == 16 || recipe.infoSize == 64) {
        recipe.infoSize = 40;
    }
    if (recipe.compression == kAlphaBitFields) {
        recipe.compression = kBitFields;
        recipe.masks.resize(3);
    }
    if (recipe.palette.size() > 256) {
        recipe.gap += uint32_t(4 * (recipe.palette.size() - 256));
        recipe.palette.resize(256);
        recipe.coloursUsed = 256;
    }
    return recipe;
}

// Every header size with every depth it can hold, run-length and bit-field pictures, top-down rows,
// pixels after a gap, and palettes longer than their count.
TEST_F(ToolFiles, GeneratedFilesReadAsImageMagickReadsThem) {
    std::vector<std::pair<std::string, BmpRecipe>> recipes;
    const auto add = [&](const std::string& name, BmpRecipe recipe) { recipes.emplace_back(name, std::move(recipe)); };
    // Indices below `used`, with a palette of every entry the depth can index.
    const auto indexed = [](uint32_t infoSize, uint16_t bits, int32_t height = 5, int used = 0) {
        used = used > 0 ? used : 1 << bits;
        BmpRecipe recipe{.infoSize = infoSize, .height = height, .bits = bits, .palette = paletteOf(1 << bits)};
        recipe.pixels = storedRows(13, std::abs(height), bits, [&](int x, int y) { return (x * 3 + y * 5) % used; });
        return recipe;
    };
    const auto direct = [](uint32_t infoSize, uint16_t bits, uint32_t compression = kRgb,
                           std::vector<uint32_t> masks = {}, int32_t height = 5) {
        BmpRecipe recipe{.infoSize = infoSize, .height = height, .bits = bits, .compression = compression,
                         .masks = std::move(masks)};
        recipe.pixels = storedRows(13, std::abs(height), bits, [](int x, int y) { return uint32_t(x * 2654435761u ^ y * 40503u); });
        return recipe;
    };
    for (uint32_t infoSize : {12u, 16u, 40u, 52u, 56u, 64u, 108u, 124u}) {
        const std::string header = std::to_string(infoSize) + "-byte header, ";
        for (uint16_t bits : {1, 4, 8}) add(header + std::to_string(bits) + " bits", indexed(infoSize, bits));
        add(header + "24 bits", direct(infoSize, 24));
        if (infoSize != 12) {
            add(header + "16 bits", direct(infoSize, 16));
            add(header + "32 bits", direct(infoSize, 32));
        }
    }
    const std::vector<uint32_t> rgb565{0xF800, 0x07E0, 0x001F}, rgbx{0x0000FF00, 0x00FF0000, 0xFF000000};
    add("16-bit 5-6-5 fields after the header", direct(40, 16, kBitFields, rgb565));
    add("16-bit 5-6-5 fields in the header", direct(56, 16, kBitFields, rgb565));
    add("32-bit fields in an unusual order", direct(52, 32, kBitFields, rgbx));
    add("32-bit fields with alpha after the header", direct(40, 32, kAlphaBitFields, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}));
    add("32-bit fields with alpha in the header", direct(124, 32, kBitFields, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}));
    for (uint32_t infoSize : {40u, 64u, 108u}) {
        for (bool fourBits : {false, true}) {
            BmpRecipe recipe{.infoSize = infoSize, .bits = uint16_t(fourBits ? 4 : 8),
                             .compression = fourBits ? kRle4 : kRle8, .palette = paletteOf(8), .coloursUsed = 8};
            recipe.palette[0] = {0, 0, 0};  // pixels never set are black, as ImageMagick's index 0 is here
            recipe.pixels = runLengthData(fourBits);
            add(std::to_string(infoSize) + "-byte header, RLE" + (fourBits ? "4" : "8"), recipe);
        }
    }
    for (uint16_t bits : {4, 8}) add(std::to_string(bits) + "-bit rows top-down", indexed(124, bits, -5));
    add("24-bit rows top-down", direct(40, 24, kRgb, {}, -5));
    add("32-bit rows top-down", direct(108, 32, kRgb, {}, -5));
    BmpRecipe gap = indexed(124, 8);
    gap.gap = 6;
    add("8 bits with a gap before the pixels", gap);
    BmpRecipe legacyGap = indexed(40, 8);
    legacyGap.gap = 2;
    add("8 bits, 40-byte header, with a gap before the pixels", legacyGap);
    BmpRecipe afterPalette = direct(40, 24);
    afterPalette.palette = paletteOf(4), afterPalette.coloursUsed = 4;
    add("24 bits after a palette", afterPalette);
    BmpRecipe longPalette = indexed(40, 4, 5, 6);
    longPalette.coloursUsed = 6;
    add("a palette longer than its count", longPalette);
    BmpRecipe oversized = indexed(40, 8);
    oversized.palette = paletteOf(300), oversized.coloursUsed = 300;
    add("8 bits with 300 palette entries", oversized);

    for (const auto& [name, recipe] : recipes) {
        const std::string path = write("generated.bmp", bmpFrom(recipe));
        const std::string reference = write("twin.bmp", bmpFrom(imageMagickTwin(recipe)));
        expectReadAsImageMagickReads(path, reference, name);
    }
}

}  // namespace
}  // namespace qv
