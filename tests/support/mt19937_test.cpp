#include <gtest/gtest.h>

#include "support/mt19937.h"
#include "support/mt19937_twist.h"

namespace qv {
namespace {

TEST(Mt19937, KnownSequences) {
    Mt19937 generator;
    generator.seed(4357);
    EXPECT_EQ(generator.next(), 2867219139u);
    EXPECT_EQ(generator.next(), 1585203162u);
    EXPECT_EQ(generator.next(), 3113124129u);
    for (int i = 3; i < 623; ++i) generator.next();
    EXPECT_EQ(generator.next(), 589403970u);   // the 624th
    EXPECT_EQ(generator.next(), 1044672925u);  // the 625th, first of the next block

    generator.seed(0);  // reseeding restarts, and 0 is a valid seed
    EXPECT_EQ(generator.next(), 477480905u);
    EXPECT_EQ(generator.next(), 3667282373u);

    Mt19937 unseeded;  // seeds with 4357 and regenerates once more
    EXPECT_EQ(unseeded.next(), 1044672925u);
}

#if defined(__x86_64__) || defined(__i386__)
// Every vector variant matches the plain path in every word of state and block, block after block.
TEST(Mt19937, VectorVariantsMatchThePlainPathOnManySeeds) {
    std::vector<void (*)(uint32_t*, uint32_t*)> variants{twist::regenerateSse2};
    if (twist::hasAvx2()) variants.push_back(twist::regenerateAvx2);
    uint32_t seedValue = 1;
    for (int round = 0; round < 200; ++round) {
        seedValue = seedValue * 2654435761u + 0x9E3779B9u;
        Mt19937 plain;
        plain.seed(seedValue);
        for (const auto regenerate : variants) {
            Mt19937 vector = plain;
            Mt19937 reference = plain;
            for (int block = 0; block < 3; ++block) {
                twist::regeneratePlain(reference.state.data(), reference.block.data());
                regenerate(vector.state.data(), vector.block.data());
                ASSERT_EQ(reference.state, vector.state) << "seed " << seedValue;
                ASSERT_EQ(reference.block, vector.block) << "seed " << seedValue;
            }
        }
    }
}
#endif

}  // namespace
}  // namespace qv
