// Presenting: the back buffer as the window's pixels, whatever their layout and the window scale,
// and only the rows asked for.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "app/presentation.h"

namespace qv {
namespace {

using Format = std::unique_ptr<SDL_PixelFormat, decltype(&SDL_FreeFormat)>;

BackBuffer randomPicture(int32_t width, int32_t height, uint32_t seed) {
    BackBuffer picture;
    picture.createBackBuffer(width, height, 0);
    std::minstd_rand random(seed);
    for (int32_t i = 0; i < picture.rowBytes() * height; ++i) picture.bits[i] = static_cast<uint8_t>(random());
    return picture;
}

// A window of `width` x `height` pixels of `format`, every byte 0xA5 to start with.
struct Window {
    Window(Uint32 pixelFormat, int32_t windowWidth, int32_t windowHeight)
        : format(SDL_AllocFormat(pixelFormat), SDL_FreeFormat), width(windowWidth), height(windowHeight) {
        pitch = width * format->BytesPerPixel + 12;  // rows padded, as surfaces may be
        pixels.assign(static_cast<std::size_t>(pitch) * height, 0xA5);
    }
    PixelDestination destination() { return {pixels.data(), pitch, width, height, format.get()}; }
    uint32_t at(int32_t x, int32_t y) const {
        uint32_t value = 0;
        std::memcpy(&value, pixels.data() + int64_t{y} * pitch + int64_t{x} * format->BytesPerPixel,
                    format->BytesPerPixel);
        return value;
    }
    uint32_t untouched() const { return format->BytesPerPixel == 4 ? 0xA5A5A5A5u : 0xA5A5u; }
    // The window pixel SDL's own conversion makes of picture pixel (x, y).
    uint32_t expected(const BackBuffer& picture, int32_t x, int32_t y) const {
        const uint8_t* pixel = picture.pixelAt(x, y);
        return SDL_MapRGB(format.get(), pixel[2], pixel[1], pixel[0]);
    }

    Format format;
    int32_t width;
    int32_t height;
    int32_t pitch = 0;
    std::vector<uint8_t> pixels;
};

// Every layout, with the processor's fastest widening where it applies, gives the pixels SDL maps,
// each a scale x scale block, for widths that end a vector step anywhere. Only the rows asked for
// reach the window, from the picture's source point and clipped to what the window shows; the
// rectangles written are reported in window pixels, and the rest of the window keeps its bytes.
TEST(CopyPictureRows, EveryLayoutAndScaleShowsTheRowsAskedForAsBlocks) {
    const Uint32 layouts[] = {SDL_PIXELFORMAT_RGB888, SDL_PIXELFORMAT_ARGB8888, SDL_PIXELFORMAT_BGR888,
                              SDL_PIXELFORMAT_RGBX8888, SDL_PIXELFORMAT_RGB565};
    const RowSpan rows[] = {{0, 1}, {3, 2}, {9, 5}};  // row 0 is above the source point, 10.. below the window
    for (const Uint32 layout : layouts) {
        for (const int32_t scale : {1, 2, 3, 4}) {
            for (const int32_t width : {1, 4, 9, 10, 11, 19, 37}) {
                SCOPED_TRACE(std::string(SDL_GetPixelFormatName(layout)) + " scale " + std::to_string(scale) +
                             " width " + std::to_string(width));
                BackBuffer picture = randomPicture(width, 12, static_cast<uint32_t>(width * scale));
                picture.srcY = 2;  // window row y shows picture row y + 2
                Window window(layout, width * scale + 5, 8 * scale);
                std::vector<std::tuple<int, int, int, int>> reported;
                for (const SDL_Rect& r : copyPictureRows(picture, window.destination(), scale, rows)) {
                    reported.emplace_back(r.x, r.y, r.w, r.h);
                }
                EXPECT_EQ(reported, (std::vector{std::tuple(0, 7 * scale, width * scale, scale),
                                                 std::tuple(0, scale, width * scale, 2 * scale)}));
                for (int32_t y = 0; y < window.height; ++y) {
                    const int32_t pictureRow = y / scale + 2;
                    const bool asked = (pictureRow >= 3 && pictureRow < 5) || pictureRow == 9;
                    for (int32_t x = 0; x < window.width; ++x) {
                        ASSERT_EQ(window.at(x, y), asked && x < width * scale
                                                       ? window.expected(picture, x / scale, pictureRow)
                                                       : window.untouched())
                            << "at " << x << "," << y;
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace qv
