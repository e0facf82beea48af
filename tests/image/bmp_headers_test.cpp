#include "image/bmp_headers.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(SetHeaders, RowLengthImageAndFileSizes) {
    struct Case {
        int32_t width, height, bits, rowBytes;
        uint32_t imageSize;
    };
    for (const Case& c : {Case{384, 576, 24, 1152, 663552}, Case{5, 2, 24, 16, 32}, Case{1, 1, 24, 4, 4},
                          Case{3, 2, 8, 4, 8}, Case{0, 0, 1, 0, 0}}) {
        BmpInfoHeader info;
        BmpFileHeader file;
        EXPECT_EQ(setHeaders(info, &file, c.width, c.height, c.bits), c.rowBytes) << c.width;
        EXPECT_EQ(info.imageSize, c.imageSize) << c.width;
        EXPECT_EQ(file.fileSize, c.imageSize + 54) << c.width;
        EXPECT_EQ(file.dataOffset, 54u);
        EXPECT_EQ(info.size, 40u);
    }
}

TEST(PictureFits, RefusesEmptyNegativeAndOversizedPictures) {
    struct Case {
        int32_t width, height;
        bool fits;
    };
    for (const Case& c : {Case{1, 1, true}, Case{0, 1, false}, Case{1, 0, false}, Case{-1, 5, false},
                          Case{5, -1, false}, Case{4096, 21845, true}, Case{4096, 21846, false},
                          Case{0x7FFFFFFF, 1, false}, Case{1, 0x7FFFFFFF, false}, Case{89478485, 1, true}}) {
        EXPECT_EQ(pictureFits(c.width, c.height, 24), c.fits) << c.width << " x " << c.height;
    }
}

}  // namespace
}  // namespace qv
