#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "app/boxes.h"
#include "app/font.h"
#include "helpers/synthetic_input.h"
#include "helpers/window_facts.h"
#include "shell_fixture.h"

namespace qv::testing {
namespace {

class Painting : public ShellTest {
protected:
    // A window of width x height client pixels at `scale`, painting at every pass, with a back buffer
    // of its size.
    static void prepare(RecordingApp& app, int32_t width, int32_t height, int32_t scale) {
        app.windowSpec.clientWidth = width;
        app.windowSpec.clientHeight = height;
        app.requestedScale = scale;
        app.frameInterval = 0;
        ASSERT_EQ(app.createBackBuffer(width, height, 0), 1);
    }
};

// The window shows the back buffer from its source point, with the overlay that onDraw put on it
// before the copy; at scale k the window is k times the client area and every back-buffer pixel a
// crisp k x k block. Every byte differs from its neighbours, so that a mix-up of channels, rows or
// columns shows.
TEST_F(Painting, WindowShowsTheBackBufferFromItsSourcePointAfterTheOverlay) {
    const struct {
        const char* name;
        int32_t width, height, sourceOffset, scale;
    } cases[] = {{"window sized", 8, 6, 0, 1}, {"larger, from an offset", 12, 9, 2, 2}, {"smaller", 4, 3, 0, 1},
                 {"odd width", 7, 5, 0, 3},    {"negative offset", 8, 6, -1, 1},      {"largest scale", 8, 6, 0, 8}};
    for (const auto& c : cases) {
        RecordingApp app;
        ASSERT_NO_FATAL_FAILURE(prepare(app, 8, 6, c.scale));
        ASSERT_EQ(app.createBackBuffer(c.width, c.height, c.sourceOffset), 1) << c.name;
        ASSERT_TRUE(start(app)) << c.name;
        EXPECT_EQ(std::pair(inspectWindow(app.window).clientWidth, inspectWindow(app.window).clientHeight),
                  std::pair(8 * c.scale, 6 * c.scale)) << c.name;
        for (int32_t i = 0; i < app.backBuffer.rowBytes() * c.height; ++i) {
            app.backBuffer.bits[i] = static_cast<uint8_t>(37 * i + 11);
        }
        // Painted once through the loop: the pending paint is the first message, then the loop ends.
        app.drawing = [](DrawContext& context) { fillBox(context.target(), 1, 1, 1, 1, 0x00C0FFEE); };
        app.idleResult = [] { return 0; };
        app.invalidate();
        ASSERT_EQ(app.mainLoop(), 0) << c.name;
        ASSERT_EQ(colourAt(app.backBuffer, 1, 1), 0x00C0FFEEu) << c.name;
        for (int32_t y = 0; y < 6 * c.scale; ++y) {
            for (int32_t x = 0; x < 8 * c.scale; ++x) {
                const int32_t sx = x / c.scale + c.sourceOffset;
                const int32_t sy = y / c.scale + c.sourceOffset;
                if (sx < 0 || sy < 0 || sx >= c.width || sy >= c.height) continue;
                ASSERT_EQ(presentedColour(app.window, x, y), colourAt(app.backBuffer, sx, sy))
                    << c.name << " at " << x << "," << y;
            }
        }
    }
}

// An application that hands the shell the rows it says it wrote.
class RowReportingApp : public RecordingApp {
public:
    std::vector<RowSpan> written;
    std::vector<RowSpan> takeWrittenRows() override { return std::exchange(written, {}); }
};

// After the first picture, a paint shows only the rows the application reports as written; the
// window keeps the others as they were. A window that was exposed gets the whole picture again.
TEST_F(Painting, PaintShowsTheReportedRowsUntilTheWindowIsExposed) {
    for (const int32_t scale : {1, 2}) {
        RowReportingApp app;
        ASSERT_NO_FATAL_FAILURE(prepare(app, 6, 5, scale));
        ASSERT_TRUE(start(app));  // start-up shows the whole black picture
        app.idleResult = [] { return 0; };
        const auto paintOnce = [&app] {
            app.invalidate();
            ASSERT_EQ(app.mainLoop(), 0);
        };
        const auto shows = [&app, scale](int32_t row, uint32_t colour) {
            for (int32_t y = row * scale; y < (row + 1) * scale; ++y) {
                for (int32_t x = 0; x < 6 * scale; ++x) {
                    if (presentedColour(app.window, x, y) != colour) return false;
                }
            }
            return true;
        };
        fillBox(app.backBuffer, 0, 0, 6, 5, 0x00336699);
        app.written = {{1, 2}};
        paintOnce();
        for (int32_t row = 0; row < 5; ++row) {
            EXPECT_TRUE(shows(row, row == 1 || row == 2 ? 0x00336699u : 0u)) << "scale " << scale << " row " << row;
        }
        ASSERT_TRUE(postWindowExposed(app.window));
        paintOnce();
        for (int32_t row = 0; row < 5; ++row) {
            EXPECT_TRUE(shows(row, 0x00336699u)) << "after the exposure, scale " << scale << " row " << row;
        }
    }
}

}  // namespace
}  // namespace qv::testing
