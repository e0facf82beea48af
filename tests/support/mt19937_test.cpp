#include <gtest/gtest.h>

#include "support/mt19937.h"
#include "support/mt19937_twist.h"

namespace qv {

TEST(Mt19937, KnownSequences) {
    Mt19937 generator;
    generator.seed(4357);
    for (const uint32_t expected : {2867219139u, 1585203162u, 3113124129u}) EXPECT_EQ(generator.next(), expected);
    for (int i = 3; i < 623; ++i) generator.next();
    EXPECT_EQ(generator.next(), 589403970u);   // the 624th
    EXPECT_EQ(generator.next(), 1044672925u);  // the 625th, first of the next block
    generator.seed(0);  // reseeding restarts, and 0 is a valid seed
    EXPECT_EQ(generator.next(), 477480905u);
    EXPECT_EQ(generator.next(), 3667282373u);
    EXPECT_EQ(Mt19937{}.next(), 1044672925u);  // unseeded: seeds with 4357 and regenerates once more
}

#if defined(__x86_64__) || defined(__i386__)
// Every vector variant matches the plain path in every word of state and block, block after block.
TEST(Mt19937, VectorVariantsMatchThePlainPathOnManySeeds) {
    for (const auto regenerate : {twist::regenerateSse2, twist::hasAvx2() ? twist::regenerateAvx2 : nullptr}) {
        for (uint32_t round = 0, seedValue = 1; regenerate != nullptr && round < 200; ++round) {
            seedValue = seedValue * 2654435761u + 0x9E3779B9u;
            Mt19937 plain, vector;
            plain.seed(seedValue), vector.seed(seedValue);
            for (int block = 0; block < 3; ++block) {
                twist::regeneratePlain(plain.state.data(), plain.block.data());
                regenerate(vector.state.data(), vector.block.data());
                ASSERT_TRUE(plain.state == vector.state && plain.block == vector.block) << "seed " << seedValue;
            }
        }
    }
}
#endif

}  // namespace qv
