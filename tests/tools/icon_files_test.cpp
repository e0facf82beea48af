// The icon generator's files for the page: PNG pictures packed into an icon file for browser tabs,
// and the picture for launchers that cut icons to a shape of their own.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cmath>
#include <set>

#include "game/game_icon.h"
#include "ico_file.h"
#include "maskable_icon.h"
#include "png_file.h"

namespace qv {
namespace {

uint32_t littleEndian(const std::vector<uint8_t>& bytes, std::size_t at, int count) {
    uint32_t value = 0;
    for (int byte = count - 1; byte >= 0; --byte) {
        value = (value << 8) | bytes.at(at + static_cast<std::size_t>(byte));
    }
    return value;
}

uint32_t bigEndian(const std::vector<uint8_t>& bytes, std::size_t at) {
    return (uint32_t{bytes.at(at)} << 24) | (uint32_t{bytes.at(at + 1)} << 16) | (uint32_t{bytes.at(at + 2)} << 8) |
           bytes.at(at + 3);
}

// The pixels of a PNG file as encodePng writes it: one IDAT chunk of unfiltered RGBA rows.
IconImage decodePng(const std::vector<uint8_t>& png) {
    IconImage picture;
    picture.width = static_cast<int32_t>(bigEndian(png, 16));
    picture.height = static_cast<int32_t>(bigEndian(png, 20));
    const std::size_t idat = 8 + 12 + 13;
    EXPECT_EQ(std::string(png.begin() + idat + 4, png.begin() + idat + 8), "IDAT");
    const uint32_t packedSize = bigEndian(png, idat);
    const std::size_t rowBytes = static_cast<std::size_t>(picture.width) * 4 + 1;
    std::vector<uint8_t> rows(rowBytes * static_cast<std::size_t>(picture.height));
    uLongf size = rows.size();
    EXPECT_EQ(uncompress(rows.data(), &size, png.data() + idat + 8, packedSize), Z_OK);
    for (std::size_t row = 0; row < static_cast<std::size_t>(picture.height); ++row) {
        EXPECT_EQ(rows[row * rowBytes], 0) << "no filter";
        picture.rgba.insert(picture.rgba.end(), rows.begin() + static_cast<std::ptrdiff_t>(row * rowBytes + 1),
                            rows.begin() + static_cast<std::ptrdiff_t>((row + 1) * rowBytes));
    }
    return picture;
}

TEST(IconFiles, TheTabIconHoldsEachSizeAsItsOwnPng) {
    std::vector<IcoPicture> pictures;
    for (const int32_t size : {16, 48, 256}) {
        pictures.push_back({size, *encodePng(makeGameIcon(size))});
    }
    const std::vector<uint8_t> file = packIco(pictures);
    EXPECT_EQ(littleEndian(file, 0, 2), 0u);
    EXPECT_EQ(littleEndian(file, 2, 2), 1u) << "an icon, not a cursor";
    ASSERT_EQ(littleEndian(file, 4, 2), 3u);
    for (std::size_t index = 0; index < pictures.size(); ++index) {
        SCOPED_TRACE(pictures[index].size);
        const std::size_t entry = 6 + 16 * index;
        const auto side = static_cast<uint32_t>(pictures[index].size % 256);  // 256 is written as 0
        EXPECT_EQ(file[entry], side);
        EXPECT_EQ(file[entry + 1], side);
        EXPECT_EQ(littleEndian(file, entry + 4, 2), 1u) << "planes";
        EXPECT_EQ(littleEndian(file, entry + 6, 2), 32u) << "bits a pixel";
        const uint32_t size = littleEndian(file, entry + 8, 4);
        const uint32_t offset = littleEndian(file, entry + 12, 4);
        ASSERT_LE(std::size_t{offset} + size, file.size());
        const std::vector<uint8_t> png(file.begin() + offset, file.begin() + offset + size);
        EXPECT_EQ(png, pictures[index].png);
        const IconImage decoded = decodePng(png);
        EXPECT_EQ(decoded.width, pictures[index].size);
        EXPECT_EQ(decoded.rgba, makeGameIcon(pictures[index].size).rgba);
    }
}

// Launchers keep at least the circle of 40% of the side around the middle: the ring must lie in it,
// centred, on an opaque white square.
TEST(IconFiles, TheLauncherIconKeepsTheRingInsideTheSafeCircle) {
    for (const int32_t size : {512, 192, 7}) {
        SCOPED_TRACE(size);
        const IconImage icon = makeMaskableIcon(size);
        ASSERT_EQ(icon.width, size);
        ASSERT_EQ(icon.height, size);
        ASSERT_EQ(icon.rgba.size(), static_cast<std::size_t>(size) * size * 4);
        int32_t left = size;
        int32_t right = -1;
        int32_t top = size;
        int32_t bottom = -1;
        std::set<uint32_t> colours;
        for (int32_t y = 0; y < size; ++y) {
            for (int32_t x = 0; x < size; ++x) {
                const uint8_t* pixel = icon.rgba.data() + (static_cast<std::size_t>(y) * size + x) * 4;
                ASSERT_EQ(pixel[3], 255);
                if (pixel[0] == 255 && pixel[1] == 255 && pixel[2] == 255) {
                    continue;
                }
                colours.insert((uint32_t{pixel[0]} << 16) | (uint32_t{pixel[1]} << 8) | pixel[2]);
                const double dx = x + 0.5 - size / 2.0;
                const double dy = y + 0.5 - size / 2.0;
                EXPECT_LE(std::hypot(dx, dy), 0.4 * size) << "at " << x << ", " << y;
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
        EXPECT_EQ(colours.size(), 6u) << "the six hues";
        EXPECT_EQ(left, size - 1 - right) << "centred across";
        EXPECT_EQ(top, size - 1 - bottom) << "centred down";
    }
}

}  // namespace
}  // namespace qv
