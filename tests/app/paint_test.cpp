#include <gtest/gtest.h>

#include "app/boxes.h"
#include "app/font.h"
#include "app/synthetic_input.h"
#include "app/window_facts.h"
#include "shell_fixture.h"

namespace qv::testing {
namespace {

constexpr int32_t kWindowWidth = 8;
constexpr int32_t kWindowHeight = 6;

// A colour for every back buffer pixel, with different values in each channel so that a mix-up
// of channels, rows or columns shows.
uint32_t patternColour(int32_t x, int32_t y) {
    return static_cast<uint32_t>(0x10 + 16 * x) | static_cast<uint32_t>(0x20 + 8 * y) << 8 | 0xA0u << 16;
}

uint32_t colourAt(const BackBuffer& picture, int32_t x, int32_t y) {
    const uint8_t* pixel = picture.pixelAt(x, y);
    return uint32_t{pixel[2]} | uint32_t{pixel[1]} << 8 | uint32_t{pixel[0]} << 16;
}

// Paints once through the loop: the pending paint is the first message, then the loop ends.
void paintOnce(RecordingApp& app) {
    discardQueuedEvents();
    app.frameInterval = 0;
    app.idleResult = [] { return 0; };
    app.invalidate();
    app.log.clear();
    ASSERT_EQ(app.mainLoop(), 0);
    ASSERT_EQ(app.log.front(), "paint");
}

struct CopyCase {
    const char* name;
    int32_t width;
    int32_t height;
    int32_t sourceOffset;
};

void PrintTo(const CopyCase& c, std::ostream* os) { *os << c.name; }

class Painting : public ShellTest, public ::testing::WithParamInterface<CopyCase> {};

TEST_P(Painting, WindowShowsTheBackBufferFromItsSourcePointAfterTheOverlay) {
    const CopyCase& c = GetParam();
    RecordingApp app;
    setName(app, "qv-painting");
    app.windowSpec.clientWidth = kWindowWidth;
    app.windowSpec.clientHeight = kWindowHeight;
    ASSERT_EQ(app.createBackBuffer(c.width, c.height, c.sourceOffset), 1);
    ASSERT_TRUE(app.startUp(""));
    for (int32_t y = 0; y < c.height; ++y) {
        for (int32_t x = 0; x < c.width; ++x) {
            fillBox(app.backBuffer, x, y, 1, 1, patternColour(x, y));
        }
    }
    // The overlay lands on the picture before the copy, so the window must show it.
    app.drawing = [](DrawContext& context) { fillBox(context.target(), 1, 1, 1, 1, 0x00C0FFEE); };
    paintOnce(app);

    int compared = 0;
    for (int32_t y = 0; y < kWindowHeight; ++y) {
        for (int32_t x = 0; x < kWindowWidth; ++x) {
            const int32_t sx = x + c.sourceOffset;
            const int32_t sy = y + c.sourceOffset;
            if (sx < 0 || sy < 0 || sx >= c.width || sy >= c.height) continue;
            EXPECT_EQ(presentedColour(app.window, x, y), colourAt(app.backBuffer, sx, sy)) << x << "," << y;
            ++compared;
        }
    }
    EXPECT_GT(compared, 0);
    app.shutDown();
}

INSTANTIATE_TEST_SUITE_P(Sizes, Painting,
                         ::testing::Values(CopyCase{"WindowSized", kWindowWidth, kWindowHeight, 0},
                                           CopyCase{"LargerFromAnOffset", 12, 9, 2},
                                           CopyCase{"Smaller", 4, 3, 0}, CopyCase{"OddWidth", 7, 5, 0},
                                           CopyCase{"NegativeOffset", kWindowWidth, kWindowHeight, -1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Painting, WithoutBackBufferTheOverlayIsDrawnOnTheBareWindow) {
    RecordingApp app;
    setName(app, "qv-bare-paint");
    app.windowSpec.clientWidth = kWindowWidth;
    app.windowSpec.clientHeight = kWindowHeight;
    ASSERT_TRUE(app.startUp(""));
    app.drawing = [](DrawContext& context) { fillBox(context.target(), 2, 3, 1, 1, 0x00123456); };
    paintOnce(app);
    EXPECT_EQ(presentedColour(app.window, 2, 3), 0x00123456u);
    EXPECT_EQ(presentedColour(app.window, 0, 0), 0x00FFFFFFu);
    app.shutDown();
}

}  // namespace
}  // namespace qv::testing
