// What the page's canvas is given: the back buffer's rows in canvas order, only those a paint
// changed, black where no picture pixel lies.
#include "web/canvas_picture.h"

#include <gtest/gtest.h>

#include <array>

#include "app/back_buffer.h"

namespace qv::web {
namespace {

using Rgba = std::array<uint8_t, 4>;

// Every pixel of the picture a colour of its own (for pictures up to 256 pixels a side), shifted
// by `shade` so that a new shade changes every pixel.
void paint(BackBuffer& picture, uint8_t shade) {
    for (int32_t y = 0; y < picture.height; ++y) {
        for (int32_t x = 0; x < picture.width; ++x) {
            uint8_t* pixel = picture.pixelAt(x, y);
            pixel[0] = static_cast<uint8_t>(shade);      // blue
            pixel[1] = static_cast<uint8_t>(y);          // green
            pixel[2] = static_cast<uint8_t>(x + shade);  // red
        }
    }
}

Rgba shown(const CanvasPicture& canvas, int32_t x, int32_t y) {
    const uint8_t* pixel = canvas.pixels() + (static_cast<std::size_t>(y) * canvas.width() + x) * 4;
    return {pixel[0], pixel[1], pixel[2], pixel[3]};
}

Rgba expected(int32_t x, int32_t y, uint8_t shade) {
    return {static_cast<uint8_t>(x + shade), static_cast<uint8_t>(y), shade, 255};
}

constexpr Rgba kBlack{0, 0, 0, 255};

TEST(CanvasPicture, FirstTheWholePictureThenOnlyTheRowsWritten) {
    BackBuffer picture;
    ASSERT_EQ(picture.createBackBuffer(8, 20, 0), 1);
    paint(picture, 0);
    CanvasPicture canvas;
    EXPECT_EQ(canvas.update(picture, 8, 20, {}), (std::vector<RowSpan>{{0, 20}})) << "a new canvas shows nothing yet";
    for (int32_t y = 0; y < 20; ++y) {
        for (int32_t x = 0; x < 8; ++x) {
            ASSERT_EQ(shown(canvas, x, y), expected(x, y, 0)) << x << ", " << y;
        }
    }

    // The picture changes everywhere, but only rows 5 to 7 and 19 are said to be written; the
    // parts of spans beyond the picture, and empty spans, change nothing.
    paint(picture, 100);
    EXPECT_EQ(canvas.update(picture, 8, 20, {{-4, 2}, {5, 3}, {9, 0}, {19, 30}}),
              (std::vector<RowSpan>{{5, 3}, {19, 1}}));
    for (int32_t y = 0; y < 20; ++y) {
        const bool written = (y >= 5 && y < 8) || y == 19;
        EXPECT_EQ(shown(canvas, 3, y), expected(3, y, written ? 100 : 0)) << "row " << y;
    }

    // A canvas the browser dropped is converted whole again.
    canvas.forget();
    EXPECT_EQ(canvas.update(picture, 8, 20, {}), (std::vector<RowSpan>{{0, 20}}));
    EXPECT_EQ(shown(canvas, 3, 0), expected(3, 0, 100));
}

TEST(CanvasPicture, ShowsThePictureFromItsOffsetWithBlackWhereNoPixelLies) {
    BackBuffer picture;
    ASSERT_EQ(picture.createBackBuffer(6, 6, 0), 1);
    paint(picture, 7);
    picture.srcX = 2;
    picture.srcY = -1;
    CanvasPicture canvas;
    // A canvas larger than the picture: canvas (x, y) shows picture (x + 2, y - 1).
    EXPECT_EQ(canvas.update(picture, 9, 8, {}), (std::vector<RowSpan>{{0, 8}}));
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 9; ++x) {
            const bool onPicture = x + 2 < 6 && y - 1 >= 0 && y - 1 < 6;
            ASSERT_EQ(shown(canvas, x, y), onPicture ? expected(x + 2, y - 1, 7) : kBlack) << x << ", " << y;
        }
    }
    // Picture rows 0 and 1 are canvas rows 1 and 2.
    paint(picture, 9);
    EXPECT_EQ(canvas.update(picture, 9, 8, {{0, 2}}), (std::vector<RowSpan>{{1, 2}}));
    EXPECT_EQ(shown(canvas, 0, 2), expected(2, 1, 9));
    EXPECT_EQ(shown(canvas, 0, 3), expected(2, 2, 7));

    // A new offset moves everything: the whole canvas again.
    picture.srcX = 0;
    EXPECT_EQ(canvas.update(picture, 9, 8, {{0, 1}}), (std::vector<RowSpan>{{0, 8}}));
    EXPECT_EQ(shown(canvas, 0, 1), expected(0, 0, 9));
    EXPECT_EQ(shown(canvas, 6, 1), kBlack);
}

TEST(CanvasPicture, ANewCanvasSizeOrNoPictureIsConvertedWhole) {
    BackBuffer picture;
    ASSERT_EQ(picture.createBackBuffer(4, 4, 0), 1);
    paint(picture, 1);
    CanvasPicture canvas;
    canvas.update(picture, 4, 4, {});
    EXPECT_EQ(canvas.update(picture, 3, 5, {{0, 1}}), (std::vector<RowSpan>{{0, 5}}));
    EXPECT_EQ(shown(canvas, 2, 3), expected(2, 3, 1));
    EXPECT_EQ(shown(canvas, 2, 4), kBlack);

    const BackBuffer none;
    canvas.forget();
    EXPECT_EQ(canvas.update(none, 3, 5, {}), (std::vector<RowSpan>{{0, 5}}));
    EXPECT_EQ(shown(canvas, 1, 1), kBlack);
}

}  // namespace
}  // namespace qv::web
