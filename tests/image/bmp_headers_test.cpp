#include <gtest/gtest.h>

#include "image/bmp_headers.h"

namespace qv {
namespace {

TEST(SetHeaders, GameBackgroundSize) {
    BmpInfoHeader info;
    BmpFileHeader file;
    EXPECT_EQ(setHeaders(info, &file, 384, 576, 24), 1152);
    EXPECT_EQ(info.imageSize, 663552u);
    EXPECT_EQ(file.fileSize, 663606u);
    EXPECT_EQ(file.dataOffset, 54u);
    EXPECT_EQ(file.type, BmpFileHeader::kSignature);
    EXPECT_EQ(info.size, 40u);
    EXPECT_EQ(info.planes, 1);
    EXPECT_EQ(info.bitsPerPixel, 24);
}

TEST(SetHeaders, RowsArePaddedToFourBytes) {
    BmpInfoHeader info;
    for (auto [width, rowBytes] : {std::pair{1, 4}, {4, 12}, {5, 16}, {3, 12}, {7, 24}}) {
        EXPECT_EQ(setHeaders(info, nullptr, width, 2, 24), rowBytes) << width;
        EXPECT_EQ(info.imageSize, static_cast<uint32_t>(2 * rowBytes)) << width;
    }
}

TEST(SetHeaders, EmptyPictureHasEverySizeZero) {
    BmpInfoHeader info;
    BmpFileHeader file;
    setHeaders(info, &file, 384, 576, 24);
    setEmptyHeaders(info, &file);
    EXPECT_EQ(info.width, 0);
    EXPECT_EQ(info.height, 0);
    EXPECT_EQ(info.bitsPerPixel, 1);
    EXPECT_EQ(info.imageSize, 0u);
    EXPECT_EQ(file.fileSize, 54u);
}

TEST(PictureFits, RefusesEmptyNegativeAndOversizedPictures) {
    struct Case {
        int32_t width, height;
        bool fits;
    };
    const Case cases[] = {
        {1, 1, true},          {0, 1, false},         {1, 0, false},          {-1, 5, false},
        {5, -1, false},        {4096, 21845, true},   {4096, 21846, false},   {0x7FFFFFFF, 1, false},
        {1, 0x7FFFFFFF, false}, {0x7FFFFFFF, 0x7FFFFFFF, false}, {89478485, 1, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pictureFits(c.width, c.height, 24), c.fits) << c.width << " x " << c.height;
    }
}

// The file layout: "BM" first, little-endian fields at their fixed offsets.
TEST(HeaderBytes, FieldsSitAtTheirFileOffsets) {
    BmpInfoHeader info;
    BmpFileHeader file;
    setHeaders(info, &file, 0x0102, 0x0304, 24);
    const FileHeaderBytes fileBytes = encodeFileHeader(file);
    const InfoHeaderBytes infoBytes = encodeInfoHeader(info);
    EXPECT_EQ(fileBytes[0], 'B');
    EXPECT_EQ(fileBytes[1], 'M');
    EXPECT_EQ(fileBytes[10], 54);
    EXPECT_EQ(infoBytes[0], 40);
    EXPECT_EQ(infoBytes[4], 0x02);
    EXPECT_EQ(infoBytes[5], 0x01);
    EXPECT_EQ(infoBytes[8], 0x04);
    EXPECT_EQ(infoBytes[9], 0x03);
    EXPECT_EQ(infoBytes[14], 24);
    const BmpInfoHeader decoded = decodeInfoHeader(infoBytes);
    EXPECT_EQ(decoded.width, 0x0102);
    EXPECT_EQ(decoded.imageSize, info.imageSize);
    EXPECT_EQ(decodeFileHeader(fileBytes).fileSize, file.fileSize);
}

}  // namespace
}  // namespace qv
