#include <gtest/gtest.h>

#include "image/bmp_files.h"
#include "image/bmp_image.h"
#include "image/bmp_writer.h"

namespace qv {
namespace {

// What the writer puts out, the reader takes back unchanged, padding rows as files need.
TEST(WriteBmp24, ReadsBackThroughOurReader) {
    constexpr int32_t kWidth = 5;
    constexpr int32_t kHeight = 3;
    constexpr int32_t kSourceRowBytes = 17;  // unpadded rows with a spare byte, as any caller may hold them
    std::vector<uint8_t> rows(kSourceRowBytes * kHeight);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i] = static_cast<uint8_t>(i * 11 + 1);
    }
    testing::TempFolder folder;
    std::string error;
    ASSERT_TRUE(writeBmp24(folder.file("w.bmp"), kWidth, kHeight, rows.data(), kSourceRowBytes, &error)) << error;
    BmpImage image;
    ASSERT_EQ(image.load(folder.file("w.bmp").c_str()), 1) << image.lastError();
    ASSERT_EQ(image.rowBytes, 16);
    for (int32_t row = 0; row < kHeight; ++row) {
        EXPECT_TRUE(std::equal(rows.begin() + row * kSourceRowBytes, rows.begin() + row * kSourceRowBytes + 15,
                               image.pixels.get() + row * 16));
    }
    ASSERT_TRUE(writeBmp24(folder.file("again.bmp"), image, &error));
    BmpImage again;
    ASSERT_EQ(again.load(folder.file("again.bmp").c_str()), 1);
    EXPECT_TRUE(std::equal(image.pixels.get(), image.pixels.get() + 48, again.pixels.get()));
}

TEST(WriteBmp24, RefusesWhatItCannotWrite) {
    testing::TempFolder folder;
    const std::vector<uint8_t> rows(64);
    std::string error;
    EXPECT_FALSE(writeBmp24(folder.file("a.bmp"), 0, 2, rows.data(), 12, &error));
    EXPECT_FALSE(writeBmp24(folder.file("b.bmp"), 5, 2, rows.data(), 14, &error));  // rows shorter than 3 * width
    EXPECT_FALSE(writeBmp24(folder.file("c.bmp"), 2, 2, nullptr, 8, &error));
    EXPECT_FALSE(writeBmp24(folder.file("no/such/folder.bmp"), 2, 2, rows.data(), 8, &error));
    EXPECT_NE(error.find("cannot create"), std::string::npos) << error;
    EXPECT_FALSE(writeBmp24(folder.file("d.bmp"), BmpImage{}, nullptr));
}

}  // namespace
}  // namespace qv
