#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "field/field_planes.h"
#include "image/bmp_image.h"
#include "image/bmp_writer.h"
#include "image/frame_target.h"
#include "image/image_layer.h"

// The committed background pictures load through our own reader, and the one players see makes a
// dark, quiet ground for bright beads. The composed frame is written to the build folder as
// composed_preview.bmp for a person to look at.

namespace qv {
namespace {

std::string sourceDir() {
    const char* dir = std::getenv("QV_SOURCE_DIR");
    return dir != nullptr ? dir : "../..";
}

// Where the composed preview goes: the build folder, found from the test program's own place
// (build/<type>/tests/image_tests) when the environment does not name it.
std::string buildDir() {
    if (const char* dir = std::getenv("QV_BINARY_DIR")) {
        return dir;
    }
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::temp_directory_path().string() : program.parent_path().parent_path().string();
}

std::string asset(const std::string& name) { return sourceDir() + "/assets/" + name; }

// Bits per pixel as the file itself declares them, before our reader converts the picture.
int fileBitDepth(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char header[30] = {};
    in.read(header, sizeof header);
    return static_cast<unsigned char>(header[28]) | static_cast<unsigned char>(header[29]) << 8;
}

TEST(Assets, BothBackgroundsLoadAndScaleToTheField) {
    for (auto [name, depth] : {std::pair{"back1_sml.bmp", 8}, {"back2_sml.bmp", 24}}) {
        EXPECT_EQ(fileBitDepth(asset(name)), depth) << name;
        BmpImage image;
        ASSERT_EQ(image.load(asset(name).c_str()), 1) << name << ": " << image.lastError();
        EXPECT_EQ(image.width(), 192);
        EXPECT_EQ(image.height(), 288);
        ASSERT_EQ(image.scale(384, 576), 1);
        EXPECT_EQ(image.rowBytes, 1152);
    }
}

TEST(Assets, ShownBackgroundIsDark) {
    BmpImage image;
    ASSERT_EQ(image.load(asset("back2_sml.bmp").c_str()), 1);
    int64_t sum = 0;
    int brightest = 0;
    for (uint32_t i = 0; i < image.infoHeader.imageSize; ++i) {
        sum += image.pixels[i];
        brightest = std::max<int>(brightest, image.pixels[i]);
    }
    EXPECT_LT(sum / image.infoHeader.imageSize, 40);
    EXPECT_LT(brightest, 96);
    EXPECT_GT(brightest, 0);  // not blank either
}

// Made-up bead tiles: a bright colour wheel, lighter for higher kinds, a highlight at row 1.
void fillBrightTiles(FieldTiles& tiles) {
    for (int32_t hue = 0; hue < kHueCount; ++hue) {
        const int32_t sector = hue / 22;
        const int32_t ramp = (hue % 22) * 255 / 21;
        const int32_t wheel[6][3] = {{255, ramp, 0},       {255 - ramp, 255, 0}, {0, 255, ramp},
                                     {0, 255 - ramp, 255}, {ramp, 0, 255},       {255, 0, 255 - ramp}};
        const int32_t* rgb = wheel[std::min(sector, 5)];
        for (int32_t kind = 0; kind < kKindCount; ++kind) {
            uint8_t* tile = tiles.data() + tileOffset(hue, kind);
            for (int32_t i = 0; i < 20; ++i) {
                const int32_t lift = i == 5 ? 160 : 12 * kind;
                tile[3 * i] = static_cast<uint8_t>(std::min(255, rgb[2] + lift));
                tile[3 * i + 1] = static_cast<uint8_t>(std::min(255, rgb[1] + lift));
                tile[3 * i + 2] = static_cast<uint8_t>(std::min(255, rgb[0] + lift));
            }
        }
    }
}

TEST(Assets, BeadsComposeOverTheShownBackground) {
    ImageLayer layer;
    SandField field;
    testing::giveEmptyPlanes(field);
    fillBrightTiles(field.tiles);
    // A pile in blended bands below a ragged surface, and a few beads still falling.
    for (int32_t y = 0; y < field.height; ++y) {
        for (int32_t x = 0; x < field.width; ++x) {
            const int32_t surface = 70 + (x * 7 % 23) - (x / 12) * 3;
            const bool falling = y < surface && (x * 31 + y * 17) % 97 == 0;
            if (y >= surface || falling) {
                field.hue[0][field.gridIndex(x, y)] = static_cast<uint8_t>((y * 2 + x / 8) % kHueCount);
                field.kind[0][field.gridIndex(x, y)] = static_cast<uint8_t>(2 + (x + y) % 4);
            }
        }
    }

    std::vector<uint8_t> back(448 * 3 * 640, 0);
    frameTarget = FrameTarget{back.data(), 448 * 3, 640};
    ASSERT_EQ(layer.reload(asset("back2_sml.bmp").c_str()), 1);
    ASSERT_EQ(layer.image.scale(384, 576), 1);
    layer.setSource(0, 0, 384, 576);
    layer.setPosition(32, 32);
    field.setOrigin(32, 32);
    layer.draw();
    field.render();

    auto pixel = [&](int32_t x, int32_t y) { return &back[(640 - 1 - y) * 448 * 3 + 3 * x]; };
    auto imagePixel = [&](int32_t x, int32_t y) { return &layer.image.pixels[(576 - 1 - y) * 1152 + 3 * x]; };
    // An empty cell shows the background, a bead its tile, and the margin stays black.
    EXPECT_TRUE(std::equal(pixel(36, 32), pixel(36, 32) + 3, imagePixel(4, 0)));
    const uint8_t* beadTile = field.tiles.data() + tileOffset((143 * 2 + 0) % kHueCount, 2 + 143 % 4);
    EXPECT_TRUE(std::equal(pixel(32, 604), pixel(32, 604) + 12, beadTile));
    EXPECT_EQ(pixel(10, 10)[0] + pixel(10, 10)[1] + pixel(10, 10)[2], 0);

    std::string error;
    EXPECT_TRUE(writeBmp24(buildDir() + "/composed_preview.bmp", 448, 640, back.data(), 448 * 3, &error)) << error;
    frameTarget = FrameTarget{};
}

}  // namespace
}  // namespace qv
