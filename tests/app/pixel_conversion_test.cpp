// Widening 24-bit rows to 32 bits: every path the processor runs gives the plain path's words.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "app/pixel_conversion.h"

namespace qv {
namespace {

TEST(WidenRow, EveryPathGivesThePlainWordsForEveryLengthAndStart) {
    std::minstd_rand random(5);
    // Rows end exactly where the source ends, so a read past the row would show under the sanitizer.
    for (const WideningPath path : {WideningPath::Ssse3, WideningPath::Avx2}) {
        if (!canRun(path)) {
            continue;  // the call falls back to the plain path, which the comparison cannot tell apart
        }
        for (int32_t count = 0; count <= 70; ++count) {
            for (int32_t start = 0; start < 3; ++start) {
                for (const uint32_t alpha : {0u, 0xFF000000u}) {
                    std::vector<uint8_t> source(3 * static_cast<std::size_t>(count + start));
                    for (uint8_t& byte : source) byte = static_cast<uint8_t>(random());
                    std::vector<uint32_t> plain(count + 1, 0x5A5A5A5A), fast(count + 1, 0x5A5A5A5A);
                    widenRow(source.data() + 3 * start, plain.data(), count, alpha, WideningPath::Plain);
                    widenRow(source.data() + 3 * start, fast.data(), count, alpha, path);
                    ASSERT_EQ(plain, fast) << "path " << static_cast<int>(path) << " count " << count;
                    ASSERT_EQ(fast[count], 0x5A5A5A5Au) << "nothing written past the row";
                }
            }
        }
    }
}

}  // namespace
}  // namespace qv
