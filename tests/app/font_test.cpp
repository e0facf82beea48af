#include "app/font.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "app/back_buffer.h"
#include "app/boxes.h"

namespace qv::testing {
namespace {

constexpr uint32_t kUntouched = 0x808080;

uint32_t colourAt(const BackBuffer& picture, int32_t x, int32_t y) {
    const uint8_t* pixel = picture.pixelAt(x, y);
    return uint32_t{pixel[2]} | uint32_t{pixel[1]} << 8 | uint32_t{pixel[0]} << 16;
}

BackBuffer greyPicture(int32_t width, int32_t height) {
    BackBuffer picture;
    picture.createBackBuffer(width, height, 0);
    fillBox(picture, 0, 0, width, height, kUntouched);
    return picture;
}

// The bounding box of the pixels that text changed, as [left, right) x [top, bottom).
struct Box {
    int32_t left = INT32_MAX, top = INT32_MAX, right = 0, bottom = 0;
    int black = 0, white = 0, other = 0;
};

Box changedBox(const BackBuffer& picture) {
    Box box;
    for (int32_t y = 0; y < picture.height; ++y) {
        for (int32_t x = 0; x < picture.width; ++x) {
            const uint32_t colour = colourAt(picture, x, y);
            if (colour == kUntouched) continue;
            box.left = std::min(box.left, x);
            box.top = std::min(box.top, y);
            box.right = std::max(box.right, x + 1);
            box.bottom = std::max(box.bottom, y + 1);
            colour == 0 ? ++box.black : colour == 0xFFFFFF ? ++box.white : ++box.other;
        }
    }
    return box;
}

Font hudFont() {
    FontDescription description;
    describeFont(description, "Terminal", 16);
    return Font(description);
}

// A description starts afresh, whatever it held, and a face name too long for it is cut to fit
// with its terminating zero.
TEST(DescribeFont, StartsAfreshAndCutsALongFaceName) {
    FontDescription description;
    description.weight = 700;
    description.italic = true;
    description.faceName.fill('x');
    describeFont(description, std::string(40, 'F'), 16);
    EXPECT_EQ(description.height, 16);
    EXPECT_EQ(description.weight, 400);
    EXPECT_FALSE(description.italic);
    EXPECT_EQ(std::string(description.faceName.data()), std::string(31, 'F'));
}

TEST(Font, FaceIsFoundAsAFileOrReplacedByMonospace) {
    FontDescription description;
    describeFont(description, "No Such Face At All", 16);
    Font missing(description);
    describeFont(description, "monospace", 16);
    Font monospace(description);
    Font hud = hudFont();
    ASSERT_FALSE(monospace.resolvedPath().empty());
    EXPECT_TRUE(std::filesystem::is_regular_file(monospace.resolvedPath()));
    EXPECT_EQ(missing.resolvedPath(), monospace.resolvedPath());
    EXPECT_TRUE(std::filesystem::is_regular_file(hud.resolvedPath()));
}

TEST(Font, TextIsBlackOnAWhiteLineSixteenPixelsHigh) {
    BackBuffer picture = greyPicture(120, 40);
    Font font = hudFont();
    ASSERT_TRUE(font.drawText(picture, 3, 4, "W#g"));
    const Box box = changedBox(picture);
    EXPECT_EQ(box.left, 3);
    EXPECT_EQ(box.top, 4);
    EXPECT_EQ(box.bottom - box.top, 16);
    EXPECT_GT(box.black, 0);
    EXPECT_GT(box.white, 0);
    EXPECT_EQ(box.other, 0);
    EXPECT_EQ(box.black + box.white, (box.right - box.left) * 16);  // an opaque rectangle
}

TEST(DrawContext, DrawsOnlyTheFirstCountCharacters) {
    Font font = hudFont();
    BackBuffer counted = greyPicture(200, 20);
    BackBuffer whole = greyPicture(200, 20);
    DrawContext countedContext(counted);
    DrawContext wholeContext(whole);
    countedContext.selectFont(&font);
    wholeContext.selectFont(&font);
    countedContext.textOut(0, 0, "ABCDEF", 3);
    wholeContext.textOut(0, 0, "ABC", 100);
    EXPECT_EQ(std::memcmp(counted.bits, whole.bits, static_cast<std::size_t>(counted.rowBytes()) * 20), 0);
    EXPECT_GT(changedBox(whole).black, 0);
}

TEST(DrawContext, DrawsWithAMonospaceFontWhenNoneIsSelected) {
    BackBuffer picture = greyPicture(100, 20);
    DrawContext context(picture);
    context.textOut(0, 0, "SCORE", 5);
    EXPECT_EQ(changedBox(picture).bottom, 16);
    EXPECT_GT(changedBox(picture).black, 0);
}

// Text that starts left of or above the picture, or runs over its edges, is cut at the edges.
TEST(Font, TextIsClippedAtThePictureEdges) {
    Font font = hudFont();
    BackBuffer reference = greyPicture(60, 20);
    font.drawText(reference, 0, 0, "M@");
    for (const auto& [x, y] : {std::pair{-5, -3}, std::pair{50, 12}, std::pair{INT32_MIN, INT32_MAX}}) {
        BackBuffer clipped = greyPicture(60, 20);
        EXPECT_TRUE(font.drawText(clipped, x, y, "M@"));
        for (int32_t py = 0; py < 20; ++py) {
            for (int32_t px = 0; px < 60; ++px) {
                const int64_t rx = int64_t{px} - x;
                const int64_t ry = int64_t{py} - y;
                const bool covered = rx >= 0 && ry >= 0 && rx < 60 && ry < 20;
                const uint32_t expected = covered ? colourAt(reference, static_cast<int32_t>(rx), static_cast<int32_t>(ry))
                                                  : kUntouched;
                ASSERT_EQ(colourAt(clipped, px, py), expected) << x << "," << y << " at " << px << "," << py;
            }
        }
    }
}

}  // namespace
}  // namespace qv::testing
