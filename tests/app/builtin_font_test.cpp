#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/boxes.h"
#include "app/font.h"
#include "shell_fixture.h"

namespace qv::testing {
namespace {

// What a line of text left in a grey picture: the width of its white-and-black band, and whether it
// holds ink, stays one line high and leaves the rest grey.
struct Line {
    int32_t width = 0;
    int32_t ink = 0;
    bool tidy = true;
};

Line drawnLine(std::string_view face, std::string_view text, BackBuffer& picture) {
    FontDescription description;
    describeFont(description, face, 16);
    Font font(description);
    fillBox(picture, 0, 0, picture.width, picture.height, kGrey);
    Line line;
    line.tidy = font.drawText(picture, 0, 0, text);
    while (line.width < picture.width && colourAt(picture, line.width, 0) != kGrey) ++line.width;
    for (int32_t y = 0; y < picture.height; ++y) {
        for (int32_t x = 0; x < picture.width; ++x) {
            const uint32_t colour = colourAt(picture, x, y);
            const bool inBand = x < line.width && y < 16;
            line.ink += colour == 0x000000 ? 1 : 0;
            line.tidy = line.tidy && (inBand ? colour == 0x000000 || colour == 0xFFFFFF : colour == kGrey);
        }
    }
    return line;
}

// Every font the game asks for, on a system where fontconfig offers none.
void drawWithoutAnyFont() {
    BackBuffer picture;
    picture.createBackBuffer(300, 40, 0);
    const Line score = drawnLine("Terminal", "SCORE:        123 ", picture);
    const Line bonus = drawnLine("monospace", "BONUS:  2 x 61     ", picture);
    const Line over = drawnLine("Terminal", " G A M E  O V E R ", picture);
    const bool drawn = score.ink > 100 && bonus.ink > 100 && over.ink > 50 && score.tidy && bonus.tidy && over.tidy;
    const bool fixedPitch = score.width == 18 * 12 && bonus.width == 19 * 12 && over.width == 18 * 12;
    std::_Exit(drawn && fixedPitch ? 0 : 1);
}

// With an empty font setup the score display is still there, drawn in the built-in font, and
// standard error says once that no font was found.
TEST(BuiltinFont, WithoutAnyFontTheTextIsStillDrawnAndTheLackIsSaidOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process reads the font setup anew
    const std::filesystem::path setup =
        std::filesystem::temp_directory_path() / ("qv-no-fonts-" + std::to_string(::getpid()) + ".conf");
    std::ofstream(setup) << "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n";
    setenv("FONTCONFIG_FILE", setup.c_str(), 1);
    EXPECT_EXIT(drawWithoutAnyFont(), ::testing::ExitedWithCode(0),
                ::testing::MatchesRegex("[^\n]*: no font found for \"Terminal\"[^\n]*built-in font\n"));
    unsetenv("FONTCONFIG_FILE");
    std::filesystem::remove(setup);
}

}  // namespace
}  // namespace qv::testing
