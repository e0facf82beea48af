// Where the client area sits in what the window shows, and which client pixel a mouse position is.
#include <gtest/gtest.h>

#include "app/picture_fit.h"

namespace qv {
namespace {

// The largest whole scale that fits, centred; a window of k times the client area is that area at
// scale k; an output too small keeps scale 1, centred where there is room.
TEST(PictureFit, LargestWholeScaleThatFitsCentred) {
    const struct {
        int32_t outputWidth, outputHeight;
        PictureFit fit;
    } cases[] = {
        {448, 640, {1, 0, 0}},      {896, 1280, {2, 0, 0}},       {1920, 1440, {2, 512, 80}},
        {1024, 768, {1, 288, 64}},  {3840, 2160, {3, 1248, 120}}, {1343, 1920, {2, 223, 320}},
        {500, 600, {1, 26, 0}},     {400, 300, {1, 0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fitPicture(c.outputWidth, c.outputHeight, 448, 640), c.fit)
            << c.outputWidth << " x " << c.outputHeight;
    }
    EXPECT_EQ(fitPicture(1920, 1440, 0, 640), PictureFit{});
}

// Through the offset and the scale, rounding down: a point beside the picture maps outside the
// client area on that side, as a mouse beside a window would.
TEST(PictureFit, WindowPositionsMapToClientPixelsThroughOffsetAndScale) {
    const PointMapping fullscreen{1920, 1440, 1920, 1440, fitPicture(1920, 1440, 448, 640)};
    // A Wayland output of scale 2: 1024 x 768 window units, twice the pixels each way.
    const PointMapping doubled{1024, 768, 2048, 1536, fitPicture(2048, 1536, 448, 640)};
    const PointMapping windowAtThree{1344, 1920, 1344, 1920, fitPicture(1344, 1920, 448, 640)};
    const PointMapping plain{};  // the window is the client area
    const struct {
        const char* name;
        const PointMapping& mapping;
        int32_t x, y;
        ClientPoint client;
    } cases[] = {
        {"full screen, inside", fullscreen, 912, 680, {200, 300}},
        {"full screen, first pixel", fullscreen, 512, 80, {0, 0}},
        {"full screen, last pixel", fullscreen, 1407, 1359, {447, 639}},
        {"full screen, just left and above", fullscreen, 511, 79, {-1, -1}},
        {"full screen, just right and below", fullscreen, 1408, 1360, {448, 640}},
        {"full screen, screen corner", fullscreen, 0, 0, {-256, -40}},
        {"scale-2 output, first pixel", doubled, 288, 64, {0, 0}},
        {"scale-2 output, inside", doubled, 488, 364, {200, 300}},
        {"scale-2 output, left of it", doubled, 287, 64, {-1, 0}},
        {"window at scale 3", windowAtThree, 29, 23, {9, 7}},
        {"window at scale 3, left of and above it", windowAtThree, -1, -3, {-1, -1}},
        {"plain window", plain, 5, -7, {5, -7}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(clientPointOf(c.mapping, c.x, c.y), c.client) << c.name;
    }
}

}  // namespace
}  // namespace qv
