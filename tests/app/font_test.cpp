#include "app/font.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/boxes.h"
#include "shell_fixture.h"

namespace qv::testing {
namespace {

BackBuffer greyPicture(int32_t width, int32_t height) {
    BackBuffer picture;
    picture.createBackBuffer(width, height, 0);
    fillBox(picture, 0, 0, width, height, kGrey);
    return picture;
}

bool samePicture(const BackBuffer& a, const BackBuffer& b) {
    return std::memcmp(a.bits, b.bits, static_cast<std::size_t>(a.rowBytes()) * a.height) == 0;
}

Font fontFor(std::string_view face) {
    FontDescription description;
    describeFont(description, face, 16);
    return Font(description);
}

// What a line of text drawn at the top left of a grey picture left there: the width of its band,
// how many pixels of it are ink, and whether the band is one line (16 pixels) high, black on white,
// with the rest of the picture grey.
struct Line {
    int32_t width = 0;
    int32_t ink = 0;
    bool tidy = true;
};

Line drawnLine(std::string_view face, std::string_view text, BackBuffer& picture) {
    fillBox(picture, 0, 0, picture.width, picture.height, kGrey);
    Line line;
    line.tidy = fontFor(face).drawText(picture, 0, 0, text);
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

// A face name too long for a description is cut to fit with its terminating zero.
TEST(DescribeFont, CutsALongFaceName) {
    FontDescription description;
    description.faceName.fill('x');
    describeFont(description, std::string(40, 'F'), 16);
    EXPECT_EQ(description.height, 16);
    EXPECT_EQ(std::string(description.faceName.data()), std::string(31, 'F'));
}

// textOut draws all the characters when count is larger than the text (the game's score test
// checks a shorter count), in monospace when no font is selected; a face that cannot be found is
// replaced by monospace too.
TEST(DrawContext, DrawsTheTextInMonospaceWhenNoFontIsSelected) {
    Font monospace = fontFor("monospace");
    Font missing = fontFor("No Such Face At All");
    BackBuffer expected = greyPicture(200, 20), whole = greyPicture(200, 20), replaced = greyPicture(200, 20);
    ASSERT_TRUE(monospace.drawText(expected, 0, 0, "ABC"));
    ASSERT_TRUE(missing.drawText(replaced, 0, 0, "ABC"));
    DrawContext(whole).textOut(0, 0, "ABC", 100);
    EXPECT_FALSE(samePicture(expected, greyPicture(200, 20)));
    EXPECT_TRUE(samePicture(whole, expected));
    EXPECT_TRUE(samePicture(replaced, expected));
}

// Text is black on an opaque white rectangle one line high from its top-left corner; where that
// lies left of or above the picture, or runs over its edges, the text is cut there.
TEST(Font, TextIsBlackOnAWhiteLineSixteenPixelsHighCutAtThePictureEdges) {
    BackBuffer reference = greyPicture(60, 20);
    const Line line = drawnLine("Terminal", "W#g", reference);
    EXPECT_TRUE(line.tidy && line.width > 0 && line.ink > 0 && line.ink < line.width * 16);
    Font font = fontFor("Terminal");
    for (const auto& [x, y] : {std::pair{3, 4}, std::pair{-5, -3}, std::pair{50, 12}, std::pair{INT32_MIN, INT32_MAX}}) {
        BackBuffer moved = greyPicture(60, 20);
        EXPECT_TRUE(font.drawText(moved, x, y, "W#g"));
        for (int32_t py = 0; py < 20; ++py) {
            for (int32_t px = 0; px < 60; ++px) {
                const int64_t rx = int64_t{px} - x, ry = int64_t{py} - y;
                const bool covered = rx >= 0 && ry >= 0 && rx < 60 && ry < 20;
                ASSERT_EQ(colourAt(moved, px, py), covered ? colourAt(reference, int32_t(rx), int32_t(ry)) : kGrey)
                    << x << "," << y << " at " << px << "," << py;
            }
        }
    }
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
    setenv("FONTCONFIG_FILE", std::filesystem::absolute("no_fonts.conf").c_str(), 1);  // tests run in their folder
    EXPECT_EXIT(drawWithoutAnyFont(), ::testing::ExitedWithCode(0),
                ::testing::MatchesRegex("[^\n]*: no font found for \"Terminal\"[^\n]*built-in font\n"));
    unsetenv("FONTCONFIG_FILE");
}

}  // namespace
}  // namespace qv::testing
