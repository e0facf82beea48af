#include <gtest/gtest.h>

#include <functional>

#include "image/bmp_files.h"
#include "image/bmp_image.h"

// Files the reader must refuse cleanly: result 0, an empty image, and a reason. Run under
// AddressSanitizer, these also show that no refusal reads or writes out of bounds or leaks.

namespace qv {
namespace {

using testing::Bytes;

Bytes validPalettised() { return testing::palettisedFile(3, 2, {{1, 2, 3}, {4, 5, 6}}, {0, 1, 0, 1, 1, 0}); }
Bytes validTrueColour() { return testing::trueColourFile(3, 2, std::vector<testing::Colour>(6, {9, 8, 7})); }

struct MalformedCase {
    const char* name;
    std::function<Bytes()> make;
    const char* reason;  // a part of lastError()
};

Bytes with32(Bytes bytes, std::size_t offset, uint32_t value) {
    testing::put32(bytes, offset, value);
    return bytes;
}

Bytes with16(Bytes bytes, std::size_t offset, uint32_t value) {
    testing::put16(bytes, offset, value);
    return bytes;
}

Bytes truncated(Bytes bytes, std::size_t length) {
    bytes.resize(length);
    return bytes;
}

const MalformedCase kCases[] = {
    {"empty file", [] { return Bytes{}; }, "truncated file header"},
    {"file header cut short", [] { return truncated(validTrueColour(), 13); }, "truncated file header"},
    {"info header missing", [] { return truncated(validTrueColour(), 14); }, "truncated info header"},
    {"info header cut short", [] { return truncated(validTrueColour(), 53); }, "truncated info header"},
    {"no BM signature", [] { return with16(validTrueColour(), testing::kType, 0x4142); }, "no \"BM\" signature"},
    {"core header size", [] { return with32(validTrueColour(), testing::kInfoSize, 12); }, "size is not 40"},
    {"version 5 header size", [] { return with32(validPalettised(), testing::kInfoSize, 124); }, "size is not 40"},
    {"run-length compression", [] { return with32(validPalettised(), testing::kCompression, 1); }, "compressed"},
    {"bit fields", [] { return with32(validTrueColour(), testing::kCompression, 3); }, "compressed"},
    {"16 bits", [] { return with16(validTrueColour(), testing::kBitsPerPixel, 16); }, "bit depth"},
    {"32 bits", [] { return with16(validTrueColour(), testing::kBitsPerPixel, 32); }, "bit depth"},
    {"1 bit", [] { return with16(validPalettised(), testing::kBitsPerPixel, 1); }, "bit depth"},
    {"zero width", [] { return with32(validTrueColour(), testing::kWidth, 0); }, "positive"},
    {"negative width", [] { return with32(validPalettised(), testing::kWidth, 0xFFFFFFFD); }, "positive"},
    {"zero height", [] { return with32(validPalettised(), testing::kHeight, 0); }, "positive"},
    {"top-down rows", [] { return with32(validTrueColour(), testing::kHeight, 0xFFFFFFFE); }, "positive"},
    {"most negative height", [] { return with32(validTrueColour(), testing::kHeight, 0x80000000); }, "positive"},
    {"row length beyond 32 bits", [] { return with32(validTrueColour(), testing::kWidth, 0x7FFFFFFF); }, "too large"},
    {"8-bit row length beyond 32 bits", [] { return with32(validPalettised(), testing::kWidth, 0x7FFFFFFF); },
     "too large"},
    {"image size beyond 32 bits",
     [] { return with32(with32(validTrueColour(), testing::kWidth, 70000), testing::kHeight, 70000); }, "too large"},
    {"image just over 256 MiB",
     [] { return with32(with32(validTrueColour(), testing::kWidth, 4096), testing::kHeight, 21846); }, "too large"},
    {"8-bit picture over 256 MiB once converted",
     [] { return with32(with32(validPalettised(), testing::kWidth, 65536), testing::kHeight, 1366); }, "too large"},
    {"24-bit data not right after the headers", [] { return with32(validTrueColour(), testing::kDataOffset, 58); },
     "data offset 54"},
    {"palette cut short", [] { return truncated(validPalettised(), 58); }, "truncated palette"},
    {"indices cut short", [] { return truncated(validPalettised(), validPalettised().size() - 1); },
     "truncated pixel data"},
    {"24-bit pixels cut short", [] { return truncated(validTrueColour(), 54 + 12); }, "truncated pixel data"},
    {"huge picture with no pixel data",
     [] { return with32(with32(validTrueColour(), testing::kWidth, 4096), testing::kHeight, 4096); },
     "truncated pixel data"},
    {"huge 8-bit picture with no indices",
     [] { return with32(with32(validPalettised(), testing::kWidth, 8192), testing::kHeight, 8192); },
     "truncated pixel data"},
};

class MalformedFile : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedFile, IsRefusedWithAReason) {
    testing::TempFolder folder;
    BmpImage image;
    EXPECT_EQ(image.load(folder.write("bad.bmp", GetParam().make()).c_str()), 0);
    EXPECT_FALSE(image.hasPixels());
    EXPECT_EQ(image.rowBytes, 0);
    EXPECT_EQ(image.infoHeader.imageSize, 0u);
    EXPECT_NE(image.lastError().find(GetParam().reason), std::string::npos) << image.lastError();
}

INSTANTIATE_TEST_SUITE_P(Refusals, MalformedFile, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string name = info.param.name;
    for (char& c : name) {
        c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    return name;
});

// Whatever the byte at which a file ends early, it is refused; only the whole file loads.
TEST(TruncatedFile, EveryShorterPrefixIsRefused) {
    testing::TempFolder folder;
    for (const Bytes& whole : {validPalettised(), validTrueColour()}) {
        for (std::size_t length = 0; length < whole.size(); ++length) {
            BmpImage image;
            EXPECT_EQ(image.load(folder.write("cut.bmp", truncated(whole, length)).c_str()), 0) << length;
            EXPECT_FALSE(image.hasPixels()) << length;
        }
        BmpImage image;
        EXPECT_EQ(image.load(folder.write("whole.bmp", whole).c_str()), 1) << image.lastError();
    }
}

}  // namespace
}  // namespace qv
