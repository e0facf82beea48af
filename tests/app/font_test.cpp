#include "app/font.h"

#include <gtest/gtest.h>

#include <map>

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

// A face name too long for a description is cut to fit with its terminating zero.
TEST(DescribeFont, CutsALongFaceName) {
    FontDescription description;
    description.faceName.fill('x');
    describeFont(description, std::string(40, 'F'), 16);
    EXPECT_EQ(description.height, 16);
    EXPECT_EQ(std::string(description.faceName.data()), std::string(31, 'F'));
}

// textOut draws the first `count` characters (all of them when count is larger), in monospace when
// no font is selected; a face that cannot be found is replaced by monospace too.
TEST(DrawContext, DrawsTheFirstCountCharactersInMonospaceWhenNoFontIsSelected) {
    Font monospace = fontFor("monospace");
    Font missing = fontFor("No Such Face At All");
    BackBuffer expected = greyPicture(200, 20), counted = greyPicture(200, 20), whole = greyPicture(200, 20),
               replaced = greyPicture(200, 20);
    ASSERT_TRUE(monospace.drawText(expected, 0, 0, "ABC"));
    ASSERT_TRUE(missing.drawText(replaced, 0, 0, "ABC"));
    DrawContext(counted).textOut(0, 0, "ABCDEF", 3);
    DrawContext(whole).textOut(0, 0, "ABC", 100);
    EXPECT_FALSE(samePicture(expected, greyPicture(200, 20)));
    EXPECT_TRUE(samePicture(counted, expected));
    EXPECT_TRUE(samePicture(whole, expected));
    EXPECT_TRUE(samePicture(replaced, expected));
}

// Text is black on an opaque white rectangle one line (16 pixels) high from its top-left corner;
// where that lies left of or above the picture, or runs over its edges, the text is cut there.
TEST(Font, TextIsBlackOnAWhiteLineSixteenPixelsHighCutAtThePictureEdges) {
    Font font = fontFor("Terminal");
    BackBuffer reference = greyPicture(60, 20);
    ASSERT_TRUE(font.drawText(reference, 0, 0, "W#g"));
    int32_t right = 0;  // the end of the line's top row
    while (right < reference.width && colourAt(reference, right, 0) != kGrey) ++right;
    std::map<uint32_t, int> inside, outside;
    for (int32_t y = 0; y < 20; ++y) {
        for (int32_t x = 0; x < 60; ++x) ++(x < right && y < 16 ? inside : outside)[colourAt(reference, x, y)];
    }
    EXPECT_EQ(outside.size(), 1u);  // grey, untouched
    EXPECT_EQ(inside.size(), 2u);
    EXPECT_GT(inside[0x000000], 0);
    EXPECT_GT(inside[0xFFFFFF], 0);
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

}  // namespace
}  // namespace qv::testing
