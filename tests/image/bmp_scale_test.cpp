#include <gtest/gtest.h>

#include "image/bmp_image.h"

namespace qv {
namespace {

// An image whose every pixel holds its own coordinates: blue = column, green = row, red = 7.
BmpImage coordinatePicture(int32_t width, int32_t height) {
    BmpImage image;
    image.rowBytes = setHeaders(image.infoHeader, &image.fileHeader, width, height, 24);
    image.pixels = std::make_unique<uint8_t[]>(image.infoHeader.imageSize);
    for (int32_t row = 0; row < height; ++row) {
        for (int32_t column = 0; column < width; ++column) {
            uint8_t* pixel = image.pixels.get() + (height - 1 - row) * image.rowBytes + 3 * column;
            pixel[0] = static_cast<uint8_t>(column);
            pixel[1] = static_cast<uint8_t>(row);
            pixel[2] = 7;
        }
    }
    return image;
}

// The old (column, row) that new picture pixel (column, row) came from.
std::pair<int, int> sourceOf(const BmpImage& image, int32_t column, int32_t row) {
    const uint8_t* pixel = image.pixels.get() + (image.height() - 1 - row) * image.rowBytes + 3 * column;
    EXPECT_EQ(pixel[2], 7);
    return {pixel[0], pixel[1]};
}

TEST(Scale, DoublingRepeatsEachPixelAsATwoByTwoBlock) {
    BmpImage image = coordinatePicture(2, 2);
    ASSERT_EQ(image.scale(4, 4), 1);
    EXPECT_EQ(image.width(), 4);
    EXPECT_EQ(image.height(), 4);
    EXPECT_EQ(image.rowBytes, 12);
    EXPECT_EQ(image.infoHeader.imageSize, 48u);
    for (int32_t row = 0; row < 4; ++row) {
        for (int32_t column = 0; column < 4; ++column) {
            EXPECT_EQ(sourceOf(image, column, row), std::make_pair(column / 2, row / 2));
        }
    }
}

TEST(Scale, ThreeRowsToTwoTakeRowsZeroAndOne) {
    BmpImage image = coordinatePicture(1, 3);
    ASSERT_EQ(image.scale(1, 2), 1);
    EXPECT_EQ(sourceOf(image, 0, 0), std::make_pair(0, 0));
    EXPECT_EQ(sourceOf(image, 0, 1), std::make_pair(0, 1));
}

TEST(Scale, OddWidthUpscaleStaysInsideTheOldPicture) {
    BmpImage image = coordinatePicture(3, 5);
    ASSERT_EQ(image.scale(11, 13), 1);
    for (int32_t row = 0; row < 13; ++row) {
        for (int32_t column = 0; column < 11; ++column) {
            const auto [oldColumn, oldRow] = sourceOf(image, column, row);
            EXPECT_EQ(oldColumn, column * 3 / 11);
            EXPECT_EQ(oldRow, row * 5 / 13);
        }
    }
}

TEST(Scale, RefusesEmptyImagesAndBadSizesWithoutChangingAnything) {
    BmpImage empty;
    EXPECT_EQ(empty.scale(4, 4), 0);
    BmpImage cleared = coordinatePicture(2, 2);
    cleared.clear();
    EXPECT_EQ(cleared.scale(4, 4), 0);
    EXPECT_FALSE(cleared.hasPixels());

    BmpImage image = coordinatePicture(2, 2);
    for (auto [width, height] : {std::pair{0, 4}, {4, 0}, {-3, 4}, {4, -1}, {0x7FFFFFFF, 0x7FFFFFFF}}) {
        EXPECT_EQ(image.scale(width, height), 0) << width << " x " << height;
        EXPECT_FALSE(image.lastError().empty());
        ASSERT_TRUE(image.hasPixels());
        EXPECT_EQ(image.width(), 2);
        EXPECT_EQ(sourceOf(image, 1, 1), std::make_pair(1, 1));
    }
}

}  // namespace
}  // namespace qv
